// The Windows print spooler as the installer uses it: one seam, so that the installation
// steps run against an in-memory spooler in tests. Every call addresses the local machine
// and returns 0 on success, else a nonzero Windows error code (ERROR_GEN_FAILURE when the
// system failed without leaving one, so that a failure can never read as success).
#pragma once
#include <windows.h>
#include <winspool.h>
#include <string>
#include <vector>

struct ISpooler;

// A printer, server or port-monitor handle; closed through the spooler that opened it.
class TPrinterHandle {
public:
    TPrinterHandle() = default;
    ~TPrinterHandle() { reset(); }
    TPrinterHandle(const TPrinterHandle&) = delete;
    TPrinterHandle& operator=(const TPrinterHandle&) = delete;

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    HANDLE release();
    void reset(ISpooler* owner = nullptr, HANDLE handle = nullptr);

private:
    ISpooler* m_owner = nullptr;
    HANDLE m_handle = nullptr;
};

// A device context freed with DeleteDC (a printer DC, or a memory DC standing in for one).
class TDeviceContext {
public:
    TDeviceContext() = default;
    ~TDeviceContext() { reset(); }
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;

    HDC get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }
    HDC release();
    void reset(HDC dc = nullptr);

private:
    HDC m_dc = nullptr;
};

struct ISpooler {
    virtual ~ISpooler() = default;
    // The program runs on 64-bit Windows (a 32-bit program under WOW64, or a 64-bit build).
    virtual bool IsWow64() = 0;
    // GetPrinterDriverDirectoryW for the program's own environment, level 1.
    virtual DWORD DriverDirectory(std::wstring& directory) = 0;
    // AddPrinterDriverW, level 3.
    virtual DWORD AddDriverInfo3(DRIVER_INFO_3W& info) = 0;
    // AddPrinterW, level 2; the new printer's handle goes to printer.
    virtual DWORD AddPrinterInfo2(PRINTER_INFO_2W& info, TPrinterHandle& printer) = 0;
    // OpenPrinterW; a null name opens the print server.
    virtual DWORD Open(const wchar_t* name, PRINTER_DEFAULTSW* defaults, TPrinterHandle& printer) = 0;
    virtual void Close(HANDLE printer) = 0;
    virtual DWORD DeleteFormByName(HANDLE server, const std::wstring& name) = 0;
    // AddFormW, level 1.
    virtual DWORD AddFormInfo1(HANDLE server, FORM_INFO_1W& form) = 0;
    // EnumPortsW, level 2: the port names in the spooler's order.
    virtual DWORD PortNames(std::vector<std::wstring>& names) = 0;
    // XcvDataW without an output buffer.
    virtual DWORD XcvCommand(HANDLE xcv, const wchar_t* command, const BYTE* input, DWORD inputSize, DWORD& needed,
                             DWORD& status) = 0;

    // GetPrinterW, level 2: the record with everything it points to, in one block.
    virtual DWORD GetPrinterInfo2(HANDLE printer, std::vector<BYTE>& info) = 0;
    // SetPrinterW, level 2, command 0.
    virtual DWORD SetPrinterInfo2(HANDLE printer, PRINTER_INFO_2W& info) = 0;
    // DocumentPropertiesW without a window (DM_OUT_BUFFER): the printer's current document
    // settings, in a block of the size the driver asks for.
    virtual DWORD CurrentDevMode(HANDLE printer, const std::wstring& name, std::vector<BYTE>& devMode) = 0;
    // DeviceCapabilitiesW DC_PAPERNAMES: every name the driver reports, each cut at 64 units.
    virtual DWORD PaperNames(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                             std::vector<std::wstring>& names) = 0;
    // DeviceCapabilitiesW DC_PAPERSIZE: width and length of every paper in tenths of a millimetre.
    virtual DWORD PaperSizes(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                             std::vector<POINT>& sizes) = 0;
    // EnumPrintersW of the local printers and connections: their names in the spooler's order.
    virtual DWORD PrinterNames(std::vector<std::wstring>& names) = 0;
    // GetDefaultPrinterW.
    virtual DWORD DefaultPrinter(std::wstring& name) = 0;
    // CreateDCW on the "WINSPOOL" driver for the printer.
    virtual DWORD CreatePrinterDC(const std::wstring& name, TDeviceContext& dc) = 0;
    // The print job on a printer DC: StartDocW, StartPage, EndPage, EndDoc and AbortDoc.
    virtual DWORD JobStart(HDC dc, const std::wstring& documentName) = 0;
    virtual DWORD PageStart(HDC dc) = 0;
    virtual DWORD PageEnd(HDC dc) = 0;
    virtual DWORD JobEnd(HDC dc) = 0;
    virtual void JobAbort(HDC dc) = 0;
};

// winspool itself.
ISpooler& ProductionSpooler();
