// File and rolling file appenders: encoding, append mode, folders, sharing, header and
// footer, roll-over and the size setting.
#include "LogFixture.h"
#include "Lib_Error.h"
#include "THTMLLayoutUnit.h"
#include "TRollingFileAppenderUnit.h"
#include <memory>

namespace {
class AppenderTest : public LogFixture {
protected:
    // A rolling appender with the plain "%m" layout, so records are exactly text + CR LF.
    std::unique_ptr<TRollingFileAppender> Rolling(const std::wstring& name, int backups, const wchar_t* size,
                                                  bool append = false) {
        auto a = std::make_unique<TRollingFileAppender>();
        a->SetMaxBackupIndex(backups);
        a->SetMaxFileSize(std::wstring(size));
        a->setAppend(append);
        a->SetFile(File(name));
        a->SetLayout(std::make_unique<TPatternLayout>(L"%m"));
        return a;
    }
    static void Write(IAppender& a, const std::wstring& text) { a.DoAppend(TLoggingEvent(LevelINFO, text, L"ROOT")); }
    // 98 characters + CR LF: ten make 1000 bytes, the eleventh crosses 1024.
    static std::wstring Record(int i) { return std::wstring(97, L'a' + i % 26) + L"|"; }
};
}  // namespace

TEST_F(AppenderTest, WritesUtf8WithoutMarkAndCreatesFolders) {
    TFileAppender a;
    a.SetFile(File(L"LOG\\deep\\er\\x.log"));
    a.SetLayout(std::make_unique<TPatternLayout>(L"%m"));
    Write(a, Utf8("\xE6\xA0\x87\xE7\xAD\xBE"));
    Write(a, L"");  // an empty record writes nothing at all
    EXPECT_EQ(ReadBytes(File(L"LOG\\deep\\er\\x.log")), "\xE6\xA0\x87\xE7\xAD\xBE\r\n");
}

TEST_F(AppenderTest, AppendModeContinuesOrEmptiesTheFile) {
    for (bool append : {true, false}) {
        WriteBytes(File(L"a.log"), "old\r\n");
        {
            TFileAppender a;
            a.setAppend(append);
            a.SetFile(File(L"a.log"));
            a.SetLayout(std::make_unique<TPatternLayout>(L"%m"));
            Write(a, L"new");
        }
        EXPECT_EQ(ReadBytes(File(L"a.log")), append ? "old\r\nnew\r\n" : "new\r\n") << append;
    }
}

