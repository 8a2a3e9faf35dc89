// The label setting page: its record and snapshot in the print system's heap, the field work,
// and the page in a real document settings sheet.
#include "DriverUiHost.h"
#include "TestUtil.h"
#include "dllentry.h"
#include "labelpage.h"
#include "resource.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstring>

namespace {

// A private heap in the role of the print system's OEM heap.
class TOemHeap {
public:
    TOemHeap() : m_heap(HeapCreate(0, 0, 0)) {}
    ~TOemHeap() { HeapDestroy(m_heap); }
    TOemHeap(const TOemHeap&) = delete;
    TOemHeap& operator=(const TOemHeap&) = delete;
    HANDLE get() const { return m_heap; }
    int LiveBlocks() const {
        int n = 0;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(m_heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                ++n;
        return n;
    }

private:
    HANDLE m_heap;
};

OEMLABELDEV LabelBlock(SHORT type, SHORT speed, SHORT density, SHORT hor, SHORT ver, SHORT rotate) {
    OEMLABELDEV dev = {};
    dev.dwSize = sizeof(dev);
    dev.dwSignature = OEM_SIGNATURE;
    dev.dwVersion = OEM_VERSION;
    dev.sPaperType = type;
    dev.sSpeed = speed;
    dev.sDensity = density;
    dev.sPadHor = hor;
    dev.sPadVer = ver;
    dev.sRotate = rotate;
    return dev;
}

bool SameBlock(const OEMLABELDEV& a, const OEMLABELDEV& b) { return memcmp(&a, &b, sizeof(a)) == 0; }

}  // namespace

// ---- Record and snapshot -----------------------------------------------------------------

TEST(LabelPageData, RecordKeepsTheBlockAsCreatedUntilReleased) {
    struct Case {
        const char* name;
        bool applied;
        bool snapshot;
        bool restored;
    } cases[] = {
        {"cancelled", false, true, true},
        {"applied", true, true, false},
        {"cancelled without snapshot", false, false, false},
    };
    for (const Case& c : cases) {
        TOemHeap heap;
        int before = heap.LiveBlocks();
        DEVMODEW dm = PublicDevmode(L"VKT Label Test");
        OEMLABELDEV live = LabelBlock(2, 1, 4, -3, 7, 0);
        const OEMLABELDEV created = live;
        OEMUIPSPARAM block = {};
        block.cbSize = sizeof(block);
        block.hOEMHeap = heap.get();
        block.pPublicDM = &dm;
        block.pOEMDM = &live;
        LABELPAGEDATA* data = CreateLabelPageData(&block);
        ASSERT_NE(data, nullptr) << c.name;
        EXPECT_EQ(data->pPublicDM, &dm);
        EXPECT_EQ(data->pOEMDM, &live);
        EXPECT_EQ(data->hHeap, heap.get());
        EXPECT_EQ(data->bApplied, 0u);
        ASSERT_NE(data->pSavedDM, nullptr);
        EXPECT_TRUE(SameBlock(*data->pSavedDM, created));
        if (!c.snapshot) {
            HeapFree(heap.get(), 0, data->pSavedDM);
            data->pSavedDM = nullptr;
        }
        data->bApplied = c.applied ? 1 : 0;
        live.sPadHor = 12;
        live.sRotate = 3;
        ReleaseLabelPageData(data);
        EXPECT_EQ(SameBlock(live, created), c.restored) << c.name;
        EXPECT_EQ(heap.LiveBlocks(), before) << c.name;
    }
}

TEST(LabelPageData, NoRecordWithoutHeapOrLabelBlock) {
    TOemHeap heap;
    OEMLABELDEV live = LabelBlock(0, 0, 0, 0, 0, 0);
    OEMUIPSPARAM noHeap = {};
    noHeap.pOEMDM = &live;
    OEMUIPSPARAM noBlock = {};
    noBlock.hOEMHeap = heap.get();
    EXPECT_EQ(CreateLabelPageData(nullptr), nullptr);
    EXPECT_EQ(CreateLabelPageData(&noHeap), nullptr);
    EXPECT_EQ(CreateLabelPageData(&noBlock), nullptr);
    ReleaseLabelPageData(nullptr);
}

TEST(LabelPageData, PageWithoutRecordIsNotAddedAndTheSheetGoesOn) {
    int calls = 0;
    static int* s_calls;
    s_calls = &calls;
    OEMUIPSPARAM block = {};
    block.cbSize = sizeof(block);
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof(info);
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.lParamInit = reinterpret_cast<LPARAM>(&block);
    info.pfnComPropSheet = [](HANDLE, UINT, LPARAM, LPARAM) -> LONG_PTR {
        ++*s_calls;
        return 1;
    };
    EXPECT_EQ(AddLabelSettingPage(&info), 1);
    EXPECT_EQ(calls, 0);
}

// ---- Field work ------------------------------------------------------------------------------

TEST(LabelFields, OffsetTextIsStoredAsItsSixteenBitNumber) {
    struct Case {
        PCWSTR text;
        bool stored;
        SHORT value;
    } cases[] = {
        {L"-3", true, -3},       {L"70000", true, 4464}, {L"abc", true, 0},  {L"12mm", true, 12},
        {L"", false, 99},        {L"-32769", true, 32767}, {L"65535", true, -1},
    };
    for (const Case& c : cases) {
        SHORT field = 99;
        EXPECT_EQ(StoreOffsetText(field, c.text), c.stored) << c.text;
        EXPECT_EQ(field, c.value) << c.text;
    }
}

TEST(LabelFields, UpDownStepCountsDownOnPlusOneAndNeverOverflows) {
    struct Case {
        PCWSTR text;
        int delta;
        long long value;
    } cases[] = {
        {L"", -1, 1},   {L"", 1, -1},   {L"5", 1, 4},  {L"5", -1, 6}, {L"x", 3, 1},
        {L"2147483647", -1, 2147483648LL}, {L"-2147483648", 1, -2147483649LL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepOffset(c.text, c.delta), c.value) << c.text << " " << c.delta;
    EXPECT_EQ(CutToShort(2147483648LL), 0);
    EXPECT_EQ(CutToShort(32768), -32768);
}

TEST(LabelFields, CurrentPaperIsTheLastOfItsName) {
    PaperList papers;
    for (PCWSTR name : {L"Label 50x30", L"A4", L"Label 50x30"}) {
        papers.emplace_back(new PAPERENTRY());
        lstrcpynW(papers.back()->szName, name, PAPER_NAME_SLOT_CCH);
    }
    EXPECT_EQ(FindPaperPosition(papers, L"Label 50x30"), 2);
    EXPECT_EQ(FindPaperPosition(papers, L"A4"), 1);
    EXPECT_EQ(FindPaperPosition(papers, L"a4"), -1);
    EXPECT_EQ(FindPaperPosition(papers, L""), -1);
    EXPECT_EQ(FindPaperPosition(PaperList(), L"A4"), -1);
}

// ---- Templates ---------------------------------------------------------------------------------

TEST(LabelTemplates, BothLanguagesCarryEveryControlAtTheirSize) {
    struct Case {
        WORD id;
        std::wstring caption, paperType, gap;
    } cases[] = {{IDD_LABELPAGE_CN, Utf8("高级设置"), Utf8("纸张类型:"), Utf8("间隙纸")},
                 {IDD_LABELPAGE_EN, L"Label setting", L"Paper type : ", L"Gap"}};
    const int ids[] = {IDC_LBL_PAPER,  IDC_CBO_PAPER,   IDC_BTN_PAPERMGR, IDC_LBL_PAPERTYPE, IDC_RAD_SERIAL,
                       IDC_RAD_BLACK,  IDC_RAD_GAP,     IDC_LBL_SPEED,    IDC_CBO_SPEED,     IDC_LBL_DENSITY,
                       IDC_CBO_DENSITY, IDC_EDIT_HOR,   IDC_SPIN_HOR,     IDC_EDIT_VER,      IDC_SPIN_VER,
                       IDC_ROTATE_0,   IDC_ROTATE_90,   IDC_ROTATE_180,   IDC_ROTATE_270};
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 700, 700, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    for (const Case& c : cases) {
        HWND dlg = CreateDialogParamW(Plugin().module, MAKEINTRESOURCEW(c.id), owner, DLGProc_PrintConfigPage, 0);
        ASSERT_NE(dlg, nullptr) << c.id;
        wchar_t text[64] = {};
        GetWindowTextW(dlg, text, 64);
        EXPECT_EQ(std::wstring(text), c.caption) << c.id;
        GetDlgItemTextW(dlg, IDC_LBL_PAPERTYPE, text, 64);
        EXPECT_EQ(std::wstring(text), c.paperType) << c.id;
        GetDlgItemTextW(dlg, IDC_RAD_GAP, text, 64);
        EXPECT_EQ(std::wstring(text), c.gap) << c.id;
        for (int id : ids)
            EXPECT_NE(GetDlgItem(dlg, id), nullptr) << c.id << " " << id;
        // The paper-name list and its label are hidden; everything else shows.
        EXPECT_FALSE(GetWindowLongW(GetDlgItem(dlg, IDC_CBO_PAPER), GWL_STYLE) & WS_VISIBLE);
        EXPECT_FALSE(GetWindowLongW(GetDlgItem(dlg, IDC_LBL_PAPER), GWL_STYLE) & WS_VISIBLE);
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(dlg, IDC_BTN_PAPERMGR), GWL_STYLE) & WS_VISIBLE);
        RECT want = {0, 0, 297, 246}, got;
        MapDialogRect(dlg, &want);
        GetClientRect(dlg, &got);
        EXPECT_EQ(got.right, want.right) << c.id;
        EXPECT_EQ(got.bottom, want.bottom) << c.id;
        DestroyWindow(dlg);
    }
    DestroyWindow(owner);
}

