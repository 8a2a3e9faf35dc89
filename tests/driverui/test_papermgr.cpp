// Paper manager: lengths, validation, made names, the form-list rules on an in-memory form
// list, the call path into Wine's spooler, and the real dialog driven under Xvfb.
#include "DriverUiHost.h"
#include "TestUtil.h"
#include "dllentry.h"
#include "papermgr.h"
#include "resource.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

// The print server's form list and one printer, in memory. The printer reports every
// server form as a paper name, as a Unidrv driver does.
class TFakePapers final : public IPaperSpooler {
public:
    std::vector<TPaperForm> forms;
    std::vector<std::wstring> extraNames;  // printer paper names with no form behind them
    bool printerOpens = true;
    bool noPaperNames = false;
    std::wstring defaultForm;  // the printer's default devmode names this form
    DWORD enumError = 0;

    TPaperForm* Find(const std::wstring& name) {
        for (auto& f : forms)
            if (f.name == name)
                return &f;
        return nullptr;
    }
    DWORD EnumServerForms(std::vector<TPaperForm>& out) override {
        out = enumError ? std::vector<TPaperForm>() : forms;
        return enumError;
    }
    DWORD AddServerForm(const TPaperForm& form) override {
        if (Find(form.name))
            return ERROR_FILE_EXISTS;
        forms.push_back(form);
        return 0;
    }
    DWORD SetServerForm(const TPaperForm& form) override {
        TPaperForm* f = Find(form.name);
        if (!f)
            return ERROR_INVALID_FORM_NAME;
        *f = form;
        return 0;
    }
    DWORD DeleteServerForm(PCWSTR name) override {
        for (auto it = forms.begin(); it != forms.end(); ++it)
            if (it->name == name) {
                forms.erase(it);
                return 0;
            }
        return ERROR_INVALID_FORM_NAME;
    }
    int PaperNames(PCWSTR, std::vector<std::wstring>& names) override {
        names.clear();
        if (noPaperNames)
            return 0;
        for (const auto& f : forms)
            names.push_back(f.name);
        names.insert(names.end(), extraNames.begin(), extraNames.end());
        return static_cast<int>(names.size());
    }
    std::unique_ptr<IPrinterPapers> OpenForPapers(PCWSTR) override {
        if (!printerOpens)
            return nullptr;
        return std::unique_ptr<IPrinterPapers>(new TPrinter(*this));
    }

private:
    class TPrinter final : public IPrinterPapers {
    public:
        explicit TPrinter(TFakePapers& owner) : m_owner(owner) {}
        bool DefaultDevmode(std::vector<BYTE>& devmode) override {
            DEVMODEW dm = {};
            dm.dmSize = sizeof(dm);
            if (!m_owner.defaultForm.empty()) {
                dm.dmFields = DM_FORMNAME;
                lstrcpynW(dm.dmFormName, m_owner.defaultForm.c_str(), CCHFORMNAME);
            }
            const BYTE* p = reinterpret_cast<const BYTE*>(&dm);
            devmode.assign(p, p + sizeof(dm));
            return true;
        }
        bool ReadForm(PCWSTR name, TPaperForm& form) override {
            TPaperForm* f = m_owner.Find(name);
            if (f)
                form = *f;
            return f != nullptr;
        }

    private:
        TFakePapers& m_owner;
    };
};

TPaperForm Form(const std::wstring& name, DWORD flags, LONG cx, LONG cy, RECTL area) {
    TPaperForm f;
    f.name = name;
    f.flags = flags;
    f.size = {cx, cy};
    f.area = area;
    return f;
}

struct TShownMessage {
    std::wstring text, caption;
    UINT type;
};
std::vector<TShownMessage> g_shown;
int WINAPI RecordMessage(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_shown.push_back({text, caption, type});
    return IDOK;
}

LANGID g_lang = 0x0409;
LANGID WINAPI TestLang() { return g_lang; }

class PaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_shown.clear();
        g_lang = 0x0409;
        SetUserLangSource(TestLang);
        SetPaperMessageBox(RecordMessage);
        SetPaperSpooler(&spooler);
        spooler.forms = {
            Form(L"Letter", FORM_BUILTIN, 215900, 279400, {0, 0, 215900, 279400}),
            Form(L"Label 50x30", FORM_USER, 50000, 30000, {1000, 2000, 47000, 26000}),
            Form(L"Label 100x150", FORM_USER, 100000, 150000, {0, 0, 100000, 150000}),
            Form(L"Roll 58", FORM_PRINTER, 58000, 210000, {0, 0, 58000, 210000}),
        };
    }
    void TearDown() override {
        SetPaperSpooler(nullptr);
        SetPaperMessageBox(nullptr);
        SetUserLangSource(nullptr);
    }
    // The single message shown since the last call, as "text|caption".
    std::wstring Shown() {
        if (g_shown.size() != 1)
            return L"<" + std::to_wstring(g_shown.size()) + L" messages>";
        EXPECT_EQ(g_shown[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        std::wstring s = g_shown[0].text + L"|" + g_shown[0].caption;
        g_shown.clear();
        return s;
    }
    static PAPERFIELDS Fields(const std::wstring& name, double w, double h, double l = 0, double t = 0, double r = 0,
                              double b = 0) {
        PAPERFIELDS f;
        f.name = name;
        f.width = w;
        f.height = h;
        f.left = l;
        f.top = t;
        f.right = r;
        f.bottom = b;
        return f;
    }
    TFakePapers spooler;
};

}  // namespace

// ---- Lengths and names ------------------------------------------------------------------

TEST(PaperUnitsTest, MillimetresToFormUnitsAndBack) {
    struct Case {
        double mm;
        LONG units;
    } cases[] = {{50.8, 50800}, {30, 30000}, {0.1234567, 123}, {-0.0005, 0}, {0.01, 10}, {-2.5, -2500},
                 // beyond what a form can hold: clamped, never undefined
                 {1e300, 2147483647}, {-1e300, -2147483647 - 1}};
    for (const Case& c : cases)
        EXPECT_EQ(PaperUnits(c.mm), c.units) << c.mm;
    EXPECT_EQ(FormatMillimetres(50800), L"50.80");
    EXPECT_EQ(FormatMillimetres(123), L"0.12");
    EXPECT_EQ(FormatMillimetres(-2500), L"-2.50");
    EXPECT_EQ(FormatMillimetres(215900), L"215.90");
}

TEST(PaperUnitsTest, TypedTextParsesLikeWtof) {
    struct Case {
        const wchar_t* text;
        double mm;
    } cases[] = {{L"50.8", 50.8}, {L"  12.5mm", 12.5}, {L"-3", -3}, {L"abc", 0}, {L"", 0}, {L"1e2", 100}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ParseMillimetres(c.text), c.mm) << c.text;
    EXPECT_DOUBLE_EQ(ParseMillimetres(nullptr), 0);
}

TEST(PaperUnitsTest, MadeNameUsesTwoDigitIntegerParts) {
    EXPECT_EQ(MadePaperName(50.8, 30), L"50 x 30 mm");
    EXPECT_EQ(MadePaperName(5, 3), L"05 x 03 mm");
    EXPECT_EQ(MadePaperName(100.99, 150), L"100 x 150 mm");
    EXPECT_EQ(MadePaperName(0.005, 0), L"00 x 00 mm");
    EXPECT_EQ(MadePaperName(1e300, 3), L"2147483647 x 03 mm");
}

// ---- Validation and the form record ---------------------------------------------------------

TEST_F(PaperTest, ValidationRulesAndTheirMessages) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        PAPERFIELDS f;
        const wchar_t* message;  // null: valid
    } cases[] = {
        {Fields(L"a", 50, 30), nullptr},
        {Fields(L"a", 0.005, 30), L"Paper size error|Error"},
        {Fields(L"a", 50, 0.005), L"Paper size error|Error"},
        {Fields(L"a", 0.01, 0.01), nullptr},
        {Fields(L"a", 50, 30, 25, 0, 25, 0), L"Paper margin error|Error"},
        {Fields(L"a", 50, 30, 24.99, 0, 25, 0), nullptr},
        {Fields(L"a", 50, 30, 0, 15, 0, 15), L"Paper margin error|Error"},
        {Fields(L"a", 50, 30, -0.0005, -0.0005, -0.0005, -0.0005), nullptr},
        {Fields(L"a", 50, 30, 0, -0.002, 0, 0), L"Paper margin error|Error"},
        {Fields(L"a", 50, 30, 0, 0, 0, -1), L"Paper margin error|Error"},
        // lengths a form cannot hold, or no number at all
        {Fields(L"a", 3e6, 30), L"Paper size error|Error"},
        {Fields(L"a", nan, 30), L"Paper size error|Error"},
        {Fields(L"a", 50, 30, nan, 0, 0, 0), L"Paper margin error|Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.f.width << " x " << c.f.height << " l" << c.f.left << " t" << c.f.top
                                        << " r" << c.f.right << " b" << c.f.bottom);
        EXPECT_EQ(ValidatePaper(nullptr, c.f), c.message == nullptr);
        if (c.message)
            EXPECT_EQ(Shown(), c.message);
        else
            EXPECT_TRUE(g_shown.empty());
        g_shown.clear();
    }
}

