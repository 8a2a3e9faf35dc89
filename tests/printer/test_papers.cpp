// The printer's paper list and the position of its current paper (in-memory spooler).
#include "Lib_String.h"
#include "PrinterFixture.h"
#include "SpoolerFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
const DWORD kSize = DM_PAPERWIDTH | DM_PAPERLENGTH;
const DWORD kAll = kSize | DM_FORMNAME;

class PapersTest : public SpoolerTest {
protected:
    PapersTest() {
        TFakePrinter p;
        p.name = L"Label";
        p.paperNames = {L"72 x 25mm", L"72 x 50mm", L"72 x 50mm", L"Tiny", L"Again 72 x 25mm"};
        p.paperSizes = {{720, 250}, {720, 500}, {500, 720}, {3, 4}, {720, 250}};
        m_spooler.printers.push_back(p);
    }
    TFakePrinter& Printer() { return m_spooler.printers[0]; }
    void Current(DWORD fields, const wchar_t* form, short width, short length) {
        Printer().devMode = MakeDevMode(std::vector<BYTE>(8, 0x11), fields, form, width, length);
    }
};

TEST_F(PapersTest, ListsEveryPaperWithItsSizeAndAsksWithTheCurrentSettings) {
    Current(kAll, L"72 x 50mm", 720, 500);
    std::vector<std::wstring> list;
    EXPECT_EQ(GetPaperSizes(L"Label", list), 1);
    EXPECT_THAT(list, ElementsAre(L"72 x 25mm|720|250", L"72 x 50mm|720|500", L"72 x 50mm|500|720", L"Tiny|3|4",
                                  L"Again 72 x 25mm|720|250"));
    EXPECT_THAT(m_spooler.calls, ElementsAre(L"OpenPrinter:Label", L"DocumentProperties", L"PaperNames:Label,LPT1:",
                                             L"PaperSizes:Label,LPT1:"));
    EXPECT_FALSE(m_spooler.openedWithDefaults);
    EXPECT_EQ(m_spooler.capsDevMode, Printer().devMode);
}

TEST_F(PapersTest, CurrentPaperIsTheLastExactSizeElseTheLastNameElseTheLastNearSize) {
    struct {
        const char* what;
        DWORD fields;
        const wchar_t* form;
        short width, length;
        int expected;
    } cases[] = {
        {"size beats a later paper of the same name", kAll, L"72 x 50mm", 720, 500, 1},
        {"the last of two papers of that size", kAll, L"72 x 25mm", 720, 250, 4},
        {"name alone: the last paper of that name", kAll, L"72 x 50mm", 725, 500, 2},
        {"within half a millimetre", kAll, L"Other", 722, 498, 1},
        {"half a millimetre off is too far", kAll, L"Other", 725, 500, -1},
        {"no size fields: only the name counts", DM_FORMNAME, L"72 x 25mm", 720, 500, 0},
        {"width without length is no size", DM_PAPERWIDTH | DM_FORMNAME, L"Other", 720, 500, 3},
        {"no size fields and no name: a paper under half a millimetre", 0, L"72 x 50mm", 720, 500, 3},
        {"names compare exactly", kAll, L"72 X 50MM", 10, 10, -1},
    };
    for (const auto& c : cases) {
        Current(c.fields, c.form, c.width, c.length);
        std::vector<std::wstring> list;
        EXPECT_EQ(GetPaperSizes(L"Label", list), c.expected) << c.what;
        EXPECT_EQ(list.size(), 5u) << c.what;
    }
}

TEST_F(PapersTest, AFormNameFillingItsFieldIsReadWithinIt) {
    const std::wstring full = L"Label 32 units wide, no end: ABC";  // exactly 32 units
    ASSERT_EQ(full.size(), 32u);
    Printer().paperNames.push_back(full);
    Printer().paperSizes.push_back({1, 1000});
    Current(kAll, full.c_str(), 10, 10);
    std::vector<std::wstring> list;
    EXPECT_EQ(GetPaperSizes(L"Label", list), 5);
}

