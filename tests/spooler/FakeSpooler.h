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
    std::vector<BYTE> devMode;               // stored document settings, public and private part
    std::vector<std::wstring> paperNames;    // what the driver reports for its papers
    std::vector<POINT> paperSizes;
};

struct TFakeForm {
    DWORD flags = 0;
    SIZEL size = {};
    RECTL area = {};
};

class TFakeSpooler : public ISpooler {
public:
    TFakeSpooler() = default;
    ~TFakeSpooler() override;
    TFakeSpooler(const TFakeSpooler&) = delete;
    TFakeSpooler& operator=(const TFakeSpooler&) = delete;

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
    // By call: "OpenPrinter", "GetPrinter", "SetPrinter", "DocumentProperties", "PaperNames",
    // "PaperSizes", "PrinterNames", "DefaultPrinter", "CreateDC", "StartDoc", "StartPage",
    // "EndPage", "EndDoc".
    std::map<std::wstring, DWORD> failures;

    // Printing: the default printer's name, and the page a printer DC draws on: a memory DC
    // on a page of this size, filled with kUnprintedColour until something is drawn.
    std::wstring defaultPrinter;
    SIZE pageSize = {1000, 800};
    static constexpr COLORREF kUnprintedColour = RGB(0x80, 0x40, 0x20);
    COLORREF PagePixel(int x, int y) const;
    bool PageDCDeleted() const;

    // What was asked, in order: "AddDriver", "AddPrinter", "OpenServer", "DeleteForm:<name>",
    // "AddForm:<name>", "OpenXcv:<name>", "Xcv:<command>", "OpenPrinter:<name>", "GetPrinter",
    // "SetPrinter", "DocumentProperties", "PaperNames:<device>,<port>", "PaperSizes:<device>,<port>",
    // "CreateDC:<name>", "StartDoc:<document>", "StartPage", "EndPage", "EndDoc", "AbortDoc".
    std::vector<std::wstring> calls;
    // How the last printer was opened, and the settings the last paper query was given.
    bool openedWithDefaults = false;
    std::wstring openDataType;
    bool openDevMode = false;
    DWORD openAccess = 0;
    std::vector<BYTE> capsDevMode;  // empty when the query had none
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
    DWORD GetPrinterInfo2(HANDLE printer, std::vector<BYTE>& info) override;
    DWORD SetPrinterInfo2(HANDLE printer, PRINTER_INFO_2W& info) override;
    DWORD CurrentDevMode(HANDLE printer, const std::wstring& name, std::vector<BYTE>& devMode) override;
    DWORD PaperNames(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                     std::vector<std::wstring>& names) override;
    DWORD PaperSizes(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                     std::vector<POINT>& sizes) override;
    DWORD PrinterNames(std::vector<std::wstring>& names) override;
    DWORD DefaultPrinter(std::wstring& name) override;
    DWORD CreatePrinterDC(const std::wstring& name, TDeviceContext& dc) override;
    DWORD JobStart(HDC dc, const std::wstring& documentName) override;
    DWORD PageStart(HDC dc) override;
    DWORD PageEnd(HDC dc) override;
    DWORD JobEnd(HDC dc) override;
    void JobAbort(HDC dc) override;

private:
    enum TKind { kPrinter, kServer, kXcv };
    HANDLE NewHandle(TKind kind);
    bool IsOpen(HANDLE h, TKind kind) const;
    DWORD Failure(const wchar_t* call) const;
    TFakePrinter* FindPrinter(const std::wstring& name);
    TFakePrinter* OpenedPrinter(HANDLE h);
    DWORD PaperQuery(const wchar_t* call, const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                     TFakePrinter*& printer);
    DWORD PageCall(HDC dc, const std::wstring& call, const wchar_t* failure);
    std::map<HANDLE, TKind> m_open;
    std::map<HANDLE, std::wstring> m_printerOf;  // printer handles: the printer's name
    std::map<HANDLE, DWORD> m_accessOf;
    uintptr_t m_next = 0x100;
    HBITMAP m_page = nullptr;
    const DWORD* m_pageBits = nullptr;
    HDC m_pageDC = nullptr;
};