TEST_F(PaperTest, MessagesFollowTheUserLanguage) {
    g_lang = 0x0804;
    EXPECT_FALSE(ValidatePaper(nullptr, Fields(L"a", 0, 30)));
    EXPECT_EQ(Shown(), Utf8("纸张大小错误|出错了"));
    EXPECT_FALSE(ValidatePaper(nullptr, Fields(L"a", 50, 30, 30, 0, 30, 0)));
    EXPECT_EQ(Shown(), Utf8("纸张边界错误|出错了"));
    PAPERFIELDS f = Fields(L"", 40, 20);
    EXPECT_TRUE(AddPaperForm(nullptr, f));
    EXPECT_EQ(Shown(), Utf8("已添加纸张|提示"));
    EXPECT_TRUE(SetPaperForm(nullptr, Fields(L"40 x 20 mm", 41, 20)));
    EXPECT_EQ(Shown(), Utf8("已修改纸张参数|提示"));
    EXPECT_FALSE(SetPaperForm(nullptr, Fields(L"", 41, 20)));
    EXPECT_EQ(Shown(), Utf8("请输入纸张名称|出错了"));
    EXPECT_FALSE(SetPaperForm(nullptr, Fields(L"nowhere", 41, 20)));
    EXPECT_EQ(Shown(), SystemErrorText(ERROR_INVALID_FORM_NAME) + Utf8("|设置纸张错误"));
    // 0x1404 is Chinese (Macao) but not one of the four: English.
    g_lang = 0x1404;
    EXPECT_FALSE(ValidatePaper(nullptr, Fields(L"a", 0, 30)));
    EXPECT_EQ(Shown(), L"Paper size error|Error");
}

TEST_F(PaperTest, FormRecordInFormUnitsMarginsFromEachEdge) {
    TPaperForm f = MakeFormRecord(Fields(L"x", 50.8, 30, 1, 2, 3, 4), FORM_USER);
    EXPECT_EQ(f.name, L"x");
    EXPECT_EQ(f.flags, static_cast<DWORD>(FORM_USER));
    EXPECT_EQ(f.size.cx, 50800);
    EXPECT_EQ(f.size.cy, 30000);
    EXPECT_EQ(f.area.left, 1000);
    EXPECT_EQ(f.area.top, 2000);
    EXPECT_EQ(f.area.right, 47800);
    EXPECT_EQ(f.area.bottom, 26000);
    TPaperForm tiny = MakeFormRecord(Fields(L"y", 10, 10, -0.0005, -0.0005, -0.0005, -0.0005), FORM_BUILTIN);
    EXPECT_EQ(tiny.flags, static_cast<DWORD>(FORM_BUILTIN));
    EXPECT_EQ(tiny.area.left, 0);
    EXPECT_EQ(tiny.area.top, 0);
    EXPECT_EQ(tiny.area.right, 10000);
    EXPECT_EQ(tiny.area.bottom, 10000);
}

// ---- Add, change, delete on the form list -------------------------------------------------------

TEST_F(PaperTest, AddMakesANameWhenNoneIsTyped) {
    PAPERFIELDS f = Fields(L"", 50.8, 30, 1, 1, 1, 1);
    EXPECT_TRUE(AddPaperForm(nullptr, f));
    EXPECT_EQ(f.name, L"50 x 30 mm");
    EXPECT_EQ(Shown(), L"Add paper successful|Notice");
    const TPaperForm* added = spooler.Find(L"50 x 30 mm");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->flags, static_cast<DWORD>(FORM_USER));
    EXPECT_EQ(added->size.cx, 50800);
    EXPECT_EQ(added->area.right, 49800);
}

