// Simulated USB helper library: lists the printers of Tessil.ini beside the DLL
// ([Printers] Count, then [PrinterN] Port, DeviceID, Path) and uses the real spooler for the rest.
#define TESSIL_BUILD
#include "../../tessil/tessil_exports.h"
#include "../../tessil/tessil_spooler.h"
#include <winspool.h>
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

// The simulated package names its files in the INF's [Kovrin] section; the real
// library installs through the system's INF handling instead.
std::wstring FolderOf(const std::wstring& path) {
    auto pos = path.find_last_of(L"\\/");
    return pos == std::wstring::npos ? std::wstring() : path.substr(0, pos);
}

// Reads "key = value" from the INF's [Kovrin] section, where the package names its files.
std::wstring InfValue(const wchar_t* inf, const wchar_t* key) {
    wchar_t buf[512] = {};
    GetPrivateProfileStringW(L"Kovrin", key, L"", buf, 512, inf);
    return buf;
}
int SimInstallPrinter(const wchar_t* inf, const wchar_t* driverName, const wchar_t* printerName,
                         const wchar_t* portName) {
    if (!inf || !driverName || !printerName || !portName) return ERROR_INVALID_PARAMETER;
    std::wstring folder = FolderOf(inf);
    std::wstring driverFile = folder + L"\\" + InfValue(inf, L"DriverFile");
    std::wstring dataFile = folder + L"\\" + InfValue(inf, L"DataFile");
    std::wstring configFile = folder + L"\\" + InfValue(inf, L"ConfigFile");

    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = const_cast<wchar_t*>(driverName);
    di.pDriverPath = &driverFile[0];
    di.pDataFile = &dataFile[0];
    di.pConfigFile = &configFile[0];
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&di), APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return (int)GetLastError();

    PRINTER_INFO_2W pi = {};
    pi.pPrinterName = const_cast<wchar_t*>(printerName);
    pi.pPortName = const_cast<wchar_t*>(portName);
    pi.pDriverName = const_cast<wchar_t*>(driverName);
    pi.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    pi.pDatatype = const_cast<wchar_t*>(L"RAW");
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
    if (!h) return (int)GetLastError();
    ClosePrinter(h);
    return 0;
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
    return SimInstallPrinter(inf, driverName, printerName, portName);
}
