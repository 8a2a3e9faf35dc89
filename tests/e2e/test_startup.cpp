// Kovrin.exe itself, started as a user starts it from its folder: the log, the printer-type
// gate, the window and the exit code. The robot works on the windows of that process.
#include "Lib_String.h"
#include "Robot.h"
#include "TestUtil.h"
#include "WizardFixture.h"
#include <gtest/gtest.h>
#include <regex>

namespace {
const DWORD kStartTimeoutMs = 60000;

class KovrinProcess {
public:
    // Kovrin.exe, Kovrin.ini (unless empty), Tessil.dll and an empty printer list in a folder.
    explicit KovrinProcess(const std::string& ini) {
        CopyFileW(BuiltFile(L"SetupUI\\Kovrin.exe").c_str(), dir.File(L"Kovrin.exe").c_str(), FALSE);
        CopyFileW(BuiltFile(L"vktsim\\Tessil.dll").c_str(), dir.File(L"Tessil.dll").c_str(), FALSE);
        WriteAnsiFile(dir.File(L"Tessil.ini"), "[Printers]\nCount=0\n");
        if (!ini.empty()) WriteAnsiFile(dir.File(L"Kovrin.ini"), ini);
    }
    ~KovrinProcess() {
        if (m_pi.hProcess) {
            if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_pi.hProcess, 99);
            CloseHandle(m_pi.hProcess);
            CloseHandle(m_pi.hThread);
        }
    }
    bool Start() {
        std::wstring exe = dir.File(L"Kovrin.exe");
        std::wstring cmd = L"\"" + exe + L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        return CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si,
                              &m_pi) != FALSE;
    }
    DWORD Pid() const { return m_pi.dwProcessId; }
    // The exit code, or STILL_ACTIVE when it has not ended in time.
    DWORD WaitForExit(DWORD timeoutMs) {
        Robot::WaitUntil([&] { return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_pi.hProcess, &code);
        return code;
    }
    std::string Log() { return ReadBytes(dir.File(L"LOG\\Kovrin.log")); }
    TTempDir dir;

private:
    PROCESS_INFORMATION m_pi = {};
};

std::string IniWithType(const std::string& type) {
    return "[Driver01]\nPrinterType=" + type + "\nPrinterName=Ondrix Label Printer 203\nDPI=203\n";
}

std::string SystemVersion() {
    typedef LONG(WINAPI * PFN)(OSVERSIONINFOW*);
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
    auto f = reinterpret_cast<PFN>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    f(&v);
    return std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion);
}

// Log lines as written: time stamp, level, text, then CR CR LF.
std::vector<std::string> LogLines(const std::string& log) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = log.find("\r\r\n", start)) != std::string::npos; start = end + 3)
        lines.push_back(log.substr(start, end - start + 3));
    return lines;
}
}  // namespace

TEST(Startup, PrinterTypeGate) {
    const struct {
        const char* name;
        std::string ini;
        bool window;
        const char* typeLine;
    } cases[] = {
        {"exact", IniWithType("VKT"), true, "Printer Driver Type: VKT"},
        {"blanks around the value", IniWithType("  VKT  "), true, "Printer Driver Type: VKT"},
        {"lower case", IniWithType("vkt"), false, "Printer Driver Type: vkt"},
        {"another printer type", IniWithType("VKT2"), false, "Printer Driver Type: VKT2"},
        {"no configuration file", "", false, "Printer Driver Type: "},
        {"right type without a printer name", "[Driver01]\nPrinterType=VKT\n", true, "Printer Driver Type: VKT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KovrinProcess kovrin(c.ini);
        ASSERT_TRUE(kovrin.Start());
        if (c.window) {
            HWND window = Robot::WaitForWindow(L"Ondrix Printer Setup", kovrin.Pid(), kStartTimeoutMs);
            ASSERT_TRUE(window != nullptr);
            EXPECT_TRUE(Robot::Visible(Robot::Find(window, L"ts01_Licence")));
            Robot::PostClick(Robot::Find(window, L"btn_Prev"));
        }
        EXPECT_EQ(0u, kovrin.WaitForExit(kStartTimeoutMs));
        EXPECT_EQ(nullptr, Robot::WaitForMessageBox(kovrin.Pid(), 0));
        const std::vector<std::string> lines = LogLines(kovrin.Log());
        ASSERT_GE(lines.size(), 2u);
        EXPECT_NE(std::string::npos, lines[1].find(c.typeLine));
    }
}

TEST(Startup, FirstTwoLogLinesByteForByte) {
    KovrinProcess kovrin(IniWithType("VKT"));
    ASSERT_TRUE(kovrin.Start());
    HWND window = Robot::WaitForWindow(L"Ondrix Printer Setup", kovrin.Pid(), kStartTimeoutMs);
    ASSERT_TRUE(window != nullptr);
    // The close box ends the program as Cancel does.
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0u, kovrin.WaitForExit(kStartTimeoutMs));
    const std::vector<std::string> lines = LogLines(kovrin.Log());
    ASSERT_GE(lines.size(), 2u);
    const std::string stamp = R"(\d\d-\d\d-\d\d \d\d:\d\d:\d\d:\d\d\d )";
    std::string version = SystemVersion();
    version.replace(version.find('.'), 1, "\\.");
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(stamp + R"(\[ WARN\] SystemVersion=)" + version + "\r\r\n")))
        << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(stamp + "\\[ WARN\\] Printer Driver Type: VKT\r\r\n")))
        << lines[1];
    // No configuration file is left behind in the log folder.
    EXPECT_FALSE(FileExists(kovrin.dir.File(L"LOG\\Kovrin.log.properties")));
}

