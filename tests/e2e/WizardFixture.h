// The wizard window in this process, driven by the UI robot, against the printer simulator
// and the simulated Tessil.dll. The window, its controls and the clicks are real; message
// boxes go to a recorder, the waits to a virtual clock.
#pragma once
#include "Lib_Services.h"
#include "Lib_Tessil.h"
#include "Lib_UsbPrinter.h"
#include "Robot.h"
#include "TestUtil.h"
#include "frmMain_VKT.h"
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Where the built programs are, seen from the test program's folder.
std::wstring BuiltFile(const std::wstring& relative);

// vktsim.exe serving one scenario on a pipe of its own until it is stopped.
class TSimulatorProcess {
public:
    explicit TSimulatorProcess(const std::string& scenario);
    ~TSimulatorProcess();
    TSimulatorProcess(const TSimulatorProcess&) = delete;
    TSimulatorProcess& operator=(const TSimulatorProcess&) = delete;
    const std::wstring& Pipe() const { return m_pipe; }
    // How many times the printer was sent this command (status, resolution, ...).
    int CommandCount(const std::string& name);

private:
    TTempDir m_dir;
    std::wstring m_pipe;
    HANDLE m_process = nullptr;
};

// One printer as the simulated Tessil.dll lists it.
struct TUsbEntry {
    std::wstring port;
    std::wstring deviceId;
    std::wstring path;
};

// The wait a flow asked for, with what the window showed at that moment.
struct TPause {
    DWORD ms;
    bool nextEnabled;
    bool busyVisible;
};

class TPauseClock : public IClock {
public:
    void Sleep(DWORD ms) override;
    ULONGLONG TickCount() override { return now; }
    ULONGLONG now = 1000000;
    HWND window = nullptr;
    std::vector<TPause> pauses;
};

// Real device I/O, with each read's wait cut short: the simulator keeps the pipe open, so
// the read that ends a reply would otherwise take its whole time-out.
class TQuickUsbChannel : public IPrinterChannel {
public:
    bool Open(const std::wstring& path) override { return m_usb.Open(path); }
    DWORD Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) override;
    DWORD Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) override;
    void Close() override { m_usb.Close(); }

private:
    TUsbDeviceChannel m_usb;
};

class TShellRecorder : public IShell {
public:
    void Open(const std::wstring& target) override { opened.push_back(target); }
    std::vector<std::wstring> opened;
};

class TTempFolder : public ISystemInfo {
public:
    explicit TTempFolder(std::wstring path) : m_path(std::move(path)) {}
    LANGID UserDefaultLangID() override { return 0x0409; }
    std::wstring TempPath() override { return m_path; }

private:
    std::wstring m_path;
};

// The simulated helper library, with printers that exist in the spooler added by the test.
class TUsbHelperWithPrinters : public IUsbHelper {
public:
    explicit TUsbHelperWithPrinters(const std::wstring& dll) : m_lib(dll) {}
    int USBPrinterEnum() override { return m_lib.USBPrinterEnum(); }
    std::wstring GetPrinterFileName(int index) override { return m_lib.GetPrinterFileName(index); }
    void ReadPrinterID(int index, std::wstring& port, std::wstring& deviceId) override {
        m_lib.ReadPrinterID(index, port, deviceId);
    }
    bool Drv_IsWow64() override { return m_lib.Drv_IsWow64(); }
    bool Drv_IsIsExistDriverInstance(const std::wstring& name) override {
        return installed.count(name) > 0 || m_lib.Drv_IsIsExistDriverInstance(name);
    }
    void Drv_OfflineInstallPrinterDriver(const std::wstring& inf, const std::wstring& driverName,
                                         const std::wstring& printerName, const std::wstring& portName) override {
        m_lib.Drv_OfflineInstallPrinterDriver(inf, driverName, printerName, portName);
    }
    std::set<std::wstring> installed;

private:
    TTessilLibrary m_lib;
};

extern const char* const kDemoIni;

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program folder's files; call before Open().
    void WriteIni(const std::string& text);
    void SetPrinters(const std::vector<TUsbEntry>& printers);
    // Creates and shows the window.
    void Open();

    HWND Ctl(const wchar_t* name) { return Robot::Find(form->Handle(), name); }
    bool PageShowing(const wchar_t* page) { return Robot::Visible(Ctl(page)); }
    std::wstring LogText();
    // Pages 1 and 2 with Next; detection then runs against the printers set.
    void GoToConnectPage();
    void DetectPrinters();
    // Page 3 with one ready 203 dpi printer on the simulator.
    void GoToPortPage();

    TTempDir dir;
    std::wstring programFolder;
    std::unique_ptr<TUsbHelperWithPrinters> usb;
    std::unique_ptr<TTempFolder> system;
    TPauseClock clock;
    Robot::TMessageBoxRecorder boxes;
    TShellRecorder shell;
    TQuickUsbChannel channel;
    std::unique_ptr<TSimulatorProcess> simulator;
    std::unique_ptr<TFormMain_VKT> form;

private:
    TServices m_saved{};
};