TEST_F(PapersTest, APrinterThatCannotBeOpenedLeavesTheListAlone) {
    std::vector<std::wstring> list = {L"kept"};
    EXPECT_EQ(GetPaperSizes(L"No Such Printer", list), -1);
    m_spooler.failures[L"OpenPrinter"] = ERROR_ACCESS_DENIED;
    EXPECT_EQ(GetPaperSizes(L"Label", list), -1);
    EXPECT_THAT(list, ElementsAre(L"kept"));
}

TEST_F(PapersTest, UnreadableSettingsStillListThePapersWithNothingCurrent) {
    Printer().paperNames.pop_back(), Printer().paperSizes.pop_back();
    Printer().paperNames.erase(Printer().paperNames.begin() + 3);  // no paper near 0 x 0
    Printer().paperSizes.erase(Printer().paperSizes.begin() + 3);
    Current(kAll, L"72 x 50mm", 720, 500);
    for (int variant = 0; variant < 2; ++variant) {
        if (variant == 0) m_spooler.failures[L"DocumentProperties"] = ERROR_INVALID_HANDLE;
        else Printer().devMode.resize(60);  // cut short by a driver: too short for its own header
        std::vector<std::wstring> list;
        EXPECT_EQ(GetPaperSizes(L"Label", list), -1) << variant;
        EXPECT_EQ(list.size(), 3u) << variant;
        EXPECT_THAT(m_spooler.capsDevMode, IsEmpty()) << "the driver's defaults answer";
        m_spooler.failures.clear();
    }
}

TEST_F(PapersTest, AFailedPaperQueryListsNothing) {
    Current(kAll, L"72 x 50mm", 720, 500);
    for (const wchar_t* call : {L"PaperNames", L"PaperSizes"}) {
        m_spooler.failures = {{call, ERROR_INVALID_PARAMETER}};
        std::vector<std::wstring> list;
        EXPECT_EQ(GetPaperSizes(L"Label", list), -1) << WideToUtf8(call);
        EXPECT_THAT(list, IsEmpty());
    }
}

TEST_F(PapersTest, OnlyPapersWithBothANameAndASizeAreListed) {
    Current(kAll, L"Third", 300, 300);
    // More names than sizes: the third name has no size and cannot be current.
    Printer().paperNames = {L"First", L"Second", L"Third"};
    Printer().paperSizes = {{100, 100}, {200, 200}};
    std::vector<std::wstring> list;
    EXPECT_EQ(GetPaperSizes(L"Label", list), -1);
    EXPECT_THAT(list, ElementsAre(L"First|100|100", L"Second|200|200"));
    // More sizes than names: the third size has no name and cannot be current.
    Printer().paperNames = {L"First", L"Second"};
    Printer().paperSizes = {{100, 100}, {200, 200}, {300, 300}};
    list.clear();
    EXPECT_EQ(GetPaperSizes(L"Label", list), -1);
    EXPECT_EQ(list.size(), 2u);
}

TEST_F(PapersTest, NoFormNameMatchesNoPaperWithoutAName) {
    Printer().paperNames = {L"", L"Named"};
    Printer().paperSizes = {{100, 100}, {200, 200}};
    Current(kSize | DM_FORMNAME, L"", 900, 900);
    std::vector<std::wstring> list;
    EXPECT_EQ(GetPaperSizes(L"Label", list), -1);
    EXPECT_THAT(list, ElementsAre(L"|100|100", L"Named|200|200"));
}

TEST_F(PapersTest, MoreThan256PapersAreAllListed) {
    Printer().paperNames.clear(), Printer().paperSizes.clear();
    for (int i = 0; i < 300; ++i) {
        Printer().paperNames.push_back(FormatW(L"Paper %d", i));
        Printer().paperSizes.push_back({100 + i, 200});
    }
    Current(kAll, L"Paper 299", 399, 200);
    std::vector<std::wstring> list;
    EXPECT_EQ(GetPaperSizes(L"Label", list), 299);
    ASSERT_EQ(list.size(), 300u);
    EXPECT_EQ(list[299], L"Paper 299|399|200");
}

TEST_F(PapersTest, ItemsAreAppendedAndThePositionCountsFromTheListsStart) {
    Current(kAll, L"72 x 50mm", 720, 500);
    std::vector<std::wstring> list = {L"earlier|1|1"};
    EXPECT_EQ(GetPaperSizes(L"Label", list), 2);
    EXPECT_EQ(list[2], L"72 x 50mm|720|500");
}
}  // namespace