TEST_F(PaperTest, RefusedAddKeepsTheMadeNameAndTheFormList) {
    const size_t before = spooler.forms.size();
    PAPERFIELDS invalid = Fields(L"", 5, 3, 3, 0, 3, 0);
    EXPECT_FALSE(AddPaperForm(nullptr, invalid));
    EXPECT_EQ(invalid.name, L"05 x 03 mm");
    EXPECT_EQ(Shown(), L"Paper margin error|Error");

    PAPERFIELDS taken = Fields(L"Label 50x30", 60, 40);
    EXPECT_FALSE(AddPaperForm(nullptr, taken));
    EXPECT_EQ(Shown(), SystemErrorText(ERROR_FILE_EXISTS) + L"|Error");
    EXPECT_EQ(spooler.Find(L"Label 50x30")->size.cx, 50000);

    PAPERFIELDS longName = Fields(std::wstring(32, L'n'), 60, 40);
    EXPECT_FALSE(AddPaperForm(nullptr, longName));
    EXPECT_EQ(Shown(), L"Paper name too long (at most 31 characters)|Error");
    PAPERFIELDS longest = Fields(std::wstring(31, L'n'), 60, 40);
    EXPECT_TRUE(AddPaperForm(nullptr, longest));
    g_shown.clear();
    EXPECT_EQ(spooler.forms.size(), before + 1);
}

TEST_F(PaperTest, ChangeChecksTheNameFirstAndKeepsTheFormsFlags) {
    // No name is reported before the size, which is also wrong here.
    EXPECT_FALSE(SetPaperForm(nullptr, Fields(L"", 0, 0)));
    EXPECT_EQ(Shown(), L"No paper name|Error");

    EXPECT_TRUE(SetPaperForm(nullptr, Fields(L"Label 50x30", 52, 31, 0, 0, 2, 1)));
    EXPECT_EQ(Shown(), L"Set paper successful|Notice");
    const TPaperForm* changed = spooler.Find(L"Label 50x30");
    EXPECT_EQ(changed->size.cx, 52000);
    EXPECT_EQ(changed->size.cy, 31000);
    EXPECT_EQ(changed->area.right, 50000);
    EXPECT_EQ(changed->area.bottom, 30000);

    EXPECT_TRUE(SetPaperForm(nullptr, Fields(L"Roll 58", 58, 200)));
    g_shown.clear();
    EXPECT_EQ(spooler.Find(L"Roll 58")->flags, static_cast<DWORD>(FORM_PRINTER));

    EXPECT_FALSE(SetPaperForm(nullptr, Fields(L"Label 50x30", 50, 30, 0, 20, 0, 10)));
    EXPECT_EQ(Shown(), L"Paper margin error|Error");
    EXPECT_EQ(spooler.Find(L"Label 50x30")->size.cx, 52000);

    EXPECT_FALSE(SetPaperForm(nullptr, Fields(L"label 50x30", 50, 30)));
    EXPECT_EQ(Shown(), SystemErrorText(ERROR_INVALID_FORM_NAME) + L"|Set paper error");
}

TEST_F(PaperTest, DeleteReportsTheServersAnswer) {
    EXPECT_TRUE(DeletePaper(L"Label 100x150"));
    EXPECT_EQ(spooler.Find(L"Label 100x150"), nullptr);
    EXPECT_FALSE(DeletePaper(L"Label 100x150"));
    EXPECT_TRUE(g_shown.empty());
}

TEST(PaperErrorText, SystemTextOrTheNumber) {
    EXPECT_NE(SystemErrorText(ERROR_ACCESS_DENIED).find(L"ccess"), std::wstring::npos);
    EXPECT_EQ(SystemErrorText(0x2FFFFFFF), L"Error 805306367");
}

// ---- Look-ups ----------------------------------------------------------------------------------

TEST_F(PaperTest, FindByNameIsExactAndOneBased) {
    PAPERENTRY e = {};
    ASSERT_TRUE(FindFormByName(L"Label 100x150", &e));
    EXPECT_EQ(e.nIndex, 3);
    EXPECT_EQ(e.dwFlags, static_cast<DWORD>(FORM_USER));
    EXPECT_STREQ(e.szName, L"Label 100x150");
    EXPECT_EQ(e.Size.cy, 150000);
    EXPECT_FALSE(FindFormByName(L"letter", &e));
    EXPECT_FALSE(FindFormByName(L"Letter ", &e));
    EXPECT_FALSE(FindFormByName(nullptr, &e));
    spooler.enumError = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(FindFormByName(L"Letter", &e));
}