// ---- The page in a real document settings sheet, created by the loaded plug-in ---------------

namespace {

// The sheet's Apply button.
const int kApplyButton = 0x3021;

class LabelSheet : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        dm = PublicDevmode(Printers().withData);
        baseline = heap.LiveBlocks();
    }
    // Opens the document settings sheet for the label block as the print system would.
    void Open(const OEMLABELDEV& block) {
        live = block;
        ui = CreatePluginObject();
        ASSERT_NE(ui, nullptr);
        OEMCUIPPARAM cuip = {};
        cuip.cbSize = sizeof(cuip);
        cuip.pPrinterName = const_cast<PWSTR>(Printers().withData.c_str());
        ASSERT_EQ(ui->CommonUIProp(OEMCUIP_DOCPROP, &cuip), S_OK);

        OEMUIPSPARAM ps = {};
        ps.cbSize = sizeof(ps);
        ps.pPrinterName = cuip.pPrinterName;
        ps.hOEMHeap = heap.get();
        ps.pPublicDM = &dm;
        ps.pOEMDM = &live;
        HRESULT hr = E_FAIL;
        ULONG_PTR result = 0;
        m_page = CollectPluginPage(ui, true, ps, &hr, &result);
        ASSERT_EQ(hr, S_OK);
        ASSERT_NE(m_page, nullptr);
        ASSERT_EQ(result, 1u);

        sheet = ShowSheet(&m_page, L"Printing preferences");
        ASSERT_NE(sheet, nullptr);
        page = PropSheet_GetCurrentPageHwnd(sheet);
        ASSERT_NE(page, nullptr);
    }
    void Close() {
        if (sheet)
            DestroyWindow(sheet);
        sheet = nullptr;
        PumpMessages();
    }
    void TearDown() override {
        Close();
        if (ui)
            ui->Release();
    }
    HWND Item(int id) const { return GetDlgItem(page, id); }
    std::wstring Text(int id) const {
        wchar_t text[64] = {};
        GetDlgItemTextW(page, id, text, 64);
        return text;
    }
    bool Checked(int id) const { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
    LRESULT Selected(int id) const { return SendMessageW(Item(id), CB_GETCURSEL, 0, 0); }
    bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(sheet, kApplyButton)) != FALSE; }
    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        PumpMessages();
    }
    void Type(int id, PCWSTR text) {
        SetDlgItemTextW(page, id, text);
        PumpMessages();
    }
    void Choose(int id, int position) {
        SendMessageW(Item(id), CB_SETCURSEL, position, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    // A mouse click on the upper or lower arrow of an up-down control.
    void Arrow(int id, bool up) {
        HWND spin = Item(id);
        RECT r;
        GetClientRect(spin, &r);
        LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
        SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(spin, WM_LBUTTONUP, 0, at);
        PumpMessages();
    }

    TOemHeap heap;
    int baseline = 0;
    DEVMODEW dm = {};
    OEMLABELDEV live = {};
    IPrintOemUI* ui = nullptr;
    HWND sheet = nullptr;
    HPROPSHEETPAGE m_page = nullptr;
    HWND page = nullptr;
};

}  // namespace

