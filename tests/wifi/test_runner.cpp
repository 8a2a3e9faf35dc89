// The production runner against real child processes under Wine: the pipe, the polling
// loop and the process handles.
#include "InstallAssist_WiFi.h"
#include "Lib_Services.h"
#include "Lib_String.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {
std::wstring Child(const std::wstring& args) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return L"\"" + ExtractFilePath(path) + L"wifi_child.exe\" " + args;
}

DWORD HandleCount() {
    DWORD n = 0;
    GetProcessHandleCount(GetCurrentProcess(), &n);
    return n;
}

// Each run starts with "before" in the output variable.
TEST(RunAndCapture, OutputOfEachRun) {
    const struct {
        const char* what;
        std::wstring commandLine;
        std::wstring expected;
    } cases[] = {
        {"system command", SystemCommandLine(L"cmd /c echo hello"), L"hello\r\n"},
        // Pieces 600 ms apart outlast the 500 ms poll, so they arrive over several passes;
        // standard error shares the pipe with standard output.
        {"pieces from both streams", Child(L"pieces 3 600"), L"piece 1\r\npiece 2\r\npiece 3\r\n"},
        {"silent child", Child(L"bytes 0"), L""},
        {"program not found", L"\"C:\\no such folder\\netsh.exe\" wlan show interfaces", L"before"},
        {"empty command line", L"", L"before"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring output = L"before";
        RunAndCapture(c.commandLine, output);
        EXPECT_EQ(output, c.expected);
    }
}

TEST(RunAndCapture, ProductionServiceIsTheProcessRunner) {
    std::wstring output;
    ProductionCommandRunner().RunAndCapture(SystemCommandLine(L"cmd /c echo via service"), output);
    EXPECT_EQ(output, L"via service\r\n");
    EXPECT_EQ(Services().commands, &ProductionCommandRunner());
}

// Far more than one read of the pipe, written in one go right before the child ends:
// nothing of the tail may be lost.
TEST(RunAndCapture, LongOutputArrivesWhole) {
    std::wstring output;
    RunAndCapture(Child(L"bytes 100000"), output);
    ASSERT_EQ(output.size(), 100000u);
    EXPECT_EQ(output.substr(0, 3), L"abc");
    EXPECT_EQ(output.substr(99998), std::wstring(1, L'a' + 99998 % 26) + std::wstring(1, L'a' + 99999 % 26));
}

TEST(RunAndCapture, EveryHandleIsClosed) {
    std::wstring output;
    RunAndCapture(Child(L"bytes 10"), output);  // first run: one-time handles of the loader
    const DWORD before = HandleCount();
    for (int i = 0; i < 5; ++i) RunAndCapture(Child(L"bytes 10"), output);
    RunAndCapture(L"\"C:\\no such folder\\x.exe\"", output);
    EXPECT_EQ(HandleCount(), before);
}
}  // namespace

namespace {
// Wine's netsh knows no WLAN: the real commands run from the system directory, print no
// network, and the read ends with the service query and false.
TEST(ReadCurrentWiFiUnderWine, NoWirelessNetworkGivesFalse) {
    std::wstring name = L"(untouched)", key = L"(untouched)";
    EXPECT_FALSE(ReadCurrentWiFi(name, key));
    EXPECT_EQ(name, L"");
    EXPECT_EQ(key, L"");
}
}  // namespace