TEST_F(PaperTest, FindBySizeInTenthsWithPointTwoMillimetreTolerance) {
    spooler.forms.push_back(Form(L"Second 50x30", FORM_USER, 50000, 30000, {0, 0, 50000, 30000}));
    spooler.forms.push_back(Form(L"Odd", FORM_USER, 70099, 40001, {0, 0, 0, 0}));
    struct Case {
        LONG width, length;
        const wchar_t* name;  // null: no match
    } cases[] = {
        {500, 300, L"Label 50x30"},  // the first of two equal sizes
        {502, 298, L"Label 50x30"},  {498, 302, L"Label 50x30"}, {503, 300, nullptr}, {500, 297, nullptr},
        {2159, 2794, L"Letter"},     {702, 400, L"Odd"},  // 70099 / 100 drops the fraction: 700
        {703, 400, nullptr},
    };
    for (const Case& c : cases) {
        PAPERENTRY e = {};
        EXPECT_EQ(FindFormBySize(c.width, c.length, &e), c.name != nullptr) << c.width << "x" << c.length;
        if (c.name) {
            EXPECT_STREQ(e.szName, c.name);
        }
    }
}

TEST_F(PaperTest, DevmodePaperNameFromFormNameOrSize) {
    WCHAR name[DEVMODE_PAPER_NAME_CCH] = L"untouched";
    DEVMODEW dm = {};
    dm.dmSize = sizeof(dm);
    dm.dmPaperWidth = 1000;
    dm.dmPaperLength = 1500;
    EXPECT_TRUE(GetDevmodePaperName(&dm, name));
    EXPECT_STREQ(name, L"Label 100x150");
    dm.dmFields = DM_FORMNAME;
    wmemset(dm.dmFormName, L'F', CCHFORMNAME);  // no terminator: 32 characters are taken
    EXPECT_TRUE(GetDevmodePaperName(&dm, name));
    EXPECT_EQ(std::wstring(name), std::wstring(CCHFORMNAME, L'F'));
    dm.dmFields = 0;
    dm.dmPaperWidth = 10;
    EXPECT_FALSE(GetDevmodePaperName(&dm, name));
    EXPECT_FALSE(GetDevmodePaperName(nullptr, name));
}

TEST_F(PaperTest, PaperListFromThePrinterWithItsDefaultPosition) {
    spooler.defaultForm = L"Label 100x150";
    spooler.extraNames = {L"Unreadable", std::wstring(63, L'L')};
    PaperList list;
    EXPECT_EQ(ListPrinterPapers(L"VKT", list), 2);
    ASSERT_EQ(list.size(), 6u);
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i]->nIndex, static_cast<LONG>(i + 1));
    EXPECT_STREQ(list[1]->szName, L"Label 50x30");
    EXPECT_EQ(list[1]->Size.cx, 50000);
    EXPECT_EQ(list[1]->ImageableArea.bottom, 26000);
    EXPECT_EQ(list[3]->dwFlags, static_cast<DWORD>(FORM_PRINTER));
    // A form the printer cannot read: name only, never editable as a user form.
    EXPECT_STREQ(list[4]->szName, L"Unreadable");
    EXPECT_EQ(list[4]->Size.cx, 0);
    EXPECT_EQ(list[4]->dwFlags, static_cast<DWORD>(FORM_BUILTIN));
    EXPECT_EQ(std::wstring(list[5]->szName), std::wstring(63, L'L'));

    spooler.defaultForm = L"Not listed";
    EXPECT_EQ(ListPrinterPapers(L"VKT", list), -1);
    EXPECT_EQ(list.size(), 6u);
    spooler.defaultForm.clear();
    spooler.forms.resize(1);  // the default devmode's size is A4's: no form of that size
    EXPECT_EQ(ListPrinterPapers(L"VKT", list), -1);
    EXPECT_EQ(list.size(), 3u);
}

