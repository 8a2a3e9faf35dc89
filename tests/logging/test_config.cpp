// Properties store, tokenizer, variable substitution and the configurator.
#include "LogFixture.h"
#include "Lib_Error.h"
#include "TLogLogUnit.h"
#include "TLoggerUnit.h"
#include "TOptionConverterUnit.h"
#include "TPropertiesUnit.h"
#include "TPropertyConfiguratorUnit.h"
#include "TRollingFileAppenderUnit.h"
#include "TStringUnit.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {
TProperties Props(const std::string& text) {
    TProperties p;
    p.Load(text);
    return p;
}
}  // namespace

TEST(Properties, LineRules) {
    struct Case { const char* text; std::vector<std::wstring> keys; const wchar_t* key; const wchar_t* value; };
    const Case cases[] = {
        {"  #x=1\r\n", {L"#x"}, L"#x", L"1"},
        {"#x=1\r\n", {}, L"#x", L""},
        {"key = a=b \r\n", {L"key"}, L"key", L"a=b"},
        {"no separator\r\n", {}, L"no separator", L""},
        {"Key=first\nKEY=second\rkey=third", {L"Key", L"KEY", L"key"}, L"key", L"first"},
        {"=v\r\nk=\r\n\r\n", {L"", L"k"}, L"", L"v"},
        {"\tk\t=\t v \t", {L"k"}, L"k", L"v"},
    };
    for (const Case& c : cases) {
        TProperties p = Props(c.text);
        EXPECT_EQ(p.GetPropertyNames(), c.keys) << c.text;
        EXPECT_EQ(p.GetProperty(c.key), c.value) << c.text;
    }
    EXPECT_EQ(Props("a=1").GetProperty(L"b", L"dflt"), L"dflt");
    EXPECT_EQ(Props("a=").GetProperty(L"A", L"dflt"), L"");
}

TEST(Properties, ByteOrderMarksSelectTheEncoding) {
    const std::wstring value = Utf8("\xE6\xA0\x87\xE7\xAD\xBE");  // two Chinese characters
    for (TTextEncoding enc : {TTextEncoding::Utf8, TTextEncoding::Utf16LE, TTextEncoding::Utf16BE}) {
        std::string bytes = EncodeText(L"name=" + value + L"\r\n", enc);
        EXPECT_EQ(Props(bytes).GetProperty(L"name"), value);
        TTextEncoding seen = TTextEncoding::Ansi;
        DecodeText(bytes, &seen);
        EXPECT_EQ(seen, enc);
    }
    EXPECT_EQ(Props("name=plain").GetProperty(L"name"), L"plain");
}

TEST(Properties, SplitLinesAtAnyLineEnd) {
    EXPECT_THAT(SplitLines(L"a\r\nb\nc\rd"), ElementsAre(L"a", L"b", L"c", L"d"));
    EXPECT_THAT(SplitLines(L"a\r\n\r\n"), ElementsAre(L"a", L""));
    EXPECT_THAT(SplitLines(L""), IsEmpty());
}

TEST(Tokenizer, EmptyPiecesGiveNoToken) {
    struct Case { const wchar_t* text; const wchar_t* delims; std::vector<std::wstring> tokens; };
    const Case cases[] = {
        {L"TRACE, fileAppender", L",", {L"TRACE", L" fileAppender"}},
        {L",a,,b,", L",", {L"a", L"b"}},
        {L"a b,c", L", ", {L"a", L"b", L"c"}},
        {L"", L",", {}},
        {L" x ", L",", {L" x "}},
    };
    for (const Case& c : cases) {
        TStringTokenizer t(c.text, c.delims);
        EXPECT_EQ(t.CountTokens(), (int)c.tokens.size()) << c.text;
        std::vector<std::wstring> got;
        while (t.HasMoreTokens()) got.push_back(t.NextToken());
        EXPECT_EQ(got, c.tokens) << c.text;
        EXPECT_EQ(t.CountTokens(), 0);
    }
}

TEST(OptionConverter, Substitution) {
    TProperties p = Props("dir=C:\\Logs\r\nlevel=WARN\r\n");
    EXPECT_EQ(TOptionConverter::SubstVars(L"${dir}\\${level}.log", p), L"C:\\Logs\\WARN.log");
    EXPECT_EQ(TOptionConverter::SubstVars(L"${undefined}WARN", p), L"WARN");
    EXPECT_EQ(TOptionConverter::SubstVars(L"$dir {x}", p), L"$dir {x}");
    EXPECT_THROW(TOptionConverter::SubstVars(L"a${dir", p), EKovrinError);
    TProperties q = Props("kvlog.rootLogger=${level, x\r\nlevel=INFO\r\n");
    EXPECT_EQ(TOptionConverter::FindAndSubst(L"kvlog.rootLogger", q), L"${level, x");
    EXPECT_EQ(TOptionConverter::FindAndSubst(L"missing", q), L"");
}

