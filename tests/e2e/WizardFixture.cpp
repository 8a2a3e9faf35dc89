#include "WizardFixture.h"
#include "Application.h"
#include "InstallAssist.h"
#include "Lib_Log.h"
#include "Lib_String.h"
#include <algorithm>

const char* const kDemoIni =
    "[Setting]\n"
    "Licence_Url=https://www.ondrix.example/license\n"
    "[Driver01]\n"
    "PrinterType=VKT\n"
    "PrinterName=Ondrix Label Printer 203\n"
    "DPI=203\n"
    "[Driver02]\n"
    "PrinterType=VKT\n"
    "PrinterName=Ondrix Label Printer 300\n"
    "DPI=300\n";

// From the test program's own path: the tests move ProgramPath() to their program folder.
std::wstring BuiltFile(const std::wstring& relative) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return ExtractFilePath(self) + L"..\\..\\" + relative;
}

// ---- simulator ----

TSimulatorProcess::TSimulatorProcess(const std::string& scenario) {
    static int counter = 0;
    m_pipe = L"\\\\.\\pipe\\kovrin-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    WriteAnsiFile(m_dir.File(L"scenario.ini"), "[Printer]\n" + scenario);
    const std::wstring exe = BuiltFile(L"vktsim\\vktsim.exe");
    std::wstring cmd = L"\"" + exe + L"\" --pipe " + m_pipe + L" --scenario \"" + m_dir.File(L"scenario.ini") +
                       L"\" --record \"" + m_dir.File(L"record.log") + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start the printer simulator";
        return;
    }
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    // The pipe does not exist until the simulator has made it.
    for (int i = 0; i < 200 && !WaitNamedPipeW(m_pipe.c_str(), 50); ++i)
        if (WaitForSingleObject(m_process, 50) == WAIT_OBJECT_0) break;
}

TSimulatorProcess::~TSimulatorProcess() {
    if (!m_process) return;
    TerminateProcess(m_process, 0);
    WaitForSingleObject(m_process, 5000);
    CloseHandle(m_process);
}

int TSimulatorProcess::CommandCount(const std::string& name) {
    const std::string record = ReadBytes(m_dir.File(L"record.log"));
    const std::string line = "command\t" + name + "\r\n";
    int n = 0;
    for (size_t pos = 0; (pos = record.find(line, pos)) != std::string::npos; pos += line.size()) ++n;
    return n;
}

// ---- services ----

void TPauseClock::Sleep(DWORD ms) {
    now += ms;
    HWND next = window ? Robot::Find(window, L"btn_Next") : nullptr;
    HWND busy = window ? Robot::Find(window, L"img_waiting") : nullptr;
    pauses.push_back(TPause{ms, Robot::Enabled(next), Robot::Visible(busy)});
}

DWORD TQuickUsbChannel::Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    return m_usb.Read(buffer, count, std::min<DWORD>(timeoutMs, 300), 0);
}
DWORD TQuickUsbChannel::Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    return m_usb.Write(data, count, std::min<DWORD>(timeoutMs, 300), 0);
}

// ---- fixture ----

void WizardTest::SetUp() {
    programFolder = dir.Path() + L"\\program";
    ForceDirectories(programFolder);
    ForceDirectories(dir.Path() + L"\\temp");
    ASSERT_TRUE(CopyFileW(BuiltFile(L"vktsim\\Tessil.dll").c_str(), (programFolder + L"\\Tessil.dll").c_str(), FALSE));
    SetProgramPathForTest(programFolder + L"\\Kovrin.exe");
    SetPrinters({});
    WriteIni(kDemoIni);

    m_saved = Services();
    usb.reset(new TUsbHelperWithPrinters(programFolder + L"\\Tessil.dll"));
    system.reset(new TTempFolder(dir.Path() + L"\\temp\\"));
    Services().usb = usb.get();
    Services().system = system.get();
    Services().clock = &clock;
    Services().messageBoxes = &boxes;
    Services().shell = &shell;
    SetPrinterChannel(&channel);
    Application::Title() = L"Printer installer";

    ForceDirectories(programFolder + L"\\LOG");  // as the start-up does before Init
    TLog::Init(programFolder + L"\\LOG\\Kovrin.log");
    g_LogInfo = 2;
}

void WizardTest::TearDown() {
    Application::SetMainWindow(nullptr);
    form.reset();
    Robot::WaitUntil([] { return false; }, 0);
    simulator.reset();
    g_LogInfo = 0;
    TLog::UnInit();
    SetPrinterChannel(nullptr);
    Services() = m_saved;
    usb.reset();
    g_DriverInfo.clear();
    SetProgramPathForTest(L"");
}

void WizardTest::WriteIni(const std::string& text) { WriteAnsiFile(programFolder + L"\\Kovrin.ini", text); }

void WizardTest::SetPrinters(const std::vector<TUsbEntry>& printers) {
    std::wstring ini = L"[Printers]\nCount=" + std::to_wstring(printers.size()) + L"\n";
    for (size_t i = 0; i < printers.size(); ++i)
        ini += L"[Printer" + std::to_wstring(i) + L"]\nPort=" + printers[i].port + L"\nDeviceID=" + printers[i].deviceId +
               L"\nPath=" + printers[i].path + L"\n";
    WriteUtf16File(programFolder + L"\\Tessil.ini", ini);
}

void WizardTest::Open() {
    form.reset(new TFormMain_VKT());
    form->Create(GetModuleHandleW(nullptr));
    clock.window = form->Handle();
    Application::SetMainWindow(form->Handle());  // as the start-up does
    form->Show();
    Robot::WaitUntil([] { return false; }, 50);
}

std::wstring WizardTest::LogText() { return Utf8ToWide(ReadBytes(programFolder + L"\\LOG\\Kovrin.log")); }

void WizardTest::GoToConnectPage() {
    ASSERT_TRUE(Robot::Click(Ctl(L"chk01_Accept")));
    ASSERT_TRUE(Robot::Click(Ctl(L"btn_Next")));
    ASSERT_TRUE(PageShowing(L"ts02_Connect"));
}

void WizardTest::DetectPrinters() { ASSERT_TRUE(Robot::Click(Ctl(L"btn_Next"))); }

void WizardTest::GoToPortPage() {
    simulator.reset(new TSimulatorProcess("Resolution=203\nStatus=0x12\n"));
    SetPrinters({{L"USB001", L"MFG:Ondrix;CMD:ESC/POS;MDL:M1;", simulator->Pipe()}});
    Open();
    GoToConnectPage();
    DetectPrinters();
    ASSERT_TRUE(PageShowing(L"ts03_Port")) << (boxes.boxes.empty() ? L"" : boxes.boxes[0].text).size();
    boxes.boxes.clear();
}
