// The installation flow behind Next on the port page, the result page (outcome text, label
// defaults, paper sizes, test page), and the hidden installation.
#include "frmMain_VKT.h"
#include "InstallAssist.h"
#include "Lib_Log.h"
#include "PubLib/Lib_InstallAssist_Legacy.h"
#include "PubLib/Lib_Lang.h"
#include "PubLib/Lib_Printer.h"
#include "PubLib/Lib_Services.h"
#include "PubLib/Lib_String.h"
#include <commctrl.h>
#include <cwchar>
#include <initializer_list>

namespace {
const long long kSignatureNoAuthorization = -2147483647;  // 0x80000001

// Fills the texts' placeholders (%d, %s) in order with the given values. The texts come from a
// file the user can edit, so they are never used as a printf format.
std::wstring FillText(const std::wstring& text, std::initializer_list<std::wstring> values) {
    std::wstring out;
    auto next = values.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && (text[i + 1] == L'd' || text[i + 1] == L's') &&
            next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::wstring Finished(const wchar_t* key) { return LangText(L"InstallFinished", key); }

// The number at the start of a text, 0 when there is none.
int NumberOf(const std::wstring& s) { return (int)wcstol(s.c_str(), nullptr, 10); }

// "name|width|length" split at the bars.
std::vector<std::wstring> PaperParts(const std::wstring& item) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : item) {
        if (c == L'|')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}
}  // namespace

std::wstring InstallResultText(long long code, const std::wstring& printerName, const std::wstring& portName) {
    switch (code) {
    case 1: return FillText(Finished(L"InstallationOK_ss"), {printerName, portName});
    case 2: return FillText(Finished(L"InstallationOK2_ss"), {printerName, portName});
    case 3: return FillText(Finished(L"InstallationOK3_ss"), {printerName, portName});
    }
    const long low = (long)(int)(unsigned)(code & 0xFFFFFFFF);
    if (low == -1) {
        const DWORD lastError = GetLastError();
        return FillText(Finished(L"InstallationProcessError_d"), {std::to_wstring(lastError)});
    }
    if (low == -2) return Finished(L"AddingPrintDriverFailed");
    if (low == kSignatureNoAuthorization) return Finished(L"SignatureNoAuthorization");
    // A package installation's failure: a Windows error code, never one of the success codes.
    if (HRESULT_FACILITY((HRESULT)low) == FACILITY_WIN32 && low < 0)
        return FillText(Finished(L"InstallationProcessError_d"), {std::to_wstring(PackageInstallError(code))});
    return FillText(Finished(L"UnknowError"), {std::to_wstring(low)});
}

void TFormMain_VKT::SetProgress(int position) {
    SendMessageW(Control(IDC_pb04_Installing), PBM_SETPOS, position, 0);
}

// Continues the Next click of the port page once the printer name has been accepted.
void TFormMain_VKT::RunInstallation() {
    SetText(IDC_lbl04_StepInfo, L"");

    const TTDriverInfo* found = nullptr;
    for (const TTDriverInfo& r : g_DriverInfo)
        if (r.VKT_DPI == m_dpi) {
            found = &r;
            break;
        }
    if (!found) {
        ShowMessage(FillText(LangText(L"Notice_VKT", L"IncorrectResolution_d"), {std::to_wstring(m_dpi)}),
                    LangText(L"Notice", L"Error_Title"));
        return;
    }

    SetProgress(10);
    TTDriverInfo info = *found;
    info.VKT_DPI = m_dpi;
    info.DriverInstanceName = Text(IDC_edt03_PrinterDriverName);

    if (Checked(IDC_rb03_WiFi)) {
        // Entry point of the Wi-Fi set-up, which settles the network port (not built yet): the
        // installation never goes on without a settled port, the user is back on the port page.
        ShowPage(pgPort);
        pgc1Change();
        return;
    }
    info.PortName = m_VKTPrinter.empty() ? std::wstring() : m_VKTPrinter[0].Port;
    TLog::Info(FormatW(L"已选择USB，端口：%s", info.PortName.c_str()));

    SetProgress(30);
    SetText(IDC_lbl04_Title, LangText(L"UI_VKT", L"lbl04_Title_02"));
    SetEnabled(IDC_btn_Next, false);
    TLog::Info(FormatW(L"准备安装打印驱动：%s", info.DriverName.c_str()));

    const long long code = info.DriverInstallType == 1 ? InstallDriverPackage(info) : InstallDriverCopy(info);
    TLog::Info(FormatW(L"已安装打印驱动（%d），实例名称：%s", (int)code, info.DriverInstanceName.c_str()));

    SetProgress(90);
    ShowInstallResult(info.DriverInstanceName, info.PortName, code);
    SetProgress(99);
    if (InstallSucceeded(code)) FillPaperSizes();
    SetProgress(100);
}

void TFormMain_VKT::ShowInstallResult(const std::wstring& printerName, const std::wstring& portName,
                                      long long code) {
    ShowPage(pgResult);
    pgc1Change();
    const std::wstring text = InstallResultText(code, printerName, portName);
    if (!InstallSucceeded(code)) {
        TLog::Info(L"驱动安装失败：" + text);
        ShowMessage(text, LangText(L"Notice", L"Error_Title"));
        return;
    }
    SetText(IDC_lbl05_StepInfo, text);
    HWND box = Control(IDC_cbb05_PrinterName);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    SendMessageW(box, CB_ADDSTRING, 0, (LPARAM)printerName.c_str());
    SendMessageW(box, CB_SETCURSEL, 0, 0);
    TLog::Info(L"驱动安装成功，设置默认参数：2 2 5");
    SetPrinterDefaults(printerName, 2, 2, 5);
}

void TFormMain_VKT::FillPaperSizes() {
    HWND box = Control(IDC_cbb05_PaperSize);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    std::vector<std::wstring> list;
    int current = GetPaperSizes(Text(IDC_cbb05_PrinterName), list);
    for (const std::wstring& item : list) SendMessageW(box, CB_ADDSTRING, 0, (LPARAM)PaperParts(item)[0].c_str());
    if (list.empty()) return;
    if (current < 0 || current >= (int)list.size()) current = 0;
    SendMessageW(box, CB_SETCURSEL, current, 0);
    // The test page prints on the paper selected now, whatever is chosen later.
    const std::vector<std::wstring> parts = PaperParts(list[current]);
    m_tags[IDC_lbl05_PaperSize] = parts.size() > 1 ? NumberOf(parts[1]) : 0;
    m_tags[IDC_cbb05_PaperSize] = parts.size() > 2 ? NumberOf(parts[2]) : 0;
}

void TFormMain_VKT::btn05_TestPageClick() {
    PrintTestPage(Text(IDC_cbb05_PrinterName), L"This is a test printout from your ", L"Ondrix printer.",
                  m_tags[IDC_lbl05_PaperSize], m_tags[IDC_cbb05_PaperSize], 28);
}

// Ctrl + double-click on the left picture: installs the package of the first driver section
// on USB001 at 300 dpi, on the spot; nothing is shown.
void TFormMain_VKT::img1DblClick() {
    if (GetKeyState(VK_CONTROL) >= 0 || g_DriverInfo.empty()) return;
    TTDriverInfo info = g_DriverInfo[0];
    info.VKT_DPI = 300;
    info.DriverInstanceName = Text(IDC_edt03_PrinterDriverName);
    info.PortName = L"USB001";
    InstallDriverPackage(info);
}
