// The TLog facade with the embedded default configuration.
#include "LogFixture.h"
#include "Lib_Error.h"
#include "Lib_Log.h"
#include "TLoggerUnit.h"
#include "TRollingFileAppenderUnit.h"

using ::testing::HasSubstr;

namespace {
class TLogTest : public LogFixture {
protected:
    // The start-up makes the LOG folder before Init, as here.
    void SetUp() override {
        LogFixture::SetUp();
        ForceDirectories(File(L"LOG"));
    }
    std::wstring LogFile() const { return File(L"LOG\\Kovrin.log"); }
    std::wstring ConfigFile() const { return File(L"LOG\\Kovrin.log.properties"); }
    std::string LogBytes() const { return ReadBytes(LogFile()); }
    static std::string Record(const char* level, const std::string& msg) {
        return std::string("25-03-07 14:05:09:123 [") + level + "] " + msg + "\r\r\n";
    }
};

std::string DefaultText() {
    HRSRC info = FindResourceW(nullptr, L"LogProperties", MAKEINTRESOURCEW(10));
    return std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, info))), SizeofResource(nullptr, info));
}
}  // namespace

TEST(DefaultConfiguration, EmbeddedTextHasTheThirtyTwoLines) {
    std::string text = DefaultText();
    int lines = 0;
    for (size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += 2) ++lines;
    EXPECT_EQ(lines, 32);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    EXPECT_THAT(text, HasSubstr("\r\nkvlog.appender.fileAppender.File=C:\\ProgramData\\Kovrel\\Kovrel.log\r\n"));
    EXPECT_THAT(text, HasSubstr("\r\n# " + std::string(67, '-') + "\r\n"));
    const std::string tail = "#kvlog.appender.fileAppender2.layout=TXMLLayout\r\n\r\n\r\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(TLogTest, DefaultConfigurationGivesTheRecordsByteForByte) {
    TLog::Init(LogFile());
    EXPECT_FALSE(FileExists(ConfigFile()));
    EXPECT_EQ(LogBytes(), "") << "Init's own text is dropped while g_LogInfo is 0";
    g_LogInfo = 2;
    TLog::Info(L"Start");
    TLog::Error(Utf8("\xE5\xAE\x89\xE8\xA3\x85\xE5\xA4\xB1\xE8\xB4\xA5"));  // Chinese text
    TLog::Warn(L"two\r\nlines ");
    EXPECT_EQ(LogBytes(), Record(" INFO", "Start") + Record("ERROR", "\xE5\xAE\x89\xE8\xA3\x85\xE5\xA4\xB1\xE8\xB4\xA5") +
                              Record(" WARN", "two\r\nlines "));

    TLogger* root = TLogger::GetInstance();
    EXPECT_EQ(root->GetLevel(), LevelTRACE);
    ASSERT_EQ(root->GetAppenders().size(), 1u);
    auto a = std::dynamic_pointer_cast<TRollingFileAppender>(root->GetAppenders()[0]);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->GetName(), L"fileAppender");
    EXPECT_EQ(a->GetFileName(), LogFile());  // the File line was replaced by the real path
    EXPECT_EQ(a->GetMaxBackupIndex(), 1);
    EXPECT_EQ(a->GetMaxFileSize(), 10485760);
    EXPECT_TRUE(a->GetAppend());
    EXPECT_FALSE(FileExists(File(L"kvlog.log")));
}

TEST_F(TLogTest, ExistingLogIsContinuedAndUnInitWritesABlank) {
    ForceDirectories(File(L"LOG"));
    WriteBytes(LogFile(), "earlier\r\n");
    TLog::Init(LogFile());
    g_LogInfo = 1;
    TLog::Trace(L"t");
    TLog::UnInit();
    EXPECT_EQ(LogBytes(), "earlier\r\n" + Record("TRACE", "t") + Record(" WARN", " "));
    EXPECT_EQ(TLogger::GetInstance(), nullptr);
    TLog::Info(L"after UnInit");  // no registry: nothing, no fault
}

TEST_F(TLogTest, VerbosityGatesEveryOperation) {
    TLog::Init(LogFile());
    struct Case { int verbosity; bool written; };
    const Case cases[] = {{-1, false}, {0, false}, {1, true}, {2, true}};
    for (const Case& c : cases) {
        g_LogInfo = c.verbosity;
        size_t before = LogBytes().size();
        TLog::Info(L"x");
        EXPECT_EQ(LogBytes().size() > before, c.written) << c.verbosity;
    }
}

TEST_F(TLogTest, ConfigurationPlacedInAdvanceIsUsedUnchangedAndRemoved) {
    ForceDirectories(File(L"LOG"));
    WriteAnsiFile(ConfigFile(),
                  "kvlog.rootLogger=INFO, fileAppender\n"
                  "kvlog.appender.fileAppender=TFileAppender\n"
                  "kvlog.appender.fileAppender.File=" + WideToUtf8(File(L"other.log")) + "\n"
                  "kvlog.appender.fileAppender.layout=TSimpleLayout\n");
    TLog::Init(LogFile());
    EXPECT_FALSE(FileExists(ConfigFile()));
    g_LogInfo = 2;
    TLog::Info(L"here");
    TLog::Debug(L"below INFO");
    EXPECT_EQ(ReadBytes(File(L"other.log")), "INFO - here\r\n");
    EXPECT_FALSE(FileExists(LogFile()));
}

