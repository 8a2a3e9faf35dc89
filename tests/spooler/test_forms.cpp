// Label paper forms: the four fixed names deleted first, the entries of Driver_Forms added.
#include "Lib_Error.h"
#include "Lib_InstallAssist_Legacy.h"
#include "Lib_String.h"
#include "SpoolerFixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {
struct TExpectedForm {
    std::wstring name;
    LONG width, height;  // thousandths of a millimetre
};

class FormsTest : public SpoolerTest {
protected:
    int Add(const std::wstring& forms) {
        TTDriverInfo r;
        r.DriverInstanceName = L"Ondrix Printer";
        r.Driver_Forms = forms;
        return AddLabelForms(r);
    }
    void ExpectForms(const std::vector<TExpectedForm>& expected) {
        ASSERT_EQ(m_spooler.forms.size(), expected.size());
        for (const TExpectedForm& e : expected) {
            SCOPED_TRACE(WideToUtf8(e.name));
            ASSERT_EQ(m_spooler.forms.count(e.name), 1u);
            const TFakeForm& f = m_spooler.forms[e.name];
            EXPECT_EQ(f.flags, (DWORD)FORM_USER);
            EXPECT_EQ(f.size.cx, e.width);
            EXPECT_EQ(f.size.cy, e.height);
            // the whole label is printable
            EXPECT_EQ(f.area.left, 0);
            EXPECT_EQ(f.area.top, 0);
            EXPECT_EQ(f.area.right, e.width);
            EXPECT_EQ(f.area.bottom, e.height);
        }
    }
};

TEST_F(FormsTest, EntriesBecomeFormsInThousandthsOfAMillimetre) {
    struct {
        const wchar_t* forms;
        std::vector<TExpectedForm> added;
        int result;
    } cases[] = {
        {L"72 x 50mm[72,50]", {{L"72 x 50mm", 72000, 50000}}, 1},
        {L"72 x 25mm[72,25];40 x 30mm[40,30]", {{L"72 x 25mm", 72000, 25000}, {L"40 x 30mm", 40000, 30000}}, 1},
        {L"", {}, -1},
        {L"72 x 25mm[72,25];", {{L"72 x 25mm", 72000, 25000}}, 1},   // a trailing separator adds nothing
        {L"Label 40 x 30 [40,30]", {{L"Label 40 x 30 ", 40000, 30000}}, 1},  // the name is kept as written
        {L"72 x 25mm[72, 25 ]", {{L"72 x 25mm", 72000, 25000}}, 1},  // blanks around a number
        // the bracket part is read as 32 characters: "[72," and 27 zeros leave "5" of "50"
        {L"Cut[72,00000000000000000000000000050]", {{L"Cut", 72000, 5000}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.forms));
        m_spooler.forms.clear();
        EXPECT_EQ(Add(c.forms), c.result);
        ExpectForms(c.added);
    }
    EXPECT_THAT(m_log.Lines(), IsEmpty());
}

TEST_F(FormsTest, SizeThatIsNotAWholeNumberRaisesAtThatEntry) {
    const wchar_t* bad[] = {
        L"72 x 50mm[7a,50]",
        L"72 x 50mm[72]",        // no height
        L"72 x 50mm",            // no size at all
        L"72 x 50mm[72.5,50]",
        L"Huge[2147484,10]",     // thousandths beyond 32 bits
    };
    for (const wchar_t* entry : bad) {
        SCOPED_TRACE(WideToUtf8(entry));
        m_spooler.forms.clear();
        try {
            Add(std::wstring(L"72 x 25mm[72,25];") + entry + L";72 x 75mm[72,75]");
            ADD_FAILURE() << "no error raised";
        } catch (const EKovrinError& e) {
            EXPECT_THAT(e.Message(), HasSubstr(L"is not a valid integer value"));
            EXPECT_THAT(e.Message(), HasSubstr(entry));
        }
        ExpectForms({{L"72 x 25mm", 72000, 25000}});  // the entry before it stays, none after
    }
}

TEST_F(FormsTest, ResultIsTheOutcomeOfTheLastEntry) {
    m_spooler.forms[L"Custom"] = TFakeForm{FORM_USER, {10, 10}, {0, 0, 10, 10}};
    m_spooler.addFormErrors[L"Bad"] = ERROR_INVALID_PARAMETER;
    struct {
        const wchar_t* forms;
        int result;
    } cases[] = {
        {L"Bad[1,1];New[10,20]", 1},
        {L"New[10,20];Bad[1,1]", ERROR_INVALID_PARAMETER},
        {L"Custom[50,30]", 1},  // already there: counts as added and keeps its own size
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.forms));
        m_spooler.forms.erase(L"New");
        EXPECT_EQ(Add(c.forms), c.result);
    }
    EXPECT_EQ(m_spooler.forms[L"Custom"].size.cx, 10);
    EXPECT_THAT(m_log.Lines(), ElementsAre(L"ERROR:" + Utf8("添加纸张（Bad）失败：87"), L"ERROR:" + Utf8("添加纸张（Bad）失败：87")));
}

TEST_F(FormsTest, ServerThatCannotBeOpenedSkipsTheEntry) {
    m_spooler.serverOpenFailures = 1;
    EXPECT_EQ(Add(L"A[10,10];B[20,20]"), 1);
    ExpectForms({{L"B", 20000, 20000}});
    m_spooler.serverOpenFailures = 1;
    EXPECT_EQ(Add(L"C[30,30]"), -1);  // no entry reached the spooler
    EXPECT_THAT(m_log.Lines(), ElementsAre(L"ERROR:" + Utf8("打开打印机驱动（Ondrix Printer）失败（5），不能添加纸张！"),
                                           L"ERROR:" + Utf8("打开打印机驱动（Ondrix Printer）失败（5），不能添加纸张！")));
}

TEST_F(FormsTest, DeletesTheFourFixedFormsInOrderAndCountsThoseThatWereThere) {
    for (const wchar_t* name : {L"72 x 25mm", L"72 x 100mm", L"72 x 30mm"})
        m_spooler.forms[name] = TFakeForm{};
    EXPECT_EQ(DeleteLabelForms(), 2);
    EXPECT_THAT(m_spooler.calls, ElementsAre(L"OpenServer", L"DeleteForm:72 x 25mm", L"DeleteForm:72 x 50mm",
                                             L"DeleteForm:72 x 75mm", L"DeleteForm:72 x 100mm"));
    EXPECT_EQ(m_spooler.forms.count(L"72 x 30mm"), 1u);

    m_spooler.calls.clear();
    m_spooler.serverOpenFailures = 1;
    EXPECT_EQ(DeleteLabelForms(), 0);
    EXPECT_THAT(m_spooler.calls, ElementsAre(L"OpenServer"));
}

TEST_F(FormsTest, InstallingTwiceReplacesAFixedFormLeftWithAnotherSize) {
    m_spooler.forms[L"72 x 50mm"] = TFakeForm{FORM_USER, {70000, 48000}, {0, 0, 70000, 48000}};
    TPackage package;
    TTempDir target;
    m_spooler.driverDirectory = target.Path();
    TTDriverInfo r = package.Record();
    r.Unidrv_DataFile = r.Unidrv_DriverFile = r.Driver_DriverFile = L"";
    r.Driver_DataFile = L"LABEL.GPD";
    r.Driver_Forms = L"72 x 50mm[72,50]";
    EXPECT_EQ(InstallDriverPackage(r), 1);
    m_spooler.printers.clear();
    EXPECT_EQ(InstallDriverPackage(r), 1);
    ExpectForms({{L"72 x 50mm", 72000, 50000}});
}
}  // namespace