namespace {
class ConfiguratorTest : public LogFixture {
protected:
    // Writes the lines as a configuration file and applies it.
    void Configure(const std::string& text) {
        WriteAnsiFile(File(L"test.properties"), text);
        ConfigureFromFile(File(L"test.properties"));
    }
    static TLogger* Root() { return TLogger::GetInstance(); }
    std::string InternalLog() {
        TLogLog::CloseInternalLog();
        return ReadBytes(File(L"kvlog.log"));
    }
    std::string FileAppenderLines(const std::string& name, const std::string& file, const char* cls = "TFileAppender") {
        return "kvlog.appender." + name + "=" + cls + "\nkvlog.appender." + name + ".File=" + WideToUtf8(m_dir.Path()) +
               "\\" + file + "\nkvlog.appender." + name + ".layout=TSimpleLayout\n";
    }
};
}  // namespace

TEST_F(ConfiguratorTest, RootLoggerValues) {
    struct Case { const char* value; const TLevel* level; std::vector<std::wstring> appenders; };
    const Case cases[] = {
        {"INFO", LevelINFO, {}},
        {", A", LevelALL, {L"A"}},
        {"DEBUG, A,,B", LevelDEBUG, {L"A", L"B"}},
        {"INFO, B", LevelINFO, {L"B"}},
        {"${undefined}WARN, A", LevelWARN, {L"A"}},
        {" error , A ", LevelERROR, {L"A"}},
    };
    for (const Case& c : cases) {
        Configure(std::string("kvlog.rootLogger=") + c.value + "\n" + FileAppenderLines("A", "a.log") +
                  FileAppenderLines("B", "b.log"));
        std::vector<std::wstring> names;
        for (const auto& a : Root()->GetAppenders()) names.push_back(a->GetName());
        EXPECT_EQ(Root()->GetLevel(), c.level) << c.value;
        EXPECT_EQ(names, c.appenders) << c.value;
        TLogger::FreeInstances();
    }
}

TEST_F(ConfiguratorTest, FirstRootLoggerLineCountsAndUnknownLevelLeavesNone) {
    Configure("kvlog.rootLogger=ERROR\nkvlog.rootLogger=DEBUG\n");
    EXPECT_EQ(Root()->GetLevel(), LevelERROR);
    Configure("kvlog.rootLogger=${INFO\n");  // used unchanged, which names no level
    EXPECT_EQ(Root()->GetLevel(), nullptr);
    EXPECT_THROW(Root()->Info(L"x"), EKovrinError);
}

TEST_F(ConfiguratorTest, LoggersNamingOneAppenderShareIt) {
    Configure("kvlog.rootLogger=INFO, Shared\nkvlog.logger.Two=WARN, shared\n" + FileAppenderLines("Shared", "s.log"));
    TLogger* two = TLogger::GetInstance(L"two");
    ASSERT_EQ(Root()->GetAppenders().size(), 1u);
    ASSERT_EQ(two->GetAppenders().size(), 1u);
    EXPECT_EQ(Root()->GetAppenders()[0], two->GetAppenders()[0]);
    EXPECT_EQ(two->GetLevel(), LevelWARN);
    Root()->Info(L"from root");
    two->Warn(L"from two");
    EXPECT_EQ(ReadBytes(File(L"s.log")), "INFO - from root\r\nWARN - from two\r\n");
}

TEST_F(ConfiguratorTest, AppenderClassCapitalisation) {
    struct Case { const char* cls; bool made; };
    const Case cases[] = {{"TFileAppender", true},         {"tFileAppender", true},
                          {"TFILEAPPENDER", false},        {"TRollingFileAppender", true},
                          {"tRollingFileAppender", true},  {"TROLLINGFILEAPPENDER", false},
                          {"TOtherFileAppender", false},   {"", false}};
    for (const Case& c : cases) {
        Configure("kvlog.debug=true\nkvlog.rootLogger=INFO, A\n" + FileAppenderLines("A", "a.log", c.cls));
        EXPECT_EQ(Root()->GetAppenders().size(), c.made ? 1u : 0u) << c.cls;
        EXPECT_EQ(InternalLog().find("ERROR: Could not instantiate appender named \"A\".") == std::string::npos, c.made)
            << c.cls;
        TLogger::FreeInstances();
    }
}

TEST_F(ConfiguratorTest, RollingAppenderSettings) {
    struct Case { const char* extra; int backups; long long size; bool append; };
    const Case cases[] = {
        {"", 1, 10485760, false},
        {"kvlog.appender.A.MaxFileSize=10m\n", 1, 10485760, false},
        {"kvlog.appender.A.MaxFileSize=1K\nkvlog.appender.A.MaxBackupIndex=3\n", 3, 1024, false},
        {"kvlog.appender.A.append=TRUE\nkvlog.appender.A.MaxFileSize=2G\n", 1, 2147483648LL, true},
    };
    for (const Case& c : cases) {
        Configure("kvlog.rootLogger=INFO, A\n" + FileAppenderLines("A", "a.log", "TRollingFileAppender") + c.extra);
        ASSERT_EQ(Root()->GetAppenders().size(), 1u) << c.extra;
        auto a = std::dynamic_pointer_cast<TRollingFileAppender>(Root()->GetAppenders()[0]);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->GetMaxBackupIndex(), c.backups) << c.extra;
        EXPECT_EQ(a->GetMaxFileSize(), c.size) << c.extra;
        EXPECT_EQ(a->GetAppend(), c.append) << c.extra;
        TLogger::FreeInstances();
    }
}