TEST(Startup, ALogThatCannotBeCreatedEndsWithAMessageAndAnErrorCode) {
    KovrinProcess kovrin(IniWithType("VKT"));
    WriteBytes(kovrin.dir.File(L"LOG"), "a file where the log folder belongs");
    ASSERT_TRUE(kovrin.Start());
    HWND box = Robot::WaitForMessageBox(kovrin.Pid(), kStartTimeoutMs);
    ASSERT_TRUE(box != nullptr);
    const Robot::TMessageBox m = Robot::ReadMessageBox(box);
    EXPECT_EQ(Utf8("打印驱动安装"), m.caption);
    EXPECT_NE(std::wstring::npos, m.text.find(L"LOG")) << m.text;
    EXPECT_EQ(nullptr, Robot::WaitForWindow(L"Ondrix Printer Setup", kovrin.Pid(), 0));
    Robot::AnswerMessageBox(box);
    EXPECT_EQ(1u, kovrin.WaitForExit(kStartTimeoutMs));
}

TEST(Startup, AnErrorWhileShowingTheWizardIsReportedUnderTheApplicationTitle) {
    // Without the helper library the driver records cannot be loaded.
    KovrinProcess kovrin(IniWithType("VKT"));
    DeleteFileW(kovrin.dir.File(L"Tessil.dll").c_str());
    ASSERT_TRUE(kovrin.Start());
    HWND box = Robot::WaitForMessageBox(kovrin.Pid(), kStartTimeoutMs);
    ASSERT_TRUE(box != nullptr);
    const Robot::TMessageBox m = Robot::ReadMessageBox(box);
    // The title from the language file ([Config] AppTitle) has replaced the built-in one.
    EXPECT_EQ(L"Printer installer", m.caption);
    EXPECT_NE(std::wstring::npos, m.text.find(L"Tessil.dll")) << m.text;
    Robot::AnswerMessageBox(box);
    HWND window = Robot::WaitForWindow(L"Ondrix Printer Setup", kovrin.Pid(), kStartTimeoutMs);
    ASSERT_TRUE(window != nullptr) << "the window opens all the same";
    Robot::PostClick(Robot::Find(window, L"btn_Prev"));
    EXPECT_EQ(0u, kovrin.WaitForExit(kStartTimeoutMs));
}

TEST(Startup, ResourcesOfTheProgram) {
    HMODULE exe = LoadLibraryExW(BuiltFile(L"SetupUI\\Kovrin.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(exe != nullptr);
    auto bytes = [&](const wchar_t* name, const wchar_t* type) {
        HRSRC r = FindResourceW(exe, name, type);
        HGLOBAL g = r ? LoadResource(exe, r) : nullptr;
        const char* p = g ? static_cast<const char*>(LockResource(g)) : nullptr;
        return p ? std::string(p, SizeofResource(exe, r)) : std::string();
    };
    const std::string manifest = bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\" uiAccess=\"false\""));
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));

    // PNG and GIF sizes from their headers.
    auto pngSize = [](const std::string& b) {
        auto be = [&](size_t at) {
            return ((unsigned char)b[at] << 24) | ((unsigned char)b[at + 1] << 16) | ((unsigned char)b[at + 2] << 8) |
                   (unsigned char)b[at + 3];
        };
        return b.size() > 24 && b.compare(1, 3, "PNG") == 0 ? std::make_pair((int)be(16), (int)be(20))
                                                             : std::make_pair(0, 0);
    };
    EXPECT_EQ(std::make_pair(24, 24), pngSize(bytes(L"ShowIcon", RT_RCDATA)));
    EXPECT_EQ(std::make_pair(24, 24), pngSize(bytes(L"HideIcon", RT_RCDATA)));
    EXPECT_EQ(std::make_pair(165, 332), pngSize(bytes(L"BRAND_PNG", RT_RCDATA)));
    EXPECT_EQ(std::make_pair(285, 192), pngSize(bytes(L"CONNECT_PNG", RT_RCDATA)));
    const std::string gif = bytes(L"load_gif", RT_RCDATA);
    ASSERT_GT(gif.size(), 10u);
    EXPECT_EQ("GIF89a", gif.substr(0, 6));
    EXPECT_EQ(30, (unsigned char)gif[6] | ((unsigned char)gif[7] << 8));
    EXPECT_EQ(30, (unsigned char)gif[8] | ((unsigned char)gif[9] << 8));
    EXPECT_NE(std::string::npos, gif.find("NETSCAPE2.0")) << "animated";

    EXPECT_EQ(ReadBytes(Utf8(KOVRIN_SOURCE_DIR) + L"\\SetupUI\\Lang.dat"), bytes(L"Lang_dat", RT_RCDATA));
    EXPECT_EQ(0u, bytes(L"LogProperties", RT_RCDATA).find("kvlog.debug=false\r\n"));
    EXPECT_TRUE(FindResourceW(exe, L"MAINICON", RT_GROUP_ICON) != nullptr);
    EXPECT_TRUE(FindResourceW(exe, MAKEINTRESOURCEW(1), RT_VERSION) != nullptr);
    FreeLibrary(exe);
}