TEST_F(TLogTest, InitFailsClearlyWithoutItsLogFolder) {
    WriteBytes(File(L"blocker"), "a file where the folder should be");
    for (const wchar_t* log : {L"missing\\LOG\\Kovrin.log", L"blocker\\LOG\\Kovrin.log"}) {
        try {
            TLog::Init(File(log));
            FAIL() << "no error for " << WideToUtf8(log);
        } catch (const EKovrinError& e) {
            EXPECT_THAT(WideToUtf8(e.Message()), HasSubstr("Cannot create file"));
            EXPECT_THAT(WideToUtf8(e.Message()), HasSubstr("Kovrin.log.properties"));
        }
    }
}

TEST_F(TLogTest, LogFileHeldByAnotherWriterLosesMessagesSilently) {
    ForceDirectories(File(L"LOG"));
    HANDLE other = CreateFileW(LogFile().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_NO_THROW(TLog::Init(LogFile()));
    g_LogInfo = 2;
    EXPECT_NO_THROW(TLog::Info(L"lost"));
    EXPECT_EQ(TLogger::GetInstance()->GetLevel(), LevelTRACE);
    EXPECT_TRUE(TLogger::GetInstance()->GetAppenders().empty());
    CloseHandle(other);
}

TEST_F(TLogTest, FailedRollOverReachesTheCallerOnceThenDropsRecords) {
    TLog::Init(LogFile());
    auto a = std::dynamic_pointer_cast<TRollingFileAppender>(TLogger::GetInstance()->GetAppenders()[0]);
    a->SetMaxBackupIndex(0);
    a->SetMaxFileSize(100);
    g_LogInfo = 2;
    std::wstring moved = BlockFolder(File(L"LOG"));
    EXPECT_THROW(TLog::Info(std::wstring(120, L'x')), EKovrinError);
    std::string before = ReadBytes(moved + L"\\Kovrin.log");
    EXPECT_EQ(before, Record(" INFO", std::string(120, 'x')));
    EXPECT_NO_THROW(TLog::Info(L"later"));
    EXPECT_EQ(ReadBytes(moved + L"\\Kovrin.log"), before);
}

TEST_F(TLogTest, SetLogLevelAcceptsOnlyTheSixNamesInCapitals) {
    TLog::Init(LogFile());
    g_LogInfo = 2;
    for (const wchar_t* bad : {L"warn", L"OFF", L"ALL", L"", L"WARN "}) {
        try {
            TLog::SetLogLevel(bad, false, L"");
            FAIL() << "accepted " << WideToUtf8(bad);
        } catch (const EKovrinError& e) {
            EXPECT_EQ(e.Message(), Utf8("\xE6\x97\xA5\xE5\xBF\x97\xE7\xBA\xA7\xE5\x88\xAB\xE4\xB8\x8D\xE6\xAD\xA3"
                                        "\xE7\xA1\xAE\xEF\xBC\x9A") + bad);
        }
    }
    EXPECT_EQ(TLogger::GetInstance()->GetLevel(), LevelTRACE);
    TLog::SetLogLevel(L"WARN", false, L"");
    TLog::Trace(L"t");
    TLog::Debug(L"d");
    TLog::Info(L"i");
    TLog::Warn(L"w");
    TLog::Error(L"e");
    TLog::Fatal(L"f");
    EXPECT_EQ(LogBytes(), Record(" WARN", "w") + Record("ERROR", "e") + Record("FATAL", "f"));
}

TEST_F(TLogTest, SetLogLevelSavesTheRootLoggerLine) {
    const std::wstring path = m_dir.Path() + L"\\";
    const std::wstring config = File(L"Kovrin.log.properties");
    EXPECT_FALSE(TLog::SetLogLevel(L"INFO", true, path)) << "no file: nothing written";
    EXPECT_FALSE(FileExists(config));

    WriteBytes(config, "# c\r\n kvlog.rootLogger=X\nkvlog.rootLogger=TRACE, fileAppender\rkvlog.rootLogger=ALL\r\n");
    TLog::SetLogLevel(L"WARN", true, path);
    EXPECT_EQ(ReadBytes(config),
              "# c\r\n kvlog.rootLogger=X\r\nkvlog.rootLogger=WARN, fileAppender\r\nkvlog.rootLogger=ALL\r\n");

    WriteBytes(config, "\xEF\xBB\xBFkvlog.rootLogger=TRACE\r\n");  // a marked file keeps its encoding
    TLog::SetLogLevel(L"ERROR", true, path);
    EXPECT_EQ(ReadBytes(config), "\xEF\xBB\xBFkvlog.rootLogger=ERROR, fileAppender\r\n");

    WriteBytes(config, "other=1\r\n");
    TLog::SetLogLevel(L"DEBUG", true, path);
    EXPECT_EQ(ReadBytes(config), "other=1\r\n");
}

TEST_F(TLogTest, LevelFromConfigFile) {
    const std::wstring path = m_dir.Path() + L"\\";
    const std::wstring config = File(L"Kovrin.log.properties");
    struct Case { std::string text; const wchar_t* level; };
    const Case cases[] = {
        {DefaultText(), L"TRACE"},
        {"kvlog.rootLogger=DEBUG\r\n", L""},
        {"kvlog.rootLogger=DEBUG\r\nkvlog.rootLogger=INFO, a\r\n", L"INFO"},
        {" kvlog.rootLogger=INFO, a\r\n", L""},
        {"kvlog.rootLogger = INFO ,a\r\n", L" INFO "},
        {"kvlog.rootLoggerX\nkvlog.rootLogger=,a\n", L""},
        {"", L""},
    };
    for (const Case& c : cases) {
        WriteBytes(config, c.text);
        EXPECT_EQ(TLog::GetLogLevelFromConfigFile(path), c.level) << c.text;
    }
    DeleteFileW(config.c_str());
    EXPECT_THROW(TLog::GetLogLevelFromConfigFile(path), EKovrinError);
}
