// About page: version text once at start, the logo on every paint.
#include "aboutpage.h"
#include "debug.h"
#include "devmode.h"
#include "dllentry.h"
#include "handles.h"
#include "resource.h"
#include <vector>

namespace {

const DWORD UISETTING_CCH = 256;

class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~TSelection() { SelectObject(m_dc, m_old); }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

std::wstring PrinterDriverDirectory() {
    // 256 bytes covers the usual directory; a longer one is asked for at its own size.
    std::vector<BYTE> buffer(256);
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, buffer.data(), static_cast<DWORD>(buffer.size()),
                                    &needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size())
            return std::wstring();
        buffer.assign(needed, 0);
        if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, buffer.data(), needed, &needed))
            return std::wstring();
    }
    return std::wstring(reinterpret_cast<PCWSTR>(buffer.data()));
}

}  // namespace

std::wstring ReadUISetting(PCWSTR printerName, PCWSTR key) {
    WCHAR dataFile[DATA_FILE_CCH] = L"";
    if (!FindDriverDataFile(printerName, dataFile))
        return std::wstring();
    WCHAR value[UISETTING_CCH] = L"";
    GetPrivateProfileStringW(L"UISettings", key, L"", value, UISETTING_CCH, dataFile);
    return value;
}

std::wstring LogoPath(PCWSTR printerName) {
    return PrinterDriverDirectory() + L"\\3\\" + ReadUISetting(printerName, L"Logo");
}

bool DrawLogoFile(HDC hdc, PCWSTR path) {
    TBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP info = {};
    if (!bitmap.get() || !GetObjectW(bitmap.get(), sizeof(info), &info)) {
        DbgW(DBG_WARNING, L"UI:  DrawLogo: no bitmap at [%ls]\r\n", path);
        return false;
    }
    TMemoryDC memory(CreateCompatibleDC(hdc));
    if (!memory.get())
        return false;
    TSelection selected(memory.get(), bitmap.get());
    StretchBlt(hdc, LOGO_X, LOGO_Y, info.bmWidth, info.bmHeight, memory.get(), 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    return true;
}

void DrawLogo(HDC hdc) {
    try {
        DrawLogoFile(hdc, LogoPath(CurrentPrinterName).c_str());
    } catch (...) {
        // Out of memory while building the path: the page shows without its logo.
    }
}

INT_PTR CALLBACK DLGProc_AboutPage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG:
        DbgW(DBG_VERBOSE, L"UI:  pageclbk DLGProc_AboutPage WM_INITDIALOG [%ls] entry.\r\n", CurrentPrinterName);
        try {
            SetDlgItemTextW(hDlg, IDC_ABOUT_VERSION, ReadUISetting(CurrentPrinterName, L"Ver").c_str());
        } catch (...) {
            SetDlgItemTextW(hDlg, IDC_ABOUT_VERSION, L"");
        }
        break;
    case WM_PAINT: {
        DbgW(DBG_VERBOSE, L"UI:  pageclbk DLGProc_AboutPage WM_PAINT [%ls] entry.\r\n", CurrentPrinterName);
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hDlg, &ps);
        if (hdc)
            DrawLogo(hdc);
        EndPaint(hDlg, &ps);
        break;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<LPNMHDR>(lParam);
        if (header && (header->code == PSN_APPLY || header->code == PSN_KILLACTIVE))
            SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);
        break;
    }
    default:
        // WM_HELP, WM_CONTEXTMENU and WM_COMMAND have nothing to do here.
        break;
    }
    return FALSE;
}
