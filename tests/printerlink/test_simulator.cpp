// The transactions over the real overlapped device I/O against the printer simulator.
// Reads and writes wait at most a few hundred milliseconds for real; the protocol's pauses
// and the rest of each time-out pass on the virtual clock.
#include "Lib_Error.h"
#include "Lib_PrinterCmd.h"
#include "Lib_String.h"
#include "ScriptedPrinter.h"
#include "TestUtil.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {
const DWORD kRealWaitCapMs = 250;

// The USB channel with each wait cut short; a read that times out still costs its full
// time-out on the virtual clock, so the apply loop's time-out keeps its meaning.
class TShortWaitChannel : public IPrinterChannel {
public:
    explicit TShortWaitChannel(TVirtualClock& clock) : m_clock(clock) {}
    bool Open(const std::wstring& path) override { return m_usb.Open(path); }
    DWORD Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) override {
        DWORD got = m_usb.Read(buffer, count, std::min(timeoutMs, kRealWaitCapMs), 0);
        m_clock.now += delayMs + (got ? 0 : timeoutMs);
        return got;
    }
    DWORD Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) override {
        m_clock.now += delayMs;
        return m_usb.Write(data, count, std::min(timeoutMs, kRealWaitCapMs), 0);
    }
    void Close() override { m_usb.Close(); }

private:
    TVirtualClock& m_clock;
    TUsbDeviceChannel m_usb;
};

class TLinkScope {
public:
    TLinkScope() : m_savedClock(Services().clock), m_savedChannel(&PrinterChannel()) {
        Services().clock = &clock;
        SetPrinterChannel(&channel);
    }
    ~TLinkScope() {
        SetPrinterChannel(m_savedChannel);
        Services().clock = m_savedClock;
    }
    std::vector<std::string> pauses;
    TVirtualClock clock{pauses};
    TShortWaitChannel channel{clock};

private:
    IClock* m_savedClock;
    IPrinterChannel* m_savedChannel;
};

// vktsim.exe on a pipe of its own, serving a given number of connections.
class TSimulator {
public:
    TSimulator(const std::string& scenario, int connections) {
        static int counter = 0;
        pipe = L"\\\\.\\pipe\\kovrin-sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        SetScenario(scenario);
        std::wstring exe = ExtractFilePath(ProgramPath()) + L"..\\..\\vktsim\\vktsim.exe";
        std::wstring cmd = L"\"" + exe + L"\" --pipe " + pipe + L" --scenario \"" + m_dir.File(L"scenario.ini") +
                           L"\" --record \"" + m_dir.File(L"record.log") + L"\" --connections " +
                           std::to_wstring(connections);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
        CloseHandle(pi.hThread);
        m_process.reset(pi.hProcess);
        // Until the pipe exists, waiting for it fails at once.
        for (int i = 0; i < 200 && !WaitNamedPipeW(pipe.c_str(), 50); ++i)
            if (WaitForSingleObject(m_process.get(), 50) == WAIT_OBJECT_0) break;
    }
    ~TSimulator() { Stop(); }
    // Read again at the simulator's next connection.
    void SetScenario(const std::string& scenario) {
        WriteAnsiFile(m_dir.File(L"scenario.ini"), "[Printer]\n" + scenario);
    }
    bool Running() { return m_process.valid() && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }

    // Every line the simulator recorded, once it has served all its connections.
    std::vector<std::string> Record() {
        Stop();
        std::vector<std::string> lines;
        std::string text = ReadBytes(m_dir.File(L"record.log"));
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    // The decoded commands only.
    std::vector<std::string> Commands() {
        std::vector<std::string> out;
        for (const std::string& line : Record())
            if (line.compare(0, 8, "command\t") == 0) out.push_back(line.substr(8));
        return out;
    }

    std::wstring pipe;

private:
    void Stop() {
        if (!m_process.valid()) return;
        if (WaitForSingleObject(m_process.get(), 10000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the simulator did not finish its connections";
            TerminateProcess(m_process.get(), 1);
        }
        m_process.reset();
    }
    TTempDir m_dir;
    THandle m_process{nullptr};
};

using TLines = std::vector<std::string>;
TLines operator+(TLines a, const TLines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(Simulator, AnswersResolutionAndStatus) {
    struct Case {
        const char* scenario;
        int dpi, status;
        const char *dpiReply, *statusReply;
    } cases[] = {
        {"Resolution=203\nStatus=0x12\n", 203, 0, "reply CB 00", "reply 12"},
        {"Resolution=300\nStatus=0x36\n", 300, 2, "reply 2C 01", "reply 36"},
        {"Resolution=300\nStatus=50\n", 300, 3, "reply 2C 01", "reply 32"},
        {"Silent=status,resolution\n", 0, 1, "silent resolution", "silent status"},
    };
    TLinkScope link;
    TSimulator sim("", 2 * (int)(sizeof cases / sizeof cases[0]));
    ASSERT_TRUE(sim.Running());
    TLines expected;
    for (const Case& c : cases) {
        sim.SetScenario(c.scenario);
        EXPECT_EQ(GetPrinterDpi(sim.pipe), c.dpi) << c.scenario;
        EXPECT_EQ(GetPrinterStatus(sim.pipe), c.status) << c.scenario;
        const std::string n = std::to_string(expected.size() / 5 + 1), m = std::to_string(expected.size() / 5 + 2);
        expected = expected + TLines{"connect " + n, "recv 1D 28 48 02 00 39 30", "command\tresolution", c.dpiReply,
                                     "close", "connect " + m, "recv 10 04 02", "command\tstatus", c.statusReply,
                                     "close"};
    }
    EXPECT_EQ(sim.Record(), expected);
}

TEST(Simulator, StaticWiFiIsSetAndReadBack) {
    TLinkScope link;
    TSimulator sim("ApplyAnswer=xOK\nState=1\n", 2);
    ASSERT_TRUE(sim.Running());
    EXPECT_EQ(SetPrinterWiFi(sim.pipe, L"Lab \xE9t\xE9", L"secret12", false, L"127.0.0.5", L"255.0.0.0", L"127.0.0.1",
                             30000),
              0);
    std::wstring name, ip;
    bool dhcp = true;
    int state = 0;
    EXPECT_EQ(GetPrinterWiFi(sim.pipe, name, ip, dhcp, state), 0);
    EXPECT_EQ(name, AnsiToWide("Lab \xE9t\xE9")) << "the name comes back in the ANSI code page";
    EXPECT_EQ(ip, L"127.0.0.5");
    EXPECT_FALSE(dhcp);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(sim.Commands(), (TLines{"wifi-begin", "wifi-09", "wifi-33", "credentials\tLab \xC3\xA9t\xC3\xA9\tsecret12",
                                      "mode\tstatic", "address\t127.0.0.5\t255.0.0.0\t127.0.0.1", "apply", "query"}));
}

TEST(Simulator, ApplyAnswers) {
    struct Case {
        const char* answer;
        int result;
    } cases[] = {{"O", 0}, {"xOK", 0}, {"NG", -99}, {"none", 10}};
    TLinkScope link;
    TSimulator sim("", 4);
    ASSERT_TRUE(sim.Running());
    for (const Case& c : cases) {
        sim.SetScenario(std::string("ApplyAnswer=") + c.answer + "\n");
        EXPECT_EQ(SetPrinterWiFi(sim.pipe, L"abc", L"", true, L"", L"", L"", 6000), c.result) << c.answer;
    }
    TLines record = sim.Record();
    EXPECT_EQ(std::count(record.begin(), record.end(), "recv 1B 30 03 61 62 63 00"), 4);
    EXPECT_EQ(std::count(record.begin(), record.end(), "command\tmode\tdhcp"), 4);
    EXPECT_EQ(std::count_if(record.begin(), record.end(),
                            [](const std::string& l) { return l.find("address") != std::string::npos; }),
              0)
        << "no static address with DHCP";
    EXPECT_EQ(std::count(record.begin(), record.end(), "silent apply"), 1);
}

TEST(Simulator, AddressAppearsAfterSomeReadBacks) {
    struct Case {
        int after, result;
        const wchar_t* ip;
        int state;
    } cases[] = {{2, 0, L"127.0.0.9", 3}, {7, 1, L"0.0.0.0", 0}};
    for (const Case& c : cases) {
        TLinkScope link;
        TSimulator sim("Address=127.0.0.9\nState=3|1\nAddressAfter=" + std::to_string(c.after) + "\n", 1);
        ASSERT_TRUE(sim.Running());
        std::wstring name, ip;
        bool dhcp = false;
        int state = -1;
        EXPECT_EQ(GetPrinterWiFi(sim.pipe, name, ip, dhcp, state), c.result);
        EXPECT_EQ(ip, c.ip);
        EXPECT_EQ(state, c.state);
        EXPECT_EQ(name, L"KovrinLab");
        EXPECT_TRUE(dhcp);
        EXPECT_EQ(sim.Commands(), TLines(std::min(c.after + 1, 7), "query"));
        EXPECT_EQ(std::count(link.pauses.begin(), link.pauses.end(), "sleep 1500"), std::min(c.after, 7));
    }
}

TEST(Simulator, NonDecimalStateRaisesAfterTheDeviceIsClosed) {
    TLinkScope link;
    TSimulator sim("State=joined\n", 1);
    ASSERT_TRUE(sim.Running());
    std::wstring name, ip;
    bool dhcp = false;
    int state = -1;
    EXPECT_THROW(GetPrinterWiFi(sim.pipe, name, ip, dhcp, state), EKovrinError);
    TLines record = sim.Record();  // finishing its one connection means the handle was closed
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(record.back(), "close");
}

TEST(Simulator, DisconnectInTheMiddleOfAReply) {
    TLinkScope link;
    TSimulator sim("Disconnect=query\n", 1);
    ASSERT_TRUE(sim.Running());
    std::wstring name = L"-", ip = L"-";
    bool dhcp = false;
    int state = -1;
    EXPECT_EQ(GetPrinterWiFi(sim.pipe, name, ip, dhcp, state), 1);
    EXPECT_EQ(ip, L"-") << "half a reply is no reply";
    TLines record = sim.Record();
    ASSERT_GE(record.size(), 2u);
    EXPECT_EQ(record[record.size() - 2].compare(0, 4, "cut "), 0);
    EXPECT_EQ(record.back(), "disconnect");
}

TEST(Simulator, UnpluggedPrinterIsMinusOneEverywhere) {
    TLinkScope link;
    const std::wstring absent = L"\\\\.\\pipe\\kovrin-absent-" + std::to_wstring(GetCurrentProcessId());
    EXPECT_EQ(AllTransactions(absent), std::vector<int>(4, -1));
}

TEST(Simulator, RefusesAnAddressOutsideLoopback) {
    TTempDir dir;
    WriteAnsiFile(dir.File(L"s.ini"), "[Printer]\nAddress=192.168.0.57\n");
    std::wstring exe = ExtractFilePath(ProgramPath()) + L"..\\..\\vktsim\\vktsim.exe";
    std::wstring cmd = L"\"" + exe + L"\" --pipe kovrin-refused --scenario \"" + dir.File(L"s.ini") + L"\"";
    STARTUPINFOW si = {};
        si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    THandle process(pi.hProcess), thread(pi.hThread);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 2u);
}
}  // namespace
