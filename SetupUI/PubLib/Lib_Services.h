// The seams to everything outside the process. Services() starts out holding the
// production set; tests replace single members with fakes.
#pragma once
#include <windows.h>
#include <string>

// The USB helper library (Tessil.dll) as the wizard uses it.
struct IUsbHelper {
    virtual ~IUsbHelper() = default;
    virtual int USBPrinterEnum() = 0;
    virtual std::wstring GetPrinterFileName(int index) = 0;
    virtual void ReadPrinterID(int index, std::wstring& port, std::wstring& deviceId) = 0;
    virtual bool Drv_IsWow64() = 0;
    virtual bool Drv_IsIsExistDriverInstance(const std::wstring& printerName) = 0;
    virtual void Drv_OfflineInstallPrinterDriver(const std::wstring& inf, const std::wstring& driverName,
                                                 const std::wstring& printerName, const std::wstring& portName) = 0;
};

// Facts about the user's session.
struct ISystemInfo {
    virtual ~ISystemInfo() = default;
    virtual LANGID UserDefaultLangID() = 0;
    virtual std::wstring TempPath() = 0;  // long form, with trailing backslash
};

// Time: the protocol's waits are exact; tests run them on a virtual clock.
struct IClock {
    virtual ~IClock() = default;
    virtual void Sleep(DWORD ms) = 0;
    virtual ULONGLONG TickCount() = 0;
};

// Message boxes owned by the wizard window; tests record them and answer for the user.
struct IMessageBoxes {
    virtual ~IMessageBoxes() = default;
    virtual int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) = 0;
};

// The shell's "Open" verb (the terms link).
struct IShell {
    virtual ~IShell() = default;
    virtual void Open(const std::wstring& target) = 0;
};

// Child processes whose printed output the caller reads (the network shell, the service query).
struct ICommandRunner {
    virtual ~ICommandRunner() = default;
    // Runs the command line without a window; output becomes what it printed, or stays as
    // it was when the process cannot be started.
    virtual void RunAndCapture(const std::wstring& commandLine, std::wstring& output) = 0;
};

struct ISpooler;  // Lib_Spooler.h

struct TServices {
    IUsbHelper* usb;
    ISystemInfo* system;
    IClock* clock;
    IMessageBoxes* messageBoxes;
    IShell* shell;
    ICommandRunner* commands;
    ISpooler* spooler;
};

TServices& Services();

// Production implementations, for tests that want the real one back.
IUsbHelper& ProductionUsbHelper();
ISystemInfo& ProductionSystemInfo();
IClock& ProductionClock();
IMessageBoxes& ProductionMessageBoxes();
IShell& ProductionShell();
ICommandRunner& ProductionCommandRunner();
