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
};

// winspool itself.
ISpooler& ProductionSpooler();
