#include "tessil_spooler.h"
#include <winspool.h>
#include <string>
#include <vector>

BOOL TessilIsWow64() {
    BOOL wow = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow) && wow;
}

BOOL TessilPrinterExists(const wchar_t* printerName) {
    if (!printerName || !*printerName) return FALSE;
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return FALSE;
    std::vector<BYTE> buf(needed);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buf.data(), needed, &needed, &count))
        return FALSE;
    auto info = reinterpret_cast<PRINTER_INFO_4W*>(buf.data());
    for (DWORD i = 0; i < count; ++i)
        if (info[i].pPrinterName && wcscmp(info[i].pPrinterName, printerName) == 0) return TRUE;
    return FALSE;
}

namespace {
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
}  // namespace

int TessilInstallPrinter(const wchar_t* inf, const wchar_t* driverName, const wchar_t* printerName,
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
