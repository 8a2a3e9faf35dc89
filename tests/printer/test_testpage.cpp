// The test page: a bitmap drawn with the two lines and copied onto a printer DC (in-memory
// spooler; its printer DC is a memory DC, so the page's pixels can be read back).
#include "Lib_String.h"
#include "PrinterFixture.h"
#include "SpoolerFixture.h"
#include <functional>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
const wchar_t* const kLine1 = L"This is a test printout from your ";
const wchar_t* const kLine2 = L"Ondrix printer.";

class TestPageTest : public SpoolerTest {
protected:
    TestPageTest() {
        for (const wchar_t* name : {L"Office Laser", L"Ondrix Printer"}) {
            TFakePrinter p;
            p.name = name;
            m_spooler.printers.push_back(p);
        }
        m_spooler.defaultPrinter = L"Office Laser";
    }
    bool Dark(int x, int y) const {
        COLORREF c = m_spooler.PagePixel(x, y);
        return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
    }
    int FirstInkRow(int from, int to) const {
        for (int y = from; y < to; ++y)
            if (DarkRows(y, y + 1, 720)) return y;
        return to;
    }
    int DarkRows(int from, int to, int width) const {  // rows in [from, to) with a dark pixel
        int rows = 0;
        for (int y = from; y < to; ++y)
            for (int x = 0; x < width; ++x)
                if (Dark(x, y)) {
                    ++rows;
                    break;
                }
        return rows;
    }
};

TEST_F(TestPageTest, TwoLinesOnAWhiteBitmapOnePixelLargerThanAsked) {
    ASSERT_TRUE(PrintTestPage(L"Ondrix Printer", kLine1, kLine2, 720, 500, 28));
    EXPECT_THAT(m_spooler.calls, ElementsAre(L"CreateDC:Ondrix Printer", L"StartDoc:Test page", L"StartPage",
                                             L"EndPage", L"EndDoc"));
    EXPECT_TRUE(m_spooler.PageDCDeleted());

    // The bitmap covers (0,0) to (720,500) on the page and nothing beyond.
    EXPECT_EQ(m_spooler.PagePixel(720, 500), RGB(255, 255, 255));
    EXPECT_EQ(m_spooler.PagePixel(721, 0), TFakeSpooler::kUnprintedColour);
    EXPECT_EQ(m_spooler.PagePixel(0, 501), TFakeSpooler::kUnprintedColour);
    EXPECT_EQ(m_spooler.PagePixel(721, 501), TFakeSpooler::kUnprintedColour);

    // Both lines start with a capital, so their ink starts 2 x 28 rows apart; each is about
    // 28 points (37 pixels at 96 dpi) high, and nothing else is drawn.
    const int first1 = FirstInkRow(0, 501), first2 = FirstInkRow(first1 + 40, 501);
    EXPECT_LT(first1, 10);
    EXPECT_NEAR(first2 - first1, 56, 1);
    EXPECT_GT(DarkRows(first1, first1 + 40, 720), 30) << "first line";
    EXPECT_EQ(DarkRows(first1 + 40, first2, 720), 0) << "gap between the lines";
    EXPECT_GT(DarkRows(first2, first2 + 40, 720), 30) << "second line";
    EXPECT_EQ(DarkRows(first2 + 45, 501, 720), 0) << "nothing below";
}

TEST_F(TestPageTest, PrintsOnTheInstalledPrinterOfThatNameElseOnTheDefault) {
    struct {
        const char* what;
        const wchar_t* name;
        std::function<void(TFakeSpooler&)> arrange;
        const wchar_t* printedOn;  // null: no page
    } cases[] = {
        {"same name", L"Ondrix Printer", [](TFakeSpooler&) {}, L"Ondrix Printer"},
        {"other letter case", L"ONDRIX printer", [](TFakeSpooler&) {}, L"Ondrix Printer"},
        {"not installed", L"Ondrix Printer(copy 1)", [](TFakeSpooler&) {}, L"Office Laser"},
        {"printer list unavailable",
         L"Ondrix Printer", [](TFakeSpooler& s) { s.failures[L"PrinterNames"] = ERROR_ACCESS_DENIED; },
         L"Office Laser"},
        {"not installed and no default", L"Gone", [](TFakeSpooler& s) { s.defaultPrinter.clear(); }, nullptr},
    };
    for (const auto& c : cases) {
        m_spooler.calls.clear();
        m_spooler.failures.clear();
        m_spooler.defaultPrinter = L"Office Laser";
        c.arrange(m_spooler);
        EXPECT_EQ(PrintTestPage(c.name, kLine1, kLine2, 100, 50, 8), c.printedOn != nullptr) << c.what;
        if (c.printedOn) {
            EXPECT_EQ(m_spooler.calls.front(), std::wstring(L"CreateDC:") + c.printedOn) << c.what;
        } else {
            EXPECT_THAT(m_spooler.calls, IsEmpty()) << c.what;
        }
    }
}

TEST_F(TestPageTest, AFailingStepEndsWithoutAPageAndAbandonsAStartedJob) {
    struct {
        const wchar_t* failing;
        std::vector<std::wstring> calls;
    } cases[] = {
        {L"CreateDC", {L"CreateDC:Ondrix Printer"}},
        {L"StartDoc", {L"CreateDC:Ondrix Printer", L"StartDoc:Test page"}},
        {L"StartPage", {L"CreateDC:Ondrix Printer", L"StartDoc:Test page", L"StartPage", L"AbortDoc"}},
        {L"EndPage",
         {L"CreateDC:Ondrix Printer", L"StartDoc:Test page", L"StartPage", L"EndPage", L"AbortDoc"}},
        {L"EndDoc", {L"CreateDC:Ondrix Printer", L"StartDoc:Test page", L"StartPage", L"EndPage", L"EndDoc"}},
    };
    for (const auto& c : cases) {
        m_spooler.calls.clear();
        m_spooler.failures = {{c.failing, ERROR_PRINTER_NOT_FOUND}};
        EXPECT_FALSE(PrintTestPage(L"Ondrix Printer", kLine1, kLine2, 100, 50, 8)) << WideToUtf8(c.failing);
        EXPECT_EQ(m_spooler.calls, c.calls) << WideToUtf8(c.failing);
        if (m_spooler.calls.size() > 1) {
            EXPECT_TRUE(m_spooler.PageDCDeleted()) << WideToUtf8(c.failing);
        }
    }
}

TEST_F(TestPageTest, NoPaperSizeMeansNoPrintJob) {
    struct {
        int width, height;
    } cases[] = {{0, 500}, {720, 0}, {-1, 500}, {720, -5}};
    for (const auto& c : cases) {
        EXPECT_FALSE(PrintTestPage(L"Ondrix Printer", kLine1, kLine2, c.width, c.height, 28)) << c.width;
        EXPECT_THAT(m_spooler.calls, IsEmpty()) << c.width << "x" << c.height;
    }
}
}  // namespace