TEST_F(PaperTest, PaperListLeftAloneWithoutNamesOrPrinter) {
    PaperList list;
    list.emplace_back(new PAPERENTRY());
    spooler.noPaperNames = true;
    EXPECT_EQ(ListPrinterPapers(L"VKT", list), -1);
    EXPECT_EQ(list.size(), 1u);
    spooler.noPaperNames = false;
    spooler.printerOpens = false;
    EXPECT_EQ(ListPrinterPapers(L"VKT", list), -2);
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(PaperTest, ManyPaperNamesAreAllListed) {
    for (int i = 0; i < 600; ++i)
        spooler.extraNames.push_back(L"P" + std::to_wstring(i));
    spooler.defaultForm = L"P599";
    PaperList list;
    EXPECT_EQ(ListPrinterPapers(L"VKT", list), 603);
    EXPECT_EQ(list.size(), 604u);
}

TEST_F(PaperTest, ShownTextsInMillimetresWithTwoDecimals) {
    PAPERENTRY e = {};
    ASSERT_TRUE(FindFormByName(L"Label 50x30", &e));
    std::vector<std::pair<int, std::wstring>> texts;
    for (const PAPERTEXT& t : PaperTexts(e))
        texts.emplace_back(t.id, t.text);
    std::vector<std::pair<int, std::wstring>> expected = {
        {IDC_PM_NAME, L"Label 50x30"}, {IDC_PM_WIDTH, L"50.00"}, {IDC_PM_HEIGHT, L"30.00"}, {IDC_PM_TOP, L"2.00"},
        {IDC_PM_BOTTOM, L"4.00"},      {IDC_PM_LEFT, L"1.00"},   {IDC_PM_RIGHT, L"3.00"}};
    EXPECT_EQ(texts, expected);
}

// ---- The call path into Wine's spooler ----------------------------------------------------------
// Wine's AddFormW and DeleteFormW report success without changing its list, so these check
// the calls and their outcomes only.

TEST(PaperWineSpooler, FormCallsReachTheLocalPrintServer) {
    g_shown.clear();
    SetPaperMessageBox(RecordMessage);
    SetUserLangSource(TestLang);
    g_lang = 0x0409;
    std::vector<TPaperForm> forms;
    EXPECT_EQ(PaperSpooler().EnumServerForms(forms), 0u);
    PAPERFIELDS f;
    f.name = L"Kovrin 40x30";
    f.width = 40;
    f.height = 30;
    EXPECT_TRUE(AddPaperForm(nullptr, f));
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].text, L"Add paper successful");
    EXPECT_TRUE(DeletePaper(L"Kovrin 40x30"));
    SetPaperMessageBox(nullptr);
    SetUserLangSource(nullptr);
}

TEST(PaperWineSpooler, PrinterPaperListDoesNotFailHard) {
    PaperList list;
    int p = ListPrinterPapers(Printers().withData.c_str(), list);
    EXPECT_GE(p, -1);
    if (p >= 0) {
        EXPECT_LT(p, static_cast<int>(list.size()));
    }
    PaperList none;
    EXPECT_EQ(ListPrinterPapers(L"No Such Kovrin Printer", none), -1);
    EXPECT_TRUE(none.empty());
}

// ---- The real dialog under Xvfb ---------------------------------------------------------------------

namespace {

class PaperDialog : public PaperTest {
protected:
    void SetUp() override {
        PaperTest::SetUp();
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        spooler.defaultForm = L"Label 50x30";
        dm = PublicDevmode(L"VKT Label Test");
    }
    void TearDown() override {
        if (dlg)
            DestroyWindow(dlg);
        Pump();
        PaperTest::TearDown();
    }
    // The plug-in's own template, run by this program's dialog procedure and seams.
    void Open(WORD templateId) {
        dlg = CreateDialogParamW(Plugin().module, MAKEINTRESOURCEW(templateId), nullptr, DLGProc_PaperManager,
                                 reinterpret_cast<LPARAM>(&dm));
        ASSERT_NE(dlg, nullptr);
        ShowWindow(dlg, SW_SHOW);
        Pump();
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    HWND Item(int id) const { return GetDlgItem(dlg, id); }
    std::wstring Text(int id) const {
        wchar_t text[300] = {};
        GetDlgItemTextW(dlg, id, text, 300);
        return text;
    }
    void Type(int id, const std::wstring& text) { SetDlgItemTextW(dlg, id, text.c_str()); }
    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        HWND list = Item(IDC_PM_LIST);
        int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t text[80] = {};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.push_back(text);
        }
        return lines;
    }
    int Selected() const { return static_cast<int>(SendMessageW(Item(IDC_PM_LIST), LB_GETCURSEL, 0, 0)); }
    // As a click on a line: the selection moves and the list box tells the dialog.
    void Select(int line) {
        SendMessageW(Item(IDC_PM_LIST), LB_SETCURSEL, line, 0);
        SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_PM_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(IDC_PM_LIST)));
        Pump();
    }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    std::wstring Caption() const {
        wchar_t text[80] = {};
        GetWindowTextW(dlg, text, 80);
        return text;
    }
    DEVMODEW dm = {};
    HWND dlg = nullptr;
};

}  // namespace

