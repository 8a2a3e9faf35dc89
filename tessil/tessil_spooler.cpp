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

