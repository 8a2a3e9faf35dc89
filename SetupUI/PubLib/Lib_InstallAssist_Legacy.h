// Installing a driver package through the spooler itself: the driver files into the
// printer-driver folder, a version-3 Unidrv driver, a printer on the chosen port, and the
// label paper forms.
#pragma once
#include "InstallAssist.h"
#include <windows.h>

// The program runs on 64-bit Windows (asked of the spooler seam).
bool IsWow64();

// Copies the four file lists of the package (driver\depends\ for data files, driver\amd64\ or
// driver\x86\ for binaries) into the printer-driver folder. A missing source is logged and
// skipped; a copy that fails raises EKovrinError with the system's message.
void CopyDriverFiles(const TTDriverInfo& info);

// Adds the version-3 driver. 0 on success, else the Windows error code.
DWORD AddDriver(const TTDriverInfo& info);

// Adds the printer DriverInstanceName on PortName. 0 on success, else the Windows error code.
DWORD AddPrinterInstance(const TTDriverInfo& info);

// Deletes the four fixed label forms; returns how many were deleted (0 to 4).
int DeleteLabelForms();

// Adds every form of Driver_Forms ("name[width,height]" in millimetres, ';' between entries).
// Returns the outcome of the last entry: 1 added or already there, a Windows error code,
// or -1 when no entry reached the spooler. A width or height that is not a whole number
// raises EKovrinError.
int AddLabelForms(const TTDriverInfo& info);

// The four steps in order. 1 on success. A failure of the driver or the printer comes back
// as HRESULT_FROM_WIN32 of its Windows error code: always negative, so it can never be taken
// for the wizard's success codes 1 to 3. Errors raised by the steps pass through.
long long InstallDriverPackage(const TTDriverInfo& info);

// The Windows error code inside a result of InstallDriverPackage; 0 for success.
DWORD PackageInstallError(long long result);