TEST_F(PaperDialog, OpensOnThePrintersDefaultPaper) {
    Open(IDD_PAPERMANAGER_EN);
    EXPECT_EQ(Caption(), L"Paper size");
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"Letter", L"Label 50x30", L"Label 100x150", L"Roll 58"}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Text(IDC_PM_NAME), L"Label 50x30");
    EXPECT_EQ(Text(IDC_PM_WIDTH), L"50.00");
    EXPECT_EQ(Text(IDC_PM_HEIGHT), L"30.00");
    EXPECT_EQ(Text(IDC_PM_TOP), L"2.00");
    EXPECT_EQ(Text(IDC_PM_BOTTOM), L"4.00");
    EXPECT_EQ(Text(IDC_PM_LEFT), L"1.00");
    EXPECT_EQ(Text(IDC_PM_RIGHT), L"3.00");
    EXPECT_FALSE(Enabled(IDC_PM_NAME));
    EXPECT_TRUE(Enabled(IDC_PM_SAVE));
    EXPECT_TRUE(Enabled(IDC_PM_REMOVE));
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_PM_METRIC), static_cast<UINT>(BST_CHECKED));
    EXPECT_FALSE(Enabled(IDC_PM_INCH));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_PM_METRIC)));
    EXPECT_NE(GetWindowLongPtrW(dlg, GWLP_USERDATA), 0);
}

TEST_F(PaperDialog, ChineseTemplateCarriesTheSameControls) {
    Open(IDD_PAPERMANAGER_CN);
    EXPECT_EQ(Caption(), Utf8("自定义纸张"));
    EXPECT_EQ(Lines().size(), 4u);
    EXPECT_EQ(Text(IDC_PM_WIDTH), L"50.00");
    wchar_t close[20] = {};
    GetWindowTextW(Item(IDCANCEL), close, 20);
    EXPECT_EQ(std::wstring(close), Utf8("关闭"));
}

TEST_F(PaperDialog, BuiltInFormsAreReadOnlyUntilANewPaperIsChosen) {
    Open(IDD_PAPERMANAGER_EN);
    Select(0);
    EXPECT_EQ(Text(IDC_PM_NAME), L"Letter");
    EXPECT_EQ(Text(IDC_PM_WIDTH), L"215.90");
    EXPECT_FALSE(Enabled(IDC_PM_SAVE));
    EXPECT_FALSE(Enabled(IDC_PM_REMOVE));
    Click(IDC_PM_NEW);
    EXPECT_TRUE(Enabled(IDC_PM_SAVE));
    EXPECT_TRUE(Enabled(IDC_PM_NAME));
    EXPECT_EQ(Text(IDC_PM_NAME), L"");
    EXPECT_FALSE(Enabled(IDC_PM_REMOVE));
    Select(3);
    EXPECT_FALSE(Enabled(IDC_PM_SAVE));  // a printer form
    // Clearing the box disables Save even on a user form, until another selection.
    Select(2);
    EXPECT_TRUE(Enabled(IDC_PM_SAVE));
    Click(IDC_PM_NEW);
    EXPECT_FALSE(Enabled(IDC_PM_SAVE));
    EXPECT_FALSE(Enabled(IDC_PM_NAME));
    Select(1);
    EXPECT_TRUE(Enabled(IDC_PM_SAVE));
}

TEST_F(PaperDialog, SavingANewPaperAddsItAndRefreshesTheList) {
    Open(IDD_PAPERMANAGER_EN);
    Click(IDC_PM_NEW);
    Type(IDC_PM_WIDTH, L"50.8");
    Type(IDC_PM_HEIGHT, L"30");
    for (int id : {IDC_PM_TOP, IDC_PM_BOTTOM, IDC_PM_LEFT, IDC_PM_RIGHT})
        Type(id, L"0");
    Click(IDC_PM_SAVE);
    EXPECT_EQ(Shown(), L"Add paper successful|Notice");
    ASSERT_NE(spooler.Find(L"50 x 30 mm"), nullptr);
    EXPECT_EQ(spooler.Find(L"50 x 30 mm")->size.cx, 50800);
    EXPECT_EQ(Lines().size(), 5u);
    EXPECT_EQ(Lines().back(), L"50 x 30 mm");
    // The default paper is selected and shown again after the refresh.
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Text(IDC_PM_NAME), L"Label 50x30");
}

TEST_F(PaperDialog, InvalidNewPaperKeepsWhatWasTyped) {
    Open(IDD_PAPERMANAGER_EN);
    Click(IDC_PM_NEW);
    Type(IDC_PM_WIDTH, L"0.005");
    Type(IDC_PM_HEIGHT, L"30");
    Click(IDC_PM_SAVE);
    EXPECT_EQ(Shown(), L"Paper size error|Error");
    EXPECT_EQ(spooler.forms.size(), 4u);
    EXPECT_EQ(Text(IDC_PM_NAME), L"00 x 30 mm");
    EXPECT_EQ(Text(IDC_PM_WIDTH), L"0.005");
}

