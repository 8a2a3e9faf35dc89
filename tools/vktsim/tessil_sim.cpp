// Simulated USB helper library: lists the printers of Tessil.ini beside the DLL
// ([Printers] Count, then [PrinterN] Port, DeviceID, Path) and uses the real spooler for the rest.
#define TESSIL_BUILD
#include "../../tessil/tessil_exports.h"
#include "../../tessil/tessil_spooler.h"
#include <string>

namespace {
HMODULE g_self = nullptr;

std::wstring IniPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_self, path, MAX_PATH);
    std::wstring p(path);
    auto pos = p.find_last_of(L"\\/");
    return p.substr(0, pos + 1) + L"Tessil.ini";
}

void ReadPrinterValue(int index, const wchar_t* key, wchar_t* out, int size) {
    if (!out || size <= 0) return;
    out[0] = L'\0';
    wchar_t section[32];
    wsprintfW(section, L"Printer%d", index);
    GetPrivateProfileStringW(section, key, L"", out, (DWORD)size, IniPath().c_str());
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}

TESSIL_API int WINAPI USBPrinterEnum() {
    return (int)GetPrivateProfileIntW(L"Printers", L"Count", 0, IniPath().c_str());
}

TESSIL_API int WINAPI GetPrinterFileName(int index, wchar_t* buffer, int* size) {
    ReadPrinterValue(index, L"Path", buffer, size ? *size : 0);
    return 1;
}

TESSIL_API int WINAPI ReadPrinterID(int index, wchar_t* port, int portSize, wchar_t* deviceId, int deviceIdSize) {
    ReadPrinterValue(index, L"Port", port, portSize);
    ReadPrinterValue(index, L"DeviceID", deviceId, deviceIdSize);
    return 1;
}

TESSIL_API BOOL WINAPI Drv_IsWow64() { return TessilIsWow64(); }

TESSIL_API BOOL WINAPI Drv_IsIsExistDriverInstance(const wchar_t* printerName) {
    return TessilPrinterExists(printerName);
}

TESSIL_API int WINAPI Drv_OfflineInstallPrinterDriver(const wchar_t* inf, const wchar_t* driverName,
                                                     const wchar_t* printerName, const wchar_t* portName) {
    return TessilInstallPrinter(inf, driverName, printerName, portName);
}
