// Pattern, simple, XML and HTML layouts and the date format.
#include "LogFixture.h"
#include "THTMLLayoutUnit.h"
#include "TSimpleLayoutUnit.h"
#include "TXMLLayoutUnit.h"

namespace {
class LayoutTest : public LogFixture {
protected:
    static std::wstring Run(TLayout& layout, const std::wstring& msg, const TLevel* level = LevelINFO,
                            const TEventError* error = nullptr) {
        return layout.Format(TLoggingEvent(level, msg, L"ROOT", error));
    }
};
const TEventError kError{L"EInOutError", L"disk full"};
}  // namespace

TEST_F(LayoutTest, PatternConversions) {
    struct Case { const wchar_t* pattern; const TLevel* level; const wchar_t* msg; const wchar_t* out; };
    const Case cases[] = {
        {L"%m%n", LevelINFO, L"text", L"text\r"},
        {L"", LevelINFO, L"text", L"text\r"},
        {L"[%5p]", LevelINFO, L"", L"[ INFO]"},
        {L"[%5p]", LevelERROR, L"", L"[ERROR]"},
        {L"[%-5p]", LevelINFO, L"", L"[INFO ]"},
        {L"[%.2p]", LevelINFO, L"", L"[IN]"},
        {L"[%-6.3m]", LevelINFO, L"abcdef", L"[abc   ]"},
        {L"%m", LevelINFO, L"100% %d %s done", L"100% %d %s done"},
        {L"%L: %m", LevelINFO, L"x", L"ROOT: x"},
        {L"<%e>", LevelINFO, L"x", L"<>"},
        {L"%P %M %N", LevelINFO, L"x", L"%P %M %N"},
        {L"%q%m 50%", LevelINFO, L"x", L"%qx 50%"},
        {L"%+5p", LevelINFO, L"", L"%+5p"},
    };
    for (const Case& c : cases) {
        TPatternLayout layout(c.pattern);
        EXPECT_EQ(Run(layout, c.msg, c.level), c.out) << c.pattern;
    }
    TPatternLayout errorLayout(L"%m <%e>");
    EXPECT_EQ(Run(errorLayout, L"x", LevelERROR, &kError), L"x <EInOutError: disk full>");
    TPatternLayout defaultLayout;
    EXPECT_EQ(Run(defaultLayout, L"x"), L"x\r");
}

TEST_F(LayoutTest, PatternDates) {
    struct Case { const wchar_t* pattern; const wchar_t* out; };
    const Case cases[] = {
        {L"%d{yy-mm-dd hh:nn:ss:zzz} [%5p] %m%n", L"25-03-07 14:05:09:123 [ INFO] Start\r"},
        {L"%d{dd mmm yyyy hh:nn:ss:zzz} [%5p] %m%n", L"07 Mar 2025 14:05:09:123 [ INFO] Start\r"},
        {L"%d{hh} %m %d{yyyy}", L"2025 Start 2025"},  // the last date format serves both
        {L"%d{yyyy} %d", L"07/03/2025 14:05:09 07/03/2025 14:05:09"},
        {L"%d{yyyy %m", L"07/03/2025 14:05:09{yyyy Start"},
    };
    for (const Case& c : cases) {
        TPatternLayout layout(c.pattern);
        EXPECT_EQ(Run(layout, L"Start"), c.out) << c.pattern;
    }
}

TEST_F(LayoutTest, DateFormatElements) {
    struct Case { const wchar_t* format; const wchar_t* out; };
    const Case cases[] = {
        {L"y yy yyy yyyy", L"25 25 2025 2025"},
        {L"m mm mmm mmmm", L"3 03 Mar March"},
        {L"d dd ddd dddd", L"7 07 Fri Friday"},
        {L"ddddd", L"07/03/2025"},
        {L"dddddd", L"Friday, 7 March 2025"},
        {L"h hh n nn s ss", L"14 14 5 05 9 09"},
        {L"z zz zzz zzzz", L"123 123 123 123"},
        {L"c", L"07/03/2025 14:05:09"},
        {L"", L"07/03/2025 14:05:09"},
        {L"t|tt", L"14:05|14:05:09"},
        {L"h:m", L"14:5"},
        {L"hh:mm:ss", L"14:05:09"},
        {L"hh mm", L"14 05"},
        {L"hh mmm", L"14 Mar"},
        {L"mm-dd", L"03-07"},
        {L"hh am/pm", L"02 pm"},
        {L"hh AM/PM", L"02 PM"},
        {L"h a/p", L"2 p"},
        {L"h A/P", L"2 P"},
        {L"hh ampm", L"02 PM"},
        {L"hh am/pm hh", L"02 pm 14"},
        {L"aaa aaaa", L"Fri Friday"},
        {L"e g", L"2025 A.D."},
        {L"YYYY/MM/DD HH:NN", L"2025/03/07 14:05"},
        {L"'hh' \"mm\" yy x", L"hh mm 25 x"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, g_fixedTime, TestSettings()), c.out) << c.format;

    SetFixedTime(2025, 3, 7, 0, 0, 0, 5);
    EXPECT_EQ(FormatDateTime(L"h:nn am/pm z zz zzz", g_fixedTime, TestSettings()), L"12:00 am 5 05 005");
    SetFixedTime(2025, 3, 7, 0, 0, 0, 0);
    EXPECT_EQ(FormatDateTime(L"c", g_fixedTime, TestSettings()), L"07/03/2025");  // no time at midnight
    SetFixedTime(2025, 3, 7, 12, 30, 0, 0);
    EXPECT_EQ(FormatDateTime(L"h am/pm", g_fixedTime, TestSettings()), L"12 pm");

    TFormatSettings dotted = TestSettings();
    dotted.DateSeparator = L".";
    dotted.TimeSeparator = L"-";
    EXPECT_EQ(FormatDateTime(L"dd/mm hh:nn", g_fixedTime, dotted), L"07.03 12-30");
}

