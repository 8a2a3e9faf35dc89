// An in-memory spooler that keeps what the installer submits and refuses what a real one
// refuses (a second printer of a name, a second form of a name), plus injectable failures.
#pragma once
#include "Lib_Spooler.h"
#include <map>
#include <set>
#include <string>
#include <vector>

struct TFakeDriver {
    DWORD version = 0;
    std::wstring name, environment, driverPath, dataFile, configFile, helpFile, monitor, dataType;
    std::vector<std::wstring> dependents;  // the multi-string, name by name
    size_t dependentChars = 0;             // its characters up to the closing empty name
};

struct TFakePrinter {
    std::wstring name, port, driver, processor, dataType;
    DWORD attributes = 0;
    bool restEmpty = false;  // every other field null or zero
};

struct TFakeForm {
    DWORD flags = 0;
    SIZEL size = {};
    RECTL area = {};
};

class TFakeSpooler : public ISpooler {
public:
    // What the spooler holds; tests may fill it beforehand.
    bool wow64 = true;
    std::wstring driverDirectory;
    std::vector<TFakeDriver> drivers;
    std::vector<TFakePrinter> printers;
    std::map<std::wstring, TFakeForm> forms;
    std::vector<std::wstring> ports;

    // Failures to inject (0: the call works).
    DWORD driverDirectoryError = 0;
    DWORD addDriverError = 0;
    int serverOpenFailures = 0;  // so many server opens fail with ERROR_ACCESS_DENIED
    DWORD xcvOpenError = 0;
    DWORD xcvCallError = 0;
    DWORD portListError = 0;
    std::map<std::wstring, DWORD> addFormErrors;  // by form name

    // What was asked, in order: "AddDriver", "AddPrinter", "OpenServer", "DeleteForm:<name>",
    // "AddForm:<name>", "OpenXcv:<name>", "Xcv:<command>".
    std::vector<std::wstring> calls;
    DWORD xcvAccess = 0;
    std::vector<std::vector<BYTE>> xcvInputs;
    size_t OpenHandles() const { return m_open.size(); }

    bool IsWow64() override { return wow64; }
    DWORD DriverDirectory(std::wstring& directory) override;
    DWORD AddDriverInfo3(DRIVER_INFO_3W& info) override;
    DWORD AddPrinterInfo2(PRINTER_INFO_2W& info, TPrinterHandle& printer) override;
    DWORD Open(const wchar_t* name, PRINTER_DEFAULTSW* defaults, TPrinterHandle& printer) override;
    void Close(HANDLE printer) override;
    DWORD DeleteFormByName(HANDLE server, const std::wstring& name) override;
    DWORD AddFormInfo1(HANDLE server, FORM_INFO_1W& form) override;
    DWORD PortNames(std::vector<std::wstring>& names) override;
    DWORD XcvCommand(HANDLE xcv, const wchar_t* command, const BYTE* input, DWORD inputSize, DWORD& needed,
                     DWORD& status) override;

private:
    enum TKind { kPrinter, kServer, kXcv };
    HANDLE NewHandle(TKind kind);
    bool IsOpen(HANDLE h, TKind kind) const;
    std::map<HANDLE, TKind> m_open;
    uintptr_t m_next = 0x100;
};