TEST_F(LabelSheet, ShowsTheLiveBlockWithoutMarkingTheSheetChanged) {
    TDebuggerCapture capture;
    Open(LabelBlock(2, 7, 4, -3, 12, 5));
    EXPECT_TRUE(Checked(IDC_RAD_GAP));
    EXPECT_FALSE(Checked(IDC_RAD_SERIAL));
    EXPECT_FALSE(Checked(IDC_RAD_BLACK));
    EXPECT_EQ(SendMessageW(Item(IDC_CBO_SPEED), CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(Selected(IDC_CBO_SPEED), CB_ERR);  // speed 7 is outside the list
    EXPECT_EQ(SendMessageW(Item(IDC_CBO_DENSITY), CB_GETCOUNT, 0, 0), 15);
    EXPECT_EQ(Selected(IDC_CBO_DENSITY), 4);
    EXPECT_EQ(Text(IDC_CBO_DENSITY), L"5");
    EXPECT_EQ(Text(IDC_EDIT_HOR), L"-3");
    EXPECT_EQ(Text(IDC_EDIT_VER), L"12");
    // An unknown rotation shows 0 degrees but stays in the block until the user picks one.
    EXPECT_TRUE(Checked(IDC_ROTATE_0));
    EXPECT_EQ(live.sRotate, 5);
    // Filling the offset edits is not taken for the user's typing.
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(capture.Has("IDC_EDIT_HOR"));
    EXPECT_TRUE(capture.Has("UI:  pageclbk DLGProc_PrintConfigPage WM_INITDIALOG [VKT Label Test] entry.\r\n"));
    Click(IDC_ROTATE_0);
    EXPECT_EQ(live.sRotate, 0);
    EXPECT_TRUE(ApplyEnabled());
}

TEST_F(LabelSheet, EveryControlWritesTheLiveBlock) {
    TDebuggerCapture capture;
    Open(LabelBlock(0, 1, 1, 0, 0, 0));
    Click(IDC_RAD_SERIAL);  // already selected: nothing changes
    EXPECT_EQ(live.sPaperType, 0);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_TRUE(capture.Has("UI:  IOEMUI::IDC_RAD_SERIAL entry.[0]\r\n"));

    struct Case {
        int id;
        SHORT OEMLABELDEV::*field;
        SHORT value;
        const char* trace;  // logs the value before the change
    } clicks[] = {
        {IDC_RAD_BLACK, &OEMLABELDEV::sPaperType, 1, "UI:  IOEMUI::IDC_RAD_BLACK entry.[0]\r\n"},
        {IDC_RAD_GAP, &OEMLABELDEV::sPaperType, 2, "UI:  IOEMUI::IDC_RAD_GAP entry.[1]\r\n"},
        {IDC_ROTATE_90, &OEMLABELDEV::sRotate, 1, "UI:  IOEMUI::IDC_ROTATE_90 entry.[0]\r\n"},
        {IDC_ROTATE_180, &OEMLABELDEV::sRotate, 2, "UI:  IOEMUI::IDC_ROTATE_180 entry.[1]\r\n"},
        {IDC_ROTATE_270, &OEMLABELDEV::sRotate, 3, "UI:  IOEMUI::IDC_ROTATE_270 entry.[2]\r\n"},
        {IDC_ROTATE_0, &OEMLABELDEV::sRotate, 0, "UI:  IOEMUI::IDC_ROTATE_0 entry.[3]\r\n"},
    };
    for (const Case& c : clicks) {
        Click(c.id);
        EXPECT_EQ(live.*c.field, c.value) << c.id;
        EXPECT_TRUE(Checked(c.id)) << c.id;
        EXPECT_TRUE(capture.Has(c.trace)) << c.trace;
    }
    EXPECT_TRUE(ApplyEnabled());

    Choose(IDC_CBO_SPEED, 4);
    Choose(IDC_CBO_DENSITY, 14);
    EXPECT_EQ(live.sSpeed, 4);
    EXPECT_EQ(live.sDensity, 14);

    Type(IDC_EDIT_HOR, L"-3");
    EXPECT_EQ(live.sPadHor, -3);
    Type(IDC_EDIT_HOR, L"70000");
    EXPECT_EQ(live.sPadHor, 4464);
    Type(IDC_EDIT_HOR, L"");  // an empty edit stores nothing
    EXPECT_EQ(live.sPadHor, 4464);
    Type(IDC_EDIT_VER, L"abc");
    EXPECT_EQ(live.sPadVer, 0);
    Type(IDC_EDIT_VER, L"8");
    EXPECT_EQ(live.sPadVer, 8);
    EXPECT_TRUE(capture.Has("UI:  IOEMUI::IDC_EDIT_VER entry.[0]\r\n"));

    // The up arrow beside an empty edit shows 1; the down arrow takes one off.
    Arrow(IDC_SPIN_HOR, true);
    EXPECT_EQ(Text(IDC_EDIT_HOR), L"1");
    EXPECT_EQ(live.sPadHor, 1);
    Arrow(IDC_SPIN_VER, false);
    EXPECT_EQ(Text(IDC_EDIT_VER), L"7");
    EXPECT_EQ(live.sPadVer, 7);
    EXPECT_TRUE(capture.Has("UI:  pageclbk DLGProc_PrintConfigPage UDN_DELTAPOS [VKT Label Test] entry.\r\n"));
}

TEST_F(LabelSheet, CancelAfterApplyRestoresTheBlockAsThePageFoundIt) {
    const OEMLABELDEV created = LabelBlock(1, 2, 5, 0, 0, 0);
    Open(created);
    Click(IDC_RAD_GAP);
    PropSheet_Apply(sheet);
    PumpMessages();
    EXPECT_EQ(live.sPaperType, 2);
    Click(IDC_ROTATE_180);
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
    PumpMessages();
    Close();
    EXPECT_TRUE(SameBlock(live, created));
    EXPECT_EQ(heap.LiveBlocks(), baseline);  // record and snapshot went back to the heap
}

TEST_F(LabelSheet, OkKeepsTheEditedBlock) {
    Open(LabelBlock(1, 2, 5, 0, 0, 0));
    Click(IDC_ROTATE_270);
    Type(IDC_EDIT_VER, L"-4");
    PropSheet_PressButton(sheet, PSBTN_OK);
    PumpMessages();
    Close();
    EXPECT_EQ(live.sRotate, 3);
    EXPECT_EQ(live.sPadVer, -4);
    EXPECT_EQ(live.sPaperType, 1);
    EXPECT_EQ(heap.LiveBlocks(), baseline);
}

namespace {

HWND g_paperManager = nullptr;

// Closes the paper manager once it shows, from inside its modal loop.
void CALLBACK CloseOwnedDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM) -> BOOL {
            if (GetDlgItem(hwnd, IDC_PM_LIST)) {
                g_paperManager = hwnd;
                PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
                return FALSE;
            }
            return TRUE;
        },
        0);
    if (g_paperManager)
        KillTimer(nullptr, timer);
}

}  // namespace