TEST_F(LayoutTest, LocaleValuesComeFromTheLocaleApi) {
    TFormatSettings us = LocaleFormatSettings(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    EXPECT_EQ(us.ShortMonthNames[2], L"Mar");
    EXPECT_EQ(us.LongMonthNames[11], L"December");
    EXPECT_EQ(us.ShortDayNames[5], L"Fri");
    EXPECT_EQ(us.LongDayNames[0], L"Sunday");
    EXPECT_EQ(us.DateSeparator, L"/");
    EXPECT_EQ(us.TimeSeparator, L":");
    EXPECT_EQ(us.ShortDateFormat, L"m/d/yyyy");  // "M/d/yyyy" in the locale's letters
    EXPECT_EQ(FormatDateTime(L"ddddd", g_fixedTime, us), L"3/7/2025");
    EXPECT_EQ(FormatDateTime(L"tt", g_fixedTime, us), L"2:05:09 PM");
}

TEST_F(LayoutTest, SimpleLayout) {
    TSimpleLayout layout;
    EXPECT_EQ(Run(layout, L"Start", LevelWARN), L"WARN - Start");
    EXPECT_EQ(layout.GetHeader(), L"");
    EXPECT_TRUE(layout.IgnoresException());
}

TEST_F(LayoutTest, XmlLayoutAndPackedTimeStamps) {
    TXMLLayout layout;
    SetFixedTime(2025, 3, 7, 14, 5, 8, 0);
    std::wstring even = Run(layout, L"a<b>");
    EXPECT_EQ(even,
              L"<kvlog:event timestamp=\"1516728484\" level=\"INFO\">\r\n"
              L"    <kvlog:message><![CDATA[a<b>]]></kvlog:message>\r\n"
              L"</kvlog:event>\r\n");
    SetFixedTime(2025, 3, 7, 14, 5, 9, 999);
    EXPECT_EQ(Run(layout, L"a<b>"), even);  // two-second resolution
    EXPECT_EQ(Run(layout, L"m", LevelERROR, &kError),
              L"<kvlog:event timestamp=\"1516728484\" level=\"ERROR\">\r\n"
              L"    <kvlog:message><![CDATA[m]]></kvlog:message>\r\n"
              L"    <kvlog:exception class=\"EInOutError\"><![CDATA[disk full]]></kvlog:exception>\r\n"
              L"</kvlog:event>\r\n");
    EXPECT_EQ(layout.GetContentType(), L"text/xml");
    EXPECT_FALSE(layout.IgnoresException());

    struct Case { WORD year; int stamp; };
    const Case stamps[] = {{1979, 0}, {1980, (1 << 21) | (1 << 16)}, {2107, (127 << 25) | (1 << 21) | (1 << 16)}, {2108, 0}};
    for (const Case& c : stamps) {
        SetFixedTime(c.year, 1, 1, 0, 0, 0, 0);
        EXPECT_EQ(PackedTimeStamp(g_fixedTime), c.stamp) << c.year;
    }
}

TEST_F(LayoutTest, HtmlLayout) {
    THTMLLayout layout;
    EXPECT_EQ(layout.GetTitle(), L"Kvlog Log Messages");
    layout.SetTitle(L"Document Title");
    EXPECT_EQ(layout.GetTitle(), L"Document Title");
    std::wstring header = layout.GetHeader();
    EXPECT_EQ(header.rfind(L"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\"\r\n    \"", 0), 0u);
    EXPECT_NE(header.find(L"<title>Kvlog Log Messages</title>"), std::wstring::npos);  // the title is fixed
    EXPECT_NE(header.find(L"Log session start time Tue Sep 13 16:19:28 SAST 2005"), std::wstring::npos);
    EXPECT_NE(header.find(L"<table cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">"), std::wstring::npos);
    EXPECT_EQ(layout.GetFooter(), L"            </tbody>\r\n        </table>\r\n    </body>\r\n</html>\r\n");
    SetFixedTime(2025, 3, 7, 14, 5, 8, 0);
    EXPECT_EQ(Run(layout, L"m", LevelWARN, &kError),
              L"                <tr>\r\n"
              L"                    <td title=\"Timestamp\">1516728484</td>\r\n"
              L"                    <td title=\"Level\" class=\"WARN\">WARN</td>\r\n"
              L"                    <td title=\"Message\">m; Exception:disk full</td>\r\n"
              L"                </tr>\r\n");
}
