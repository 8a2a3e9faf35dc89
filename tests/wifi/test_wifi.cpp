// Reading the PC's Wi-Fi from captured network-shell output (English and Chinese Windows),
// and what the log shows of it.
#include "InstallAssist_WiFi.h"
#include "LogFixture.h"  // TRecordingAppender
#include "Lib_Log.h"
#include "Lib_Services.h"
#include "Lib_String.h"
#include "TLoggerUnit.h"
#include "TLoggingEventUnit.h"
#include "TestUtil.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <vector>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {
// Chinese Windows runs with ANSI code page 936, so netsh's text reaches the pipe in GBK;
// the English fixtures are plain ASCII.
const UINT kChineseCodePage = 936;

std::wstring FixtureDir() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return ExtractFilePath(path) + L"fixtures\\";
}

// A fixture's bytes as the program sees them once decoded from the code page.
std::wstring Fixture(const std::wstring& name, UINT codePage = CP_ACP) {
    std::string bytes = ReadBytes(FixtureDir() + name);
    EXPECT_FALSE(bytes.empty()) << Utf8(WideToUtf8(name).c_str());
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), &text[0], n);
    return text;
}

std::wstring Interfaces() { return SystemCommandLine(L"Netsh WLAN show interfaces"); }
std::wstring Profile(const std::wstring& name) {
    return SystemCommandLine(L"netsh wlan show profile name=\"" + name + L"\" key=clear");
}
std::wstring ServiceQuery() { return SystemCommandLine(L"sc query wlansvc"); }

// Answers known command lines with their captured output; any other command "cannot be
// started" and leaves the output as it was.
class TFakeCommandRunner : public ICommandRunner {
public:
    std::map<std::wstring, std::wstring> outputs;
    std::vector<std::wstring> run;
    void RunAndCapture(const std::wstring& commandLine, std::wstring& output) override {
        run.push_back(commandLine);
        auto it = outputs.find(commandLine);
        if (it != outputs.end()) output = it->second;
    }
};

class WiFiTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = Services();
        Services().commands = &runner;
        TLogger::PrepareRegistry();
        TLogger::GetInstance()->SetLevel(LevelALL);
        TLogger::GetInstance()->AddAppender(log);
        g_LogInfo = 2;
    }
    void TearDown() override {
        Services() = m_saved;
        TLogger::FreeInstances();
        g_LogInfo = 0;
    }
    std::wstring AllLog() const {
        std::wstring all;
        for (const std::wstring& s : log->Seen) all += s + L"\n";
        return all;
    }

    TFakeCommandRunner runner;
    std::shared_ptr<TRecordingAppender> log = std::make_shared<TRecordingAppender>();
    std::wstring name = L"(untouched)", key = L"(untouched)";

private:
    TServices m_saved{};
};

struct Scenario {
    const char* what;
    const wchar_t* interfaces;  // nullptr: the command cannot be started
    const wchar_t* profile;     // for the network "Home"; nullptr: cannot be started
    UINT codePage;
    bool result;
    const char* name;  // UTF-8
    const wchar_t* key;
    int commandsRun;   // interfaces, then profile, then service query
};

const Scenario kScenarios[] = {
    {"English, WPA2 with a stored key", L"interfaces_en.txt", L"profile_en.txt", CP_ACP, true, "Home", L"s3cret-Pass", 2},
    {"Chinese, WPA2 with a stored key", L"interfaces_cn.txt", L"profile_cn.txt", kChineseCodePage, true, "Home",
     L"s3cret-Pass", 2},
    {"English, open network", L"interfaces_open_en.txt", nullptr, CP_ACP, true, "CafeGuest", L"", 1},
    {"Chinese, open network", L"interfaces_open_cn.txt", nullptr, kChineseCodePage, true,
     "\xE5\x92\x96\xE5\x95\xA1\xE9\xA6\x86", L"", 1},
    {"not connected", L"interfaces_disconnected_en.txt", nullptr, CP_ACP, false, "", L"", 2},
    {"WLAN service not running", L"interfaces_nosvc_cn.txt", nullptr, kChineseCodePage, false, "", L"", 2},
    {"profile without a stored key", L"interfaces_en.txt", L"profile_nokey_en.txt", CP_ACP, false, "Home", L"", 3},
    {"profile not found", L"interfaces_en.txt", L"profile_notfound_en.txt", CP_ACP, false, "Home", L"", 3},
    // The listing stays in the output variable; it has no key line, so the result is false.
    {"profile query cannot start", L"interfaces_en.txt", nullptr, CP_ACP, false, "Home", L"", 3},
    {"interface listing cannot start", nullptr, nullptr, CP_ACP, false, "", L"", 2},
};

