// Library entry points: load and unload tracing, the two COM exports, and the module-wide
// state the pages share.
#include "dllentry.h"
#include "debug.h"
#include "intrface.h"
#include <cwchar>

HINSTANCE ghInstance = nullptr;
volatile LONG g_cServerLocks = 0;
volatile LONG g_cComponents = 0;
WCHAR CurrentPrinterName[PRINTER_NAME_CCH] = L"";

bool IsChineseLangId(LANGID lang) {
    switch (lang) {
    case 0x0404:  // Taiwan
    case 0x0804:  // People's Republic of China
    case 0x0C04:  // Hong Kong SAR
    case 0x1004:  // Singapore
        return true;
    default:
        return false;
    }
}

namespace {
UserLangSource g_userLang = GetUserDefaultLangID;
}

void SetUserLangSource(UserLangSource source) { g_userLang = source ? source : GetUserDefaultLangID; }

bool UseChineseUI() { return IsChineseLangId(g_userLang()); }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInst, DWORD dwReason, LPVOID) {
    switch (dwReason) {
    case DLL_PROCESS_ATTACH: {
        DbgW(DBG_VERBOSE, L"UI:  Process attach.\r\n");
        WCHAR text[64];
        _snwprintf(text, 63, L"UI dll process id is:%d", static_cast<int>(GetCurrentProcessId()));
        text[63] = L'\0';
        DebugOutW(text);
        ghInstance = hInst;
        break;
    }
    case DLL_THREAD_ATTACH:
        DbgW(DBG_VERBOSE, L"UI:  Thread attach.\r\n");
        break;
    case DLL_THREAD_DETACH:
        DbgW(DBG_VERBOSE, L"UI:  Thread detach.\r\n");
        break;
    case DLL_PROCESS_DETACH:
        DbgW(DBG_VERBOSE, L"UI:  Process detach.\r\n");
        break;
    default:
        break;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) { return OemGetClassObject(rclsid, riid, ppv); }

STDAPI DllCanUnloadNow() { return OemCanUnloadNow(); }
