// The six functions of the USB helper library, __stdcall with undecorated export names.
#pragma once
#include <windows.h>

#ifdef TESSIL_BUILD
#define TESSIL_API extern "C" __declspec(dllexport)
#else
#define TESSIL_API extern "C" __declspec(dllimport)
#endif

TESSIL_API int WINAPI USBPrinterEnum();
TESSIL_API int WINAPI GetPrinterFileName(int index, wchar_t* buffer, int* size);
TESSIL_API int WINAPI ReadPrinterID(int index, wchar_t* port, int portSize, wchar_t* deviceId, int deviceIdSize);
TESSIL_API BOOL WINAPI Drv_IsWow64();
TESSIL_API BOOL WINAPI Drv_IsIsExistDriverInstance(const wchar_t* printerName);
TESSIL_API int WINAPI Drv_OfflineInstallPrinterDriver(const wchar_t* inf, const wchar_t* driverName,
                                                     const wchar_t* printerName, const wchar_t* portName);