TEST_F(AppenderTest, OthersMayReadButNotWriteTheOpenFile) {
    TFileAppender a;
    a.SetFile(File(L"a.log"));
    HANDLE reader = CreateFileW(File(L"a.log").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    HANDLE writer = CreateFileW(File(L"a.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
}

TEST_F(AppenderTest, FileHeldByAnotherWriterCannotBeOpened) {
    HANDLE other = CreateFileW(File(L"a.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    TFileAppender a;
    EXPECT_THROW(a.SetFile(File(L"a.log")), EKovrinError);
    EXPECT_TRUE(a.IsClosed());
    a.SetLayout(std::make_unique<TPatternLayout>(L"%m"));
    Write(a, L"lost");  // dropped, no fault
    CloseHandle(other);
    EXPECT_EQ(ReadBytes(File(L"a.log")), "");
}

TEST_F(AppenderTest, HeaderWhenLayoutMeetsOpenFileAndFooterOnClose) {
    THTMLLayout html;
    {
        TFileAppender a;
        a.SetFile(File(L"a.html"));
        a.SetLayout(std::make_unique<THTMLLayout>());
    }
    EXPECT_EQ(ReadBytes(File(L"a.html")), WideToUtf8(html.GetHeader() + L"\r\n" + html.GetFooter() + L"\r\n"));
    {
        TFileAppender a;  // the layout comes first: no file yet, so no header
        a.SetLayout(std::make_unique<THTMLLayout>());
        a.SetFile(File(L"b.html"));
    }
    EXPECT_EQ(ReadBytes(File(L"b.html")), WideToUtf8(html.GetFooter() + L"\r\n"));
}

TEST_F(AppenderTest, AppenderWithoutLayoutDropsEvents) {
    TFileAppender a;
    a.SetFile(File(L"a.log"));
    Write(a, L"nothing to format it with");
    EXPECT_EQ(ReadBytes(File(L"a.log")), "");
}

TEST_F(AppenderTest, RecordReachingTheSizeIsWrittenWholeThenTheFileRolls) {
    auto a = Rolling(L"r.log", 1, L"1K");
    std::string expected;
    for (int i = 0; i < 11; ++i) {
        Write(*a, Record(i));
        expected += WideToUtf8(Record(i)) + "\r\n";
        if (i < 10) {
            EXPECT_FALSE(FileExists(File(L"r.log.1"))) << i;
        }
    }
    EXPECT_EQ(ReadBytes(File(L"r.log.1")), expected);  // 1100 bytes: the check follows the write
    EXPECT_EQ(ReadBytes(File(L"r.log")), "");
    Write(*a, L"next");
    EXPECT_EQ(ReadBytes(File(L"r.log")), "next\r\n");
}

TEST_F(AppenderTest, RollOverShiftsBackups) {
    struct Case { int backups; std::vector<std::pair<const wchar_t*, std::string>> after; };
    const std::string big = std::string(1100, 'x') + "\r\n";
    const Case cases[] = {
        {1, {{L"r.log", ""}, {L"r.log.1", big}, {L"r.log.2", "two"}, {L"r.log.3", "three"}}},
        {3, {{L"r.log", ""}, {L"r.log.1", big}, {L"r.log.2", "one"}, {L"r.log.3", "two"}}},
    };
    for (const Case& c : cases) {
        WriteBytes(File(L"r.log.1"), "one");
        WriteBytes(File(L"r.log.2"), "two");
        WriteBytes(File(L"r.log.3"), "three");
        {
            auto a = Rolling(L"r.log", c.backups, L"1K");
            Write(*a, std::wstring(1100, L'x'));
        }
        for (const auto& f : c.after) EXPECT_EQ(ReadBytes(File(f.first)), f.second) << c.backups;
        DeleteFileW(File(L"r.log").c_str());
    }
}

TEST_F(AppenderTest, NoBackupsMeansTheFileKeepsGrowing) {
    for (bool append : {true, false}) {
        {
            auto a = Rolling(L"r.log", 0, L"1K", append);
            Write(*a, std::wstring(1100, L'x'));
            Write(*a, L"more");
        }
        EXPECT_FALSE(FileExists(File(L"r.log.1")));
        EXPECT_EQ(ReadBytes(File(L"r.log")), append ? std::string(1100, 'x') + "\r\nmore\r\n" : "more\r\n") << append;
        DeleteFileW(File(L"r.log").c_str());
    }
}

TEST_F(AppenderTest, FailedRollOverClosesTheAppenderWithoutWritingMore) {
    for (int backups : {0, 1}) {
        ForceDirectories(File(L"LOG"));
        auto a = Rolling(L"LOG\\r.log", backups, L"1K", true);
        Write(*a, L"first");
        std::wstring moved = BlockFolder(File(L"LOG"));
        EXPECT_THROW(Write(*a, std::wstring(1100, L'x')), EKovrinError) << backups;
        EXPECT_TRUE(a->IsClosed());
        std::string before = ReadBytes(moved + L"\\r.log");
        EXPECT_EQ(before, "first\r\n" + std::string(1100, 'x') + "\r\n");
        EXPECT_NO_THROW(Write(*a, L"later"));
        EXPECT_EQ(ReadBytes(moved + L"\\r.log"), before);
        a.reset();
        DeleteFileW(File(L"LOG").c_str());
    }
}

TEST(RollingSize, SizeTexts) {
    struct Case { const wchar_t* text; long long size; };
    const Case cases[] = {
        {L"10M", 10485760},       {L"1K", 1024},          {L"1G", 1073741824},
        {L"2047M", 2146435072},   {L"2G", 2147483648LL},  {L"2048M", 2147483648LL},
        {L"3G", 3221225472LL},    {L"10m", 10485760},     {L"10485760", 10485760},
        {L"10M ", 10485760},      {L"", 10485760},        {L"-1K", -1024},
    };
    for (const Case& c : cases) {
        TRollingFileAppender a;
        EXPECT_EQ(a.GetMaxFileSize(), 10485760);
        a.SetMaxFileSize(std::wstring(c.text));
        EXPECT_EQ(a.GetMaxFileSize(), c.size) << c.text;
    }
    TRollingFileAppender a;
    EXPECT_EQ(a.GetMaxBackupIndex(), 1);
    for (const wchar_t* bad : {L"K", L"tenM", L"1.5G", L"99999999999K"})
        EXPECT_THROW(a.SetMaxFileSize(std::wstring(bad)), EKovrinError) << bad;
}