TEST_F(WiFiTest, CapturedListingsGiveNameKeyAndResult) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.what);
        runner = TFakeCommandRunner();
        if (s.interfaces) runner.outputs[Interfaces()] = Fixture(s.interfaces, s.codePage);
        if (s.profile) runner.outputs[Profile(L"Home")] = Fixture(s.profile, s.codePage);
        runner.outputs[ServiceQuery()] = Fixture(L"sc_wlansvc_en.txt");
        name = key = L"(untouched)";

        EXPECT_EQ(ReadCurrentWiFi(name, key), s.result);
        EXPECT_EQ(name, Utf8(s.name));
        EXPECT_EQ(key, s.key);
        ASSERT_EQ((int)runner.run.size(), s.commandsRun);
        EXPECT_EQ(runner.run[0], Interfaces());
        if (s.commandsRun == 3) {
            EXPECT_EQ(runner.run[1], Profile(L"Home"));
        }
        if (!s.result) {
            EXPECT_EQ(runner.run.back(), ServiceQuery());
        }
    }
}

// The value rule on the network name line (listings ending in an open authentication
// line, so no profile is read) and on the key line (a WPA2 listing for "Home").
TEST_F(WiFiTest, ValueRuleOnNameAndKeyLines) {
    const std::wstring open = L"    Authentication         : Open\r\n";
    const std::wstring wpa = L"    SSID : Home\r\n    Authentication : WPA2-Personal\r\n";
    const std::wstring v32 = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    const struct {
        const char* what;
        std::wstring listing;
        std::wstring profile;
        std::wstring name;
        std::wstring key;
    } cases[] = {
        {"plain", L"    SSID                   : Home\r\n" + open, L"", L"Home", L""},
        {"32 characters stay whole", L"    SSID                   : " + v32 + L"\r\n" + open, L"", v32, L""},
        {"longer values are cut to 32", L"    SSID : " + v32 + L"6789\r\n" + open, L"", v32, L""},
        {"value after the first colon only", L"    SSID : a:b:c\r\n" + open, L"", L"a:b:c", L""},
        {"blanks inside kept, blanks and controls at the ends gone", L"    SSID :\t My Home Net \t\r\n" + open, L"",
         L"My Home Net", L""},
        {"BSSID before SSID is passed over", L"    BSSID : 7c:8b:ca:01:02:03\r\n    SSID : Home\r\n" + open, L"",
         L"Home", L""},
        {"BSSID alone is no name", L"    BSSID : 7c:8b:ca:01:02:03\r\n" + open, L"", L"", L""},
        {"first SSID line wins", L"    SSID : First\r\n    SSID : Second\r\n" + open, L"", L"First", L""},
        {"SSID without the blank is no name", L"    Number of SSIDs: 2\r\n" + open, L"", L"", L""},
        {"no colon gives an empty name", L"    SSID    Home\r\n" + open, L"", L"", L""},
        {"LF line ends", L"    State : connected\n    SSID : Home\n" + open, L"", L"Home", L""},
        {"lone CR line ends", L"    State : connected\r    SSID : Home\r" + open, L"", L"Home", L""},
        {"32-character key stays whole", wpa, L"    Key Content            : " + v32 + L"\r\n", L"Home", v32},
        {"first key line", wpa, L"    Key Content : one\r\n    Key Content : two\r\n", L"Home", L"one"},
        {"blanks inside a key kept", wpa, L"    Key Content : pass word  \r\n", L"Home", L"pass word"},
        {"Chinese key word", wpa, Utf8("    \xE5\x85\xB3\xE9\x94\xAE\xE5\x86\x85\xE5\xAE\xB9 : k\r\n"), L"Home", L"k"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        runner.outputs[Interfaces()] = c.listing;
        runner.outputs[Profile(L"Home")] = c.profile;
        EXPECT_TRUE(ReadCurrentWiFi(name, key));
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(key, c.key);
    }
}

// Only the first authentication line decides; an "Open" further down does not count.
TEST_F(WiFiTest, OnlyTheFirstAuthenticationLineDecides) {
    runner.outputs[Interfaces()] =
        L"    SSID : Home\r\n    Authentication : WPA2-Personal\r\n    Authentication : Open\r\n";
    runner.outputs[Profile(L"Home")] = Fixture(L"profile_en.txt");
    EXPECT_TRUE(ReadCurrentWiFi(name, key));
    EXPECT_EQ(key, L"s3cret-Pass");
    EXPECT_EQ(runner.run.size(), 2u);
}

TEST_F(WiFiTest, CommandsRunFromTheSystemDirectory) {
    wchar_t dir[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(dir, MAX_PATH), 0u);
    const std::wstring sys = IncludeTrailingBackslash(dir);
    EXPECT_EQ(Interfaces(), L"\"" + sys + L"Netsh.exe\" WLAN show interfaces");
    EXPECT_EQ(Profile(L"My Net"), L"\"" + sys + L"netsh.exe\" wlan show profile name=\"My Net\" key=clear");
    EXPECT_EQ(ServiceQuery(), L"\"" + sys + L"sc.exe\" query wlansvc");
}

TEST_F(WiFiTest, LogShowsCommandsAndOutputWithTheKeyMasked) {
    for (UINT cp : {(UINT)CP_ACP, kChineseCodePage}) {
        const bool chinese = cp == kChineseCodePage;
        SCOPED_TRACE(chinese ? "Chinese" : "English");
        log->Seen.clear();
        const std::wstring interfaces = Fixture(chinese ? L"interfaces_cn.txt" : L"interfaces_en.txt", cp);
        const std::wstring profile = Fixture(chinese ? L"profile_cn.txt" : L"profile_en.txt", cp);
        runner.outputs[Interfaces()] = interfaces;
        runner.outputs[Profile(L"Home")] = profile;
        ASSERT_TRUE(ReadCurrentWiFi(name, key));

        ASSERT_EQ(log->Seen.size(), 2u);
        EXPECT_EQ(log->Seen[0], Utf8("INFO:\xE5\x91\xBD\xE4\xBB\xA4\xE3\x80\x90") + Interfaces() +
                                    Utf8("\xE3\x80\x91\xE8\xBF\x94\xE5\x9B\x9E") + L"\r\n" + interfaces);
        // The profile listing exactly as captured but for the key line's value.
        std::wstring masked = profile;
        masked.replace(masked.find(L": s3cret-Pass\r\n"), 13, L": ******");
        EXPECT_EQ(log->Seen[1], Utf8("INFO:\xE5\x91\xBD\xE4\xBB\xA4\xE3\x80\x90") + Profile(L"Home") +
                                    Utf8("\xE3\x80\x91\xE8\xBF\x94\xE5\x9B\x9E") + L"\r\n" + masked);
        EXPECT_THAT(AllLog(), Not(HasSubstr(L"s3cret")));
    }
}

TEST_F(WiFiTest, LogOfOpenNetworkAndOfFailure) {
    runner.outputs[Interfaces()] = Fixture(L"interfaces_open_en.txt");
    ASSERT_TRUE(ReadCurrentWiFi(name, key));
    ASSERT_EQ(log->Seen.size(), 2u);
    EXPECT_EQ(log->Seen[1], Utf8("INFO:\xE5\xBD\x93\xE5\x89\x8D\xE7\x83\xAD\xE7\x82\xB9\xE3\x80\x90") + L"CafeGuest" +
                                Utf8("\xE3\x80\x91\xE5\xAF\x86\xE7\xA0\x81\xE4\xB8\xBA\xE7\xA9\xBA"));

    log->Seen.clear();
    runner.outputs[Interfaces()] = Fixture(L"interfaces_disconnected_en.txt");
    const std::wstring sc = Fixture(L"sc_wlansvc_stopped.txt");
    runner.outputs[ServiceQuery()] = sc;
    ASSERT_FALSE(ReadCurrentWiFi(name, key));
    ASSERT_EQ(log->Seen.size(), 2u);
    EXPECT_EQ(log->Seen[1],
              Utf8("INFO:\xE4\xB8\x8D\xE8\x83\xBD\xE8\x8E\xB7\xE5\x8F\x96WiFi\xE4\xBF\xA1\xE6\x81\xAF\xEF\xBC\x8C"
                   "\xE5\x91\xBD\xE4\xBB\xA4\xE3\x80\x90") +
                  ServiceQuery() + Utf8("\xE3\x80\x91\xE8\xBF\x94\xE5\x9B\x9E") + L"\r\n" + sc);
}

TEST_F(WiFiTest, NothingLoggedAtVerbosityOne) {
    g_LogInfo = 1;
    runner.outputs[Interfaces()] = Fixture(L"interfaces_open_en.txt");
    EXPECT_TRUE(ReadCurrentWiFi(name, key));
    runner.outputs[Interfaces()] = Fixture(L"interfaces_en.txt");
    runner.outputs[Profile(L"Home")] = Fixture(L"profile_en.txt");
    EXPECT_TRUE(ReadCurrentWiFi(name, key));
    runner.outputs[Interfaces()] = Fixture(L"interfaces_disconnected_en.txt");
    EXPECT_FALSE(ReadCurrentWiFi(name, key));
    EXPECT_THAT(log->Seen, ElementsAre());
}

TEST(MaskSecret, HidesTextAndLength) {
    EXPECT_EQ(MaskSecret(L""), L"");
    EXPECT_EQ(MaskSecret(L"x"), L"******");
    EXPECT_EQ(MaskSecret(std::wstring(63, L'k')), L"******");
}
}  // namespace