TEST_F(LabelSheet, PaperManagerButtonRunsThePaperManagerOwnedByTheSheet) {
    Open(LabelBlock(2, 1, 1, 0, 0, 0));
    g_paperManager = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseOwnedDialog);
    Click(IDC_BTN_PAPERMGR);
    KillTimer(nullptr, timer);
    ASSERT_NE(g_paperManager, nullptr);
    EXPECT_EQ(GetAncestor(page, GA_ROOT), sheet);
    EXPECT_FALSE(IsWindow(g_paperManager));
    EXPECT_EQ(live.sPaperType, 2);
    EXPECT_FALSE(ApplyEnabled());
}

// ---- The hidden paper-name list, with this program's page procedure and a known printer -----

namespace {

class TNamedPapers final : public IPaperSpooler {
public:
    std::vector<std::wstring> names;
    DWORD EnumServerForms(std::vector<TPaperForm>& forms) override {
        forms.clear();
        return 0;
    }
    DWORD AddServerForm(const TPaperForm&) override { return ERROR_ACCESS_DENIED; }
    DWORD SetServerForm(const TPaperForm&) override { return ERROR_ACCESS_DENIED; }
    DWORD DeleteServerForm(PCWSTR) override { return ERROR_ACCESS_DENIED; }
    int PaperNames(PCWSTR, std::vector<std::wstring>& out) override {
        out = names;
        return static_cast<int>(names.size());
    }
    std::unique_ptr<IPrinterPapers> OpenForPapers(PCWSTR) override {
        return std::unique_ptr<IPrinterPapers>(new TPrinter());
    }

private:
    class TPrinter final : public IPrinterPapers {
    public:
        bool DefaultDevmode(std::vector<BYTE>& devmode) override {
            devmode.clear();
            return true;
        }
        bool ReadForm(PCWSTR, TPaperForm&) override { return false; }
    };
};

}  // namespace