TEST_F(PaperDialog, SavingASelectedUserFormChangesIt) {
    Open(IDD_PAPERMANAGER_EN);
    Select(2);
    Type(IDC_PM_WIDTH, L"101.5");
    Type(IDC_PM_BOTTOM, L"5");
    Click(IDC_PM_SAVE);
    EXPECT_EQ(Shown(), L"Set paper successful|Notice");
    const TPaperForm* f = spooler.Find(L"Label 100x150");
    EXPECT_EQ(f->size.cx, 101500);
    EXPECT_EQ(f->area.bottom, 145000);
    EXPECT_EQ(Lines().size(), 4u);
}

TEST_F(PaperDialog, RemoveDeletesTheSelectedFormButNeverTheFirstLine) {
    Open(IDD_PAPERMANAGER_EN);
    Select(0);
    EnableWindow(Item(IDC_PM_REMOVE), TRUE);  // as if the first line were a user form
    Click(IDC_PM_REMOVE);
    EXPECT_EQ(Lines().size(), 4u);
    EXPECT_NE(spooler.Find(L"Letter"), nullptr);
    Select(2);
    Click(IDC_PM_REMOVE);
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"Letter", L"Label 50x30", L"Roll 58"}));
    EXPECT_EQ(spooler.Find(L"Label 100x150"), nullptr);
    EXPECT_TRUE(g_shown.empty());
}

TEST_F(PaperDialog, EmptyListWhenThePrinterHasNoPaperNames) {
    spooler.noPaperNames = true;
    Open(IDD_PAPERMANAGER_EN);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(Text(IDC_PM_NAME), L"");
    // Save still works on what is typed.
    Click(IDC_PM_NEW);
    Type(IDC_PM_NAME, L"Typed");
    Type(IDC_PM_WIDTH, L"40");
    Type(IDC_PM_HEIGHT, L"20");
    Click(IDC_PM_SAVE);
    EXPECT_EQ(Shown(), L"Add paper successful|Notice");
    EXPECT_NE(spooler.Find(L"Typed"), nullptr);
}

TEST_F(PaperDialog, CloseEndsTheDialogAndFreesItsList) {
    Open(IDD_PAPERMANAGER_EN);
    SendMessageW(dlg, WM_CLOSE, 0, 0);
    EXPECT_EQ(GetWindowLongPtrW(dlg, GWLP_USERDATA), 0);
    // A selection after the state is gone shows nothing new.
    Type(IDC_PM_NAME, L"kept");
    Select(2);
    EXPECT_EQ(Text(IDC_PM_NAME), L"kept");
}

// ---- The entry point the label setting page calls ------------------------------------------------

namespace {
HWND g_modal = nullptr;
std::wstring g_modalCaption;
std::vector<std::wstring> g_modalLines;
void CALLBACK CloseModal(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = GetActiveWindow();
    if (!dlg)
        return;
    KillTimer(nullptr, id);
    g_modal = dlg;
    wchar_t text[80] = {};
    GetWindowTextW(dlg, text, 80);
    g_modalCaption = text;
    HWND list = GetDlgItem(dlg, IDC_PM_LIST);
    int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t line[80] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        g_modalLines.push_back(line);
    }
    SendMessageW(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
}
}  // namespace

TEST_F(PaperTest, RunPaperManagerIsModalInTheUsersLanguage) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE saved = ghInstance;
    ghInstance = Plugin().module;
    DEVMODEW dm = PublicDevmode(L"VKT Label Test");
    struct Case {
        LANGID lang;
        std::wstring caption;
    } cases[] = {{0x0409, L"Paper size"}, {0x0804, Utf8("自定义纸张")}};
    for (const Case& c : cases) {
        g_lang = c.lang;
        g_modal = nullptr;
        g_modalLines.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseModal);
        EXPECT_EQ(RunPaperManager(nullptr, &dm), IDCANCEL);
        KillTimer(nullptr, timer);
        EXPECT_NE(g_modal, nullptr);
        EXPECT_FALSE(IsWindow(g_modal));
        EXPECT_EQ(g_modalCaption, c.caption);
        EXPECT_EQ(g_modalLines.size(), 4u);
    }
    ghInstance = saved;
}
