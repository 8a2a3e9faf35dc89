// Spooler side of the USB helper library, shared by the real and the simulated library.
#pragma once
#include <windows.h>

BOOL TessilIsWow64();
BOOL TessilPrinterExists(const wchar_t* printerName);