TEST_F(ConfiguratorTest, AppendKeyDecidesWhetherTheFileIsEmptied) {
    for (bool append : {false, true}) {
        WriteBytes(File(L"a.log"), "kept\r\n");
        Configure("kvlog.rootLogger=INFO, A\n" + FileAppenderLines("A", "a.log") +
                  (append ? "kvlog.appender.A.Append=true\n" : ""));
        EXPECT_EQ(ReadBytes(File(L"a.log")), append ? "kept\r\n" : "") << append;
        TLogger::FreeInstances();
    }
}

TEST_F(ConfiguratorTest, AppDirPlacesTheFileBesideTheProgram) {
    SetProgramPathForTest(m_dir.File(L"prog\\Kovrin.exe"));
    Configure("kvlog.rootLogger=INFO, A\nkvlog.appender.A=TFileAppender\nkvlog.appender.A.AppDir=true\n"
              "kvlog.appender.A.File=LOG\\app.log\nkvlog.appender.A.layout=TSimpleLayout\n");
    Root()->Info(L"here");
    EXPECT_EQ(ReadBytes(File(L"prog\\LOG\\app.log")), "INFO - here\r\n");
}

TEST_F(ConfiguratorTest, ThresholdAndNamedLoggers) {
    Configure("kvlog.threshold=warn\nkvlog.logger.Two=, A\nkvlog.logger.root=DEBUG\nKVLOG.LOGGER.Three=INFO\n" +
              FileAppenderLines("A", "a.log"));
    EXPECT_EQ(TLogger::GetInstance(L"Two")->GetLevel(), LevelWARN);
    EXPECT_EQ(TLogger::GetInstance(L"Two")->GetAppenders().size(), 1u);
    EXPECT_EQ(Root()->GetLevel(), LevelDEBUG);  // "kvlog.logger.root" names the root logger again
    TLogger* three = TLogger::GetInstance(L"Three");  // the prefix is case-sensitive: made here, at the threshold
    EXPECT_EQ(three->GetLevel(), LevelWARN);
}

TEST_F(ConfiguratorTest, AppenderWithoutUsableLayoutWritesNothing) {
    Configure("kvlog.rootLogger=INFO, A\nkvlog.appender.A=TFileAppender\nkvlog.appender.A.File=" +
              WideToUtf8(File(L"a.log")) + "\nkvlog.appender.A.layout=TNoSuchLayout\n");
    ASSERT_EQ(Root()->GetAppenders().size(), 1u);
    EXPECT_EQ(Root()->GetAppenders()[0]->GetLayout(), nullptr);
    EXPECT_NO_THROW(Root()->Info(L"lost"));
    EXPECT_EQ(ReadBytes(File(L"a.log")), "");
}

TEST_F(ConfiguratorTest, DebugKeyOpensTheInternalLogInTheCurrentDirectory) {
    Configure("kvlog.debug=TRUE\nkvlog.rootLogger=INFO\n");
    std::string log = InternalLog();
    EXPECT_THAT(log, HasSubstr("INFO: Configuring root logger.\r\n"));
    EXPECT_THAT(log, HasSubstr("DEBUG: Level token is [INFO].\r\n"));
    EXPECT_THAT(log, HasSubstr("INFO: Category ROOT set to INFO\r\n"));
    EXPECT_THAT(log, HasSubstr("DEBUG: Finished configuring.\r\n"));
    TLogger::FreeInstances();
    Configure("kvlog.debug=false\nkvlog.rootLogger=INFO\n");
    EXPECT_FALSE(TLogLog::IsOpen());
}

TEST_F(ConfiguratorTest, BadFileIsReportedAndWhatCameBeforeStays) {
    const std::string path = WideToUtf8(File(L"test.properties"));
    Configure("kvlog.debug=true\nkvlog.rootLogger=WARN, A\nkvlog.logger.Two=INFO\n" +
              FileAppenderLines("A", "a.log", "TRollingFileAppender") + "kvlog.appender.A.MaxBackupIndex=three\n");
    EXPECT_EQ(Root()->GetLevel(), LevelWARN);
    EXPECT_TRUE(Root()->GetAppenders().empty());
    std::string log = InternalLog();
    EXPECT_THAT(log, HasSubstr("ERROR: Could not read configuration file [" + path +
                               "] 'three' is not a valid integer value\r\n"
                               "ERROR: Ignoring configuration file [" + path + "]\r\n"));
    EXPECT_EQ(log.find("Two"), std::string::npos) << "nothing after the error is applied";
}

TEST_F(ConfiguratorTest, MissingFileLeavesTheRootLoggerAtAll) {
    ConfigureFromFile(File(L"absent.properties"));
    ASSERT_NE(Root(), nullptr);
    EXPECT_EQ(Root()->GetLevel(), LevelALL);
    EXPECT_TRUE(Root()->GetAppenders().empty());
}
