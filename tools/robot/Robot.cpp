#include "Robot.h"
#include "frmMain_VKT_Controls.h"
#include <objidl.h>
#include <gdiplus.h>
#include <memory>

namespace Robot {
namespace {
struct TFindId {
    int id;
    HWND found;
};
BOOL CALLBACK FindIdProc(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<TFindId*>(lp);
    if (GetDlgCtrlID(hwnd) == f->id) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct TFindTop {
    const std::wstring* caption;
    const wchar_t* cls;
    DWORD pid;
    HWND found;
};
BOOL CALLBACK FindTopProc(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<TFindTop*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (f->pid && pid != f->pid) return TRUE;
    if (!IsWindowVisible(hwnd)) return TRUE;
    wchar_t buf[256] = {};
    if (f->cls) {
        GetClassNameW(hwnd, buf, 256);
        if (wcscmp(buf, f->cls) != 0) return TRUE;
    }
    if (f->caption) {
        GetWindowTextW(hwnd, buf, 256);
        if (*f->caption != buf) return TRUE;
    }
    f->found = hwnd;
    return FALSE;
}

HWND WaitForTop(const std::wstring* caption, const wchar_t* cls, DWORD pid, DWORD timeoutMs) {
    TFindTop f = {caption, cls, pid, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindTopProc, (LPARAM)&f);
            return f.found != nullptr;
        },
        timeoutMs);
    return f.found;
}

LPARAM Centre(HWND control) {
    RECT rc;
    GetClientRect(control, &rc);
    return MAKELPARAM(rc.right / 2, rc.bottom / 2);
}

bool PngEncoder(CLSID& clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (size == 0) return false;
    std::vector<char> buf(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}
}  // namespace

HWND Find(HWND root, int id) {
    TFindId f = {id, nullptr};
    EnumChildWindows(root, FindIdProc, (LPARAM)&f);
    return f.found;
}

HWND Find(HWND root, const wchar_t* name) {
    const TControlDef* d = FindControlDef(name);
    return d ? Find(root, d->id) : nullptr;
}

HWND WaitForWindow(const std::wstring& caption, DWORD pid, DWORD timeoutMs) {
    return WaitForTop(&caption, nullptr, pid, timeoutMs);
}

std::wstring Text(HWND control) {
    // WM_GETTEXT reaches controls of other processes too.
    wchar_t buf[2048] = {};
    SendMessageTimeoutW(control, WM_GETTEXT, 2048, (LPARAM)buf, SMTO_ABORTIFHUNG, 5000, nullptr);
    return buf;
}
bool Enabled(HWND control) { return control && IsWindowEnabled(control); }
bool Visible(HWND control) { return control && IsWindowVisible(control); }
bool Checked(HWND control) { return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<std::wstring> Items(HWND control) {
    wchar_t cls[64] = {};
    GetClassNameW(control, cls, 64);
    const bool list = _wcsicmp(cls, L"ListBox") == 0;
    const int n = (int)SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    std::vector<std::wstring> out;
    for (int i = 0; i < n; ++i) {
        std::wstring s((size_t)SendMessageW(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, i, (LPARAM)&s[0]);
        s.resize(wcslen(s.c_str()));
        out.push_back(s);
    }
    return out;
}

bool Click(HWND control) {
    if (!Visible(control) || !Enabled(control)) return false;
    const LPARAM at = Centre(control);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
    return true;
}

bool DoubleClick(HWND control) {
    if (!Visible(control) || !Enabled(control)) return false;
    const LPARAM at = Centre(control);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
    SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
    return true;
}

void PostClick(HWND control) {
    const LPARAM at = Centre(control);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

bool Type(HWND edit, const std::wstring& text) {
    if (!Visible(edit) || !Enabled(edit)) return false;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
    return true;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool Screenshot(HWND window, const std::wstring& pngFile) {
    RECT rc;
    GetClientRect(window, &rc);
    const int w = rc.right, h = rc.bottom;
    if (w <= 0 || h <= 0) return false;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC screen = GetDC(window);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    bool ok = false;
    {
        Gdiplus::Bitmap image(bmp, nullptr);
        CLSID png;
        ok = PngEncoder(png) && image.Save(pngFile.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(window, screen);
    return ok;
}

int TMessageBoxRecorder::Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    boxes.push_back(TMessageBox{owner, text, caption, type});
    return answer;
}

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs) { return WaitForTop(nullptr, L"#32770", pid, timeoutMs); }

TMessageBox ReadMessageBox(HWND box) {
    TMessageBox m;
    m.owner = GetWindow(box, GW_OWNER);
    m.caption = Text(box);
    m.text = Text(GetDlgItem(box, 0xFFFF));  // the message text's static
    return m;
}

void AnswerMessageBox(HWND box, int button) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }
}  // namespace Robot