TEST(LabelPaperNames, ListHoldsThePrinterPapersWithTheDocumentsPaperSelected) {
    struct Case {
        std::vector<std::wstring> names;
        PCWSTR documentForm;
        int selected;
    } cases[] = {
        {{L"Label 50x30", L"A4", L"Label 50x30"}, L"Label 50x30", 2},
        {{L"Label 50x30", L"A4"}, L"Letter", CB_ERR},
        {{}, L"A4", CB_ERR},
    };
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE saved = ghInstance;
    ghInstance = Plugin().module;
    TNamedPapers spooler;
    SetPaperSpooler(&spooler);
    for (const Case& c : cases) {
        spooler.names = c.names;
        TOemHeap heap;
        DEVMODEW dm = PublicDevmode(L"VKT Label Test");
        dm.dmFields = DM_FORMNAME;
        lstrcpynW(dm.dmFormName, c.documentForm, CCHFORMNAME);
        OEMLABELDEV live = LabelBlock(0, 0, 0, 0, 0, 0);
        OEMUIPSPARAM block = {};
        block.hOEMHeap = heap.get();
        block.pPublicDM = &dm;
        block.pOEMDM = &live;
        PROPSHEETPAGEW description = DescribeLabelPage(CreateLabelPageData(&block));
        HPROPSHEETPAGE hpage = CreatePropertySheetPageW(&description);
        ASSERT_NE(hpage, nullptr);
        HWND sheet = ShowSheet(&hpage, L"Printing preferences");
        ASSERT_NE(sheet, nullptr);
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        HWND list = GetDlgItem(page, IDC_CBO_PAPER);
        ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(c.names.size()));
        for (size_t i = 0; i < c.names.size(); ++i) {
            wchar_t text[PAPER_NAME_SLOT_CCH] = {};
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(std::wstring(text), c.names[i]);
        }
        EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), c.selected) << c.documentForm;
        auto* state = reinterpret_cast<PAPERLISTSTATE*>(GetWindowLongPtrW(page, GWLP_USERDATA));
        ASSERT_NE(state, nullptr);
        EXPECT_EQ(state->nSelected, c.selected == CB_ERR ? -1 : c.selected);
        EXPECT_EQ(state->papers.size(), c.names.size());
        // Choosing a paper name marks the sheet changed but stores nothing.
        SendMessageW(list, CB_SETCURSEL, 0, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CBO_PAPER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet, kApplyButton)));
        EXPECT_TRUE(SameBlock(live, LabelBlock(0, 0, 0, 0, 0, 0)));
        // Cancel frees the paper list and the page's state at once.
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
        PumpMessages();
        EXPECT_EQ(GetWindowLongPtrW(page, GWLP_USERDATA), 0);
        DestroyWindow(sheet);
        PumpMessages();
    }
    SetPaperSpooler(nullptr);
    ghInstance = saved;
}
