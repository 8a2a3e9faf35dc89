// The main block: log, printer-type gate, wizard window, message loop.
#include "Application.h"
#include "Controls.h"
#include "InstallAssist.h"
#include "Lib_Error.h"
#include "Lib_Lang.h"
#include "Lib_Log.h"
#include "Lib_String.h"
#include "frmMain_VKT.h"
#include <windows.h>
#include <commctrl.h>

namespace {
// The elevated program looks for DLLs in the system directory only; Tessil.dll and
// icmp.dll are loaded by full path.
void RestrictDllSearchPath() {
    typedef BOOL(WINAPI * PFN_SetDefaultDllDirectories)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setDefault = reinterpret_cast<PFN_SetDefaultDllDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault) setDefault(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
    SetDllDirectoryW(L"");
}

// The true Windows version; GetVersionEx answers what the manifest admits to.
void WindowsVersion(DWORD& major, DWORD& minor) {
    typedef LONG(WINAPI * PFN_RtlGetVersion)(OSVERSIONINFOW*);
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    auto rtlGetVersion = reinterpret_cast<PFN_RtlGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (!rtlGetVersion || rtlGetVersion(&v) != 0) {
        v.dwMajorVersion = 0;
        v.dwMinorVersion = 0;
    }
    major = v.dwMajorVersion;
    minor = v.dwMinorVersion;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictDllSearchPath();
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
    Controls::TGdiPlus gdiplus;
    Application::Title() = L"打印驱动安装";

    const std::wstring program = ProgramPath();
    const std::wstring logFolder = ExtractFilePath(program) + L"LOG";
    ForceDirectories(logFolder);
    try {
        TLog::Init(logFolder + L"\\" + ChangeFileExt(ExtractFileName(program), L".log"));
    } catch (const std::exception& e) {
        // No log, no installation: say why and stop before any window.
        MessageBoxW(nullptr, ErrorMessageOf(e).c_str(), Application::Title().c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
    g_LogInfo = 2;
    DWORD major = 0, minor = 0;
    WindowsVersion(major, minor);
    TLog::Warn(FormatW(L"SystemVersion=%d.%d", (int)major, (int)minor));

    const std::wstring printerType = ReadProfileString(ConfigFilePath(), L"Driver01", L"PrinterType");
    TLog::Warn(FormatW(L"Printer Driver Type: %s", printerType.c_str()));

    TFormMain_VKT form;
    if (printerType == L"VKT") {
        FormMain_VKT = &form;
        try {
            form.Create(instance);
        } catch (const std::exception& e) {
            MessageBoxW(nullptr, ErrorMessageOf(e).c_str(), Application::Title().c_str(), MB_OK | MB_ICONERROR);
            return 1;
        }
        Application::SetMainWindow(form.Handle());
    } else {
        Application::Terminate();
    }

    const std::wstring title = LangText(L"Config", L"AppTitle");
    if (!title.empty()) Application::Title() = title;

    if (FormMain_VKT) form.Show();
    Application::Run();
    FormMain_VKT = nullptr;
    return 0;
}
