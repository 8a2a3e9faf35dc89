// The plug-in as the print system meets it: exports, class factory, IPrintOemUI methods.
#include "DriverUiHost.h"
#include "TestUtil.h"
#include "dllentry.h"
#include "intrface.h"
#include <gtest/gtest.h>

namespace {

struct TComRelease {
    void operator()(IUnknown* p) const {
        if (p)
            p->Release();
    }
};

class PluginObject : public ::testing::Test {
protected:
    void SetUp() override {
        ui = CreatePluginObject();
        ASSERT_NE(ui, nullptr);
    }
    void TearDown() override {
        if (ui)
            ui->Release();
    }
    IPrintOemUI* ui = nullptr;
};

// A driver object that counts the plug-in's questions for its helper interface.
class TFakeDriver : public IPrintOemDriverUI {
public:
    explicit TFakeDriver(bool answers) : m_answers(answers) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IPrintOemDriverUI))
            ++asked;
        if (m_answers && (IsEqualIID(riid, IID_IPrintOemDriverUI) || IsEqualIID(riid, IID_IUnknown))) {
            *ppv = static_cast<IPrintOemDriverUI*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    STDMETHODIMP DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }
    int asked = 0;
    LONG refs = 1;

private:
    bool m_answers;
};

}  // namespace

TEST(PluginLibrary, LoadAndUnloadAreTraced) {
    // A private copy, so that this load really attaches and the unload really detaches.
    TTempDir dir;
    std::wstring copy = dir.File(L"VKTDriverUI_copy.dll");
    ASSERT_TRUE(CopyFileW(PluginPath().c_str(), copy.c_str(), FALSE));
    TDebuggerCapture capture;
    HMODULE module = LoadLibraryW(copy.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(capture.Has("UI:  Process attach.\r\nUI dll process id is:" + std::to_string(GetCurrentProcessId())));
    FreeLibrary(module);
    EXPECT_TRUE(capture.Has("UI:  Process detach.\r\n"));
}

TEST(PluginLibrary, ExportsOnlyByName) {
    EXPECT_NE(Plugin().GetClassObject, nullptr);
    EXPECT_NE(Plugin().CanUnloadNow, nullptr);
}

TEST(PluginLibrary, ForeignClassIsRefusedAndCreatesNothing) {
    TDebuggerCapture capture;
    const CLSID foreign = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(Plugin().GetClassObject(foreign, IID_IClassFactory, &out), static_cast<HRESULT>(0x80040111));
    EXPECT_TRUE(capture.Has("UI:  DllGetClassObject: Create class factory.\r\n"));
    EXPECT_FALSE(capture.Has("IOEMCF::QueryInterface"));
    EXPECT_EQ(Plugin().CanUnloadNow(), S_OK);
}

TEST(PluginLibrary, FactoryAnswersItsInterfacesOnly) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(Plugin().GetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(factory));
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->QueryInterface(IID_IPrintOemUI, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    // The caller held the only reference: one from the export, one from the query.
    EXPECT_EQ(unknown->Release(), 1u);
    TDebuggerCapture capture;
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_TRUE(capture.Has("UI:  IOEMCF::Release entry.\r\n"));
}

TEST(PluginLibrary, CreateInstanceRefusesAggregationAndUnknownInterfaces) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(Plugin().GetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    void* out = nullptr;
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory), IID_IPrintOemUI, &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    // The object made for the refused interface is gone again.
    EXPECT_EQ(Plugin().CanUnloadNow(), S_OK);
    factory->Release();
}

TEST(PluginLibrary, CanUnloadOnlyWithoutObjectsAndLocks) {
    TDebuggerCapture capture;
    EXPECT_EQ(Plugin().CanUnloadNow(), S_OK);
    EXPECT_TRUE(capture.Has("UI:  DllCanUnloadNow entry.\r\n"));

    IPrintOemUI* ui = CreatePluginObject();
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(Plugin().CanUnloadNow(), S_FALSE);
    EXPECT_EQ(ui->Release(), 0u);
    EXPECT_EQ(Plugin().CanUnloadNow(), S_OK);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(Plugin().GetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(Plugin().CanUnloadNow(), S_FALSE);
    ASSERT_EQ(Plugin().GetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(Plugin().CanUnloadNow(), S_OK);
    EXPECT_TRUE(capture.Has("UI:  IOEMCF::LockServer entry.\r\n"));
}

TEST_F(PluginObject, QueryInterfaceAnswersIUnknownAndIPrintOemUI) {
    struct Case {
        const IID* iid;
        HRESULT hr;
        const char* line;
    } cases[] = {
        {&IID_IUnknown, S_OK, "UI:  IOEMUI: Return pointer to IUnknown.\r\n"},
        {&IID_IPrintOemUI, S_OK, "UI:  IOEMUI: Return pointer to IPrintOemUI.\r\n"},
        {&IID_IClassFactory, E_NOINTERFACE, "UI:  IOEMUI: No Interface. Return E_NOINTERFACE.\r\n"},
        {&IID_IPrintOemDriverUI, E_NOINTERFACE, "UI:  IOEMUI: No Interface. Return E_NOINTERFACE.\r\n"},
    };
    for (const Case& c : cases) {
        TDebuggerCapture capture;
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(ui->QueryInterface(*c.iid, &out), c.hr);
        EXPECT_TRUE(capture.Has(std::string("UI:  IOEMUI::QueryInterface entry.\r\n") + c.line)) << c.line;
        if (c.hr == S_OK) {
            EXPECT_EQ(out, static_cast<void*>(ui));
            EXPECT_EQ(ui->Release(), 1u);
        } else {
            EXPECT_EQ(out, nullptr);
        }
    }
    EXPECT_EQ(ui->AddRef(), 2u);
    EXPECT_EQ(ui->Release(), 1u);
}

TEST_F(PluginObject, GetInfoModesAndErrors) {
    struct Case {
        DWORD mode;
        DWORD cbSize;
        bool withNeeded;
        HRESULT hr;
        DWORD lastError;
        DWORD needed;
        DWORD value;
        const char* line;
    } cases[] = {
        {1, 4, true, S_OK, 0, 4, 0x57504453, nullptr},
        {3, 4, true, S_OK, 0, 4, 1, nullptr},
        {1, 8, true, S_OK, 0, 4, 0x57504453, nullptr},
        {2, 4, true, E_FAIL, 87, 0xEEEE, 0xCCCC,
         "UI:  IOEMUI: GetInfo() exit pcbNeeded is NULL! ERROR_INVALID_PARAMETER\r\n"},
        {5, 4, true, E_FAIL, 87, 0xEEEE, 0xCCCC, "pcbNeeded is NULL!"},
        {1, 4, false, E_FAIL, 87, 0xEEEE, 0xCCCC, "pcbNeeded is NULL!"},
        {4, 4, true, E_FAIL, 50, 0, 0xCCCC, "UI:  IOEMUI: GetInfo() exit mode not supported.\r\n"},
        {4, 2, true, E_FAIL, 122, 4, 0xCCCC, "UI:  IOEMUI: GetInfo() exit insufficient buffer!\r\n"},
        {1, 3, true, E_FAIL, 122, 4, 0xCCCC, "insufficient buffer"},
    };
    for (const Case& c : cases) {
        TDebuggerCapture capture;
        DWORD buffer = 0xCCCC, needed = 0xEEEE;
        SetLastError(0);
        EXPECT_EQ(ui->GetInfo(c.mode, &buffer, c.cbSize, c.withNeeded ? &needed : nullptr), c.hr) << c.mode;
        EXPECT_EQ(GetLastError(), c.lastError) << c.mode;
        EXPECT_EQ(needed, c.needed) << c.mode;
        EXPECT_EQ(buffer, c.value) << c.mode;
        EXPECT_TRUE(capture.Has("UI:  IOEMUI::GetInfo(" + std::to_string(c.mode) + ") entry.\r\n"));
        if (c.line) {
            EXPECT_TRUE(capture.Has(c.line)) << c.line;
        }
    }
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_EQ(ui->GetInfo(1, nullptr, 4, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), 122u);
}

TEST_F(PluginObject, PublishDriverInterfaceAsksOnceAndReleasesAtTheEnd) {
    TFakeDriver driver(true);
    TDebuggerCapture capture;
    EXPECT_EQ(ui->PublishDriverInterface(&driver), S_OK);
    EXPECT_EQ(ui->PublishDriverInterface(&driver), S_OK);
    EXPECT_EQ(driver.asked, 1);
    EXPECT_EQ(driver.refs, 2);
    EXPECT_TRUE(capture.Has("UI:  IOEMUI::PublishDriverInterface entry.\r\n"));
    ui->Release();
    ui = nullptr;
    EXPECT_EQ(driver.refs, 1);
}

TEST_F(PluginObject, PublishDriverInterfaceFailsWithoutHelperAndAsksAgain) {
    TFakeDriver refusing(false);
    EXPECT_EQ(ui->PublishDriverInterface(&refusing), E_FAIL);
    TFakeDriver driver(true);
    EXPECT_EQ(ui->PublishDriverInterface(&driver), S_OK);
    EXPECT_EQ(driver.asked, 1);
    ui->Release();  // before the driver object goes
    ui = nullptr;
    EXPECT_EQ(driver.refs, 1);
}

TEST_F(PluginObject, UnimplementedMethodsOnlyTrace) {
    DWORD result = 0;
    struct Case {
        const char* line;
        HRESULT (*call)(IPrintOemUI*, DWORD*);
    } cases[] = {
        {"UI:  IOEMUI::DevQueryPrintEx entry.\r\n",
         [](IPrintOemUI* u, DWORD*) { return u->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr); }},
        {"UI:  IOEMUI::DeviceCapabilities(18, 7) entry.\r\n",
         [](IPrintOemUI* u, DWORD* r) {
             return u->DeviceCapabilities(nullptr, nullptr, nullptr, 18, nullptr, nullptr, nullptr, 7, r);
         }},
        {"UI:  IOEMUI::UpgradePrinter entry.\r\n", [](IPrintOemUI* u, DWORD*) { return u->UpgradePrinter(1, nullptr); }},
        {"UI:  IOEMUI::PrinterEvent entry.\r\n",
         [](IPrintOemUI* u, DWORD*) { return u->PrinterEvent(nullptr, 3, 0, 0); }},
        {"UI:  IOEMUI::DriverEvent(Event: 1, Level: 6) entry.\r\n",
         [](IPrintOemUI* u, DWORD*) { return u->DriverEvent(1, 6, nullptr, 0); }},
        {"UI:  IOEMUI::QueryColorProfile entry.\r\n",
         [](IPrintOemUI* u, DWORD*) {
             return u->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
         }},
        {"UI:  IOEMUI::FontInstallerDlgProc entry.\r\n",
         [](IPrintOemUI* u, DWORD*) { return u->FontInstallerDlgProc(nullptr, 0, 0, 0); }},
        {"UI:  IOEMUI::UpdateExternalFonts entry.\r\n",
         [](IPrintOemUI* u, DWORD*) { return u->UpdateExternalFonts(nullptr, nullptr, nullptr); }},
    };
    for (const Case& c : cases) {
        TDebuggerCapture capture;
        EXPECT_EQ(c.call(ui, &result), E_NOTIMPL) << c.line;
        EXPECT_EQ(capture.Text(), c.line);
    }
}

// ---- CommonUIProp ------------------------------------------------------------------

namespace {

std::vector<OPTITEM> ItemsWith(std::initializer_list<BYTE> ids) {
    std::vector<OPTITEM> items;
    for (BYTE id : ids) {
        OPTITEM item = {};
        item.cbSize = sizeof(item);
        item.DMPubID = id;
        item.Flags = 0x100;  // a flag of the driver's own that must survive
        items.push_back(item);
    }
    return items;
}

}  // namespace

TEST_F(PluginObject, DocumentPropertiesHideReplacedItemsButTheLastUnnamedOne) {
    std::vector<OPTITEM> items = ItemsWith({DMPUB_ORIENTATION, DMPUB_COPIES_COLLATE, DMPUB_NONE, DMPUB_DEFSOURCE,
                                            DMPUB_ICMMETHOD, DMPUB_ICMINTENT, DMPUB_FORMNAME, DMPUB_NUP,
                                            DMPUB_PAGEORDER, DMPUB_OEM_PAPER_ITEM, DMPUB_NONE, DMPUB_USER,
                                            DMPUB_NONE});
    const bool hidden[] = {false, true, true, true, true, true, false, true, true, true, true, false, false};
    std::wstring name = L"VKT Label Test";
    OEMCUIPPARAM param = {};
    param.cbSize = sizeof(param);
    param.pPrinterName = &name[0];
    param.pDrvOptItems = items.data();
    param.cDrvOptItems = static_cast<DWORD>(items.size());
    TDebuggerCapture capture;
    EXPECT_EQ(ui->CommonUIProp(OEMCUIP_DOCPROP, &param), S_OK);
    EXPECT_TRUE(capture.Has("UI:  IOEMUI::CommonUIProp entry. [VKT Label Test]\r\n"));
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ((items[i].Flags & OPTIF_HIDE) != 0, hidden[i]) << "item " << i;
        EXPECT_EQ(items[i].Flags & 0x100, 0x100u) << "item " << i;
    }
}

TEST_F(PluginObject, PrinterPropertiesHideNothing) {
    std::vector<OPTITEM> items = ItemsWith({DMPUB_COPIES_COLLATE, DMPUB_NONE, DMPUB_NONE});
    OEMCUIPPARAM param = {};
    param.cbSize = sizeof(param);
    param.pPrinterName = const_cast<PWSTR>(L"VKT Label Test");
    param.pDrvOptItems = items.data();
    param.cDrvOptItems = static_cast<DWORD>(items.size());
    EXPECT_EQ(ui->CommonUIProp(OEMCUIP_PRNPROP, &param), S_OK);
    for (const OPTITEM& item : items)
        EXPECT_EQ(item.Flags & OPTIF_HIDE, 0u);
}

TEST_F(PluginObject, CommonUIPropRefusesInvalidModeAndMissingBlock) {
    OEMCUIPPARAM param = {};
    param.cbSize = sizeof(param);
    param.pPrinterName = const_cast<PWSTR>(L"Other");
    for (DWORD mode : {0u, 3u}) {
        TDebuggerCapture capture;
        SetLastError(0);
        EXPECT_EQ(ui->CommonUIProp(mode, &param), E_FAIL);
        EXPECT_EQ(GetLastError(), 87u);
        EXPECT_TRUE(capture.Has("ERROR UI:  hrOEMCommonUIProp() ERROR_INVALID_PARAMETER.\r\n"));
    }
    SetLastError(0);
    EXPECT_EQ(ui->CommonUIProp(OEMCUIP_DOCPROP, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), 87u);
}

TEST(CommonUIPropWorker, InvalidModeStillKeepsThePrinterName) {
    TSinkCapture sink;
    lstrcpyW(CurrentPrinterName, L"before");
    OEMCUIPPARAM param = {};
    param.pPrinterName = const_cast<PWSTR>(L"Label Printer 2");
    EXPECT_EQ(hrOEMCommonUIProp(9, &param), E_FAIL);
    EXPECT_STREQ(CurrentPrinterName, L"Label Printer 2");
    // A missing block leaves the last name.
    EXPECT_EQ(hrOEMCommonUIProp(OEMCUIP_DOCPROP, nullptr), E_FAIL);
    EXPECT_STREQ(CurrentPrinterName, L"Label Printer 2");
}

TEST(CommonUIPropWorker, LongPrinterNameIsCutToTheBuffer) {
    std::wstring name(1500, L'n');
    OEMCUIPPARAM param = {};
    param.pPrinterName = &name[0];
    EXPECT_EQ(hrOEMCommonUIProp(OEMCUIP_PRNPROP, &param), S_OK);
    EXPECT_EQ(std::wstring(CurrentPrinterName), std::wstring(1023, L'n'));
}

TEST(UiLanguage, ChineseOnlyForTheFourChineseUserLanguages) {
    struct Case {
        LANGID lang;
        bool chinese;
    } cases[] = {{0x0804, true}, {0x0404, true}, {0x0C04, true}, {0x1004, true},
                 {0x0409, false}, {0x1404, false}, {0x0004, false}, {0x7C04, false}, {0x0411, false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsChineseLangId(c.lang), c.chinese) << std::hex << c.lang;
}

// ---- Property sheets ---------------------------------------------------------------

namespace {

struct TSheetCall {
    int calls = 0;
    HANDLE sheet = nullptr;
    UINT function = 0;
    PROPSHEETPAGEW page = {};
    LPARAM lParam2 = -1;
    LONG_PTR answer = 0x1234;
};
TSheetCall g_sheet;

LONG_PTR CALLBACK RecordingComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
    ++g_sheet.calls;
    g_sheet.sheet = sheet;
    g_sheet.function = function;
    g_sheet.page = *reinterpret_cast<PROPSHEETPAGEW*>(lParam1);
    g_sheet.lParam2 = lParam2;
    return g_sheet.answer;
}

PROPSHEETUI_INFO SheetInfo(WORD reason, OEMUIPSPARAM* param) {
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof(info);
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = reason;
    info.hComPropSheet = reinterpret_cast<HANDLE>(0x77);
    info.pfnComPropSheet = RecordingComPropSheet;
    info.lParamInit = reinterpret_cast<LPARAM>(param);
    info.Result = 0xDEAD;
    return info;
}

}  // namespace

TEST_F(PluginObject, DeviceSheetAddsTheAboutPageAtInit) {
    g_sheet = TSheetCall();
    OEMUIPSPARAM param = {};
    param.cbSize = sizeof(param);
    PROPSHEETUI_INFO info = SheetInfo(PROPSHEETUI_REASON_INIT, &param);
    TDebuggerCapture capture;
    EXPECT_EQ(ui->DevicePropertySheets(&info, 0), S_OK);
    EXPECT_TRUE(capture.Has("UI:  IOEMUI::DevicePropertySheets entry.\r\n"));
    ASSERT_EQ(g_sheet.calls, 1);
    EXPECT_EQ(info.Result, 0x1234u);
    EXPECT_EQ(g_sheet.sheet, reinterpret_cast<HANDLE>(0x77));
    EXPECT_EQ(g_sheet.function, static_cast<UINT>(CPSFUNC_ADD_PROPSHEETPAGEW));
    EXPECT_EQ(g_sheet.lParam2, 0);
    EXPECT_EQ(g_sheet.page.dwSize, sizeof(PROPSHEETPAGEW));
    EXPECT_EQ(g_sheet.page.dwFlags, 0u);
    EXPECT_EQ(g_sheet.page.hInstance, Plugin().module);
    const WORD expected = UseChineseUI() ? 116 : 120;
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(g_sheet.page.pszTemplate), expected);
    EXPECT_NE(g_sheet.page.pfnDlgProc, nullptr);
    EXPECT_EQ(g_sheet.page.lParam, 0);
    EXPECT_EQ(g_sheet.page.pfnCallback, nullptr);
}

TEST_F(PluginObject, FailedPageAddingIsPassedOn) {
    g_sheet = TSheetCall();
    g_sheet.answer = -5;
    OEMUIPSPARAM param = {};
    PROPSHEETUI_INFO info = SheetInfo(PROPSHEETUI_REASON_INIT, &param);
    EXPECT_EQ(ui->DevicePropertySheets(&info, 0), S_OK);
    EXPECT_EQ(static_cast<LONG_PTR>(info.Result), -5);
}

TEST_F(PluginObject, SheetReasonsSetTheirResults) {
    SETRESULT_INFO setResult = {};
    setResult.cbSize = sizeof(setResult);
    setResult.Result = 42;
    struct Case {
        WORD reason;
        LPARAM lParam;
        ULONG_PTR result;
    } cases[] = {
        {PROPSHEETUI_REASON_GET_INFO_HEADER, 0, 1},
        {PROPSHEETUI_REASON_DESTROY, 0, 1},
        {PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&setResult), 42},
        {PROPSHEETUI_REASON_SET_RESULT, 0, 0xDEAD},  // no result record: nothing to take over
        {PROPSHEETUI_REASON_GET_ICON, 0, 1},
        {9, 0, 0xDEAD},  // an unknown reason leaves the result
    };
    for (const Case& c : cases) {
        g_sheet = TSheetCall();
        OEMUIPSPARAM param = {};
        PROPSHEETUI_INFO device = SheetInfo(c.reason, &param);
        PROPSHEETUI_INFO document = SheetInfo(c.reason, &param);
        EXPECT_EQ(ui->DevicePropertySheets(&device, c.lParam), S_OK);
        EXPECT_EQ(ui->DocumentPropertySheets(&document, c.lParam), S_OK);
        EXPECT_EQ(device.Result, c.result) << c.reason;
        EXPECT_EQ(document.Result, c.result) << c.reason;
        EXPECT_EQ(g_sheet.calls, 0) << c.reason;
    }
}

TEST_F(PluginObject, SheetsRefuseMissingOrWrongVersionBlocks) {
    OEMUIPSPARAM param = {};
    PROPSHEETUI_INFO wrong = SheetInfo(PROPSHEETUI_REASON_INIT, &param);
    wrong.Version = 0x0200;
    struct Case {
        PROPSHEETUI_INFO* info;
        bool device;
        const char* line;
    } cases[] = {
        {&wrong, true, "ERROR UI:  hrOEMDevicePropertySheets() ERROR_INVALID_PARAMETER.\r\n"},
        {nullptr, true, "ERROR UI:  hrOEMDevicePropertySheets() ERROR_INVALID_PARAMETER.\r\n"},
        {&wrong, false, "ERROR UI:  hrOEMDocumentPropertySheets() ERROR_INVALID_PARAMETER.\r\n"},
        {nullptr, false, "ERROR UI:  hrOEMDocumentPropertySheets() ERROR_INVALID_PARAMETER.\r\n"},
    };
    for (const Case& c : cases) {
        TDebuggerCapture capture;
        SetLastError(0);
        HRESULT hr = c.device ? ui->DevicePropertySheets(c.info, 0) : ui->DocumentPropertySheets(c.info, 0);
        EXPECT_EQ(hr, E_FAIL) << c.line;
        EXPECT_EQ(GetLastError(), 87u) << c.line;
        EXPECT_TRUE(capture.Has(c.line)) << c.line;
    }
}

TEST_F(PluginObject, DocumentSheetInitTracesItsSteps) {
    g_sheet = TSheetCall();
    OEMUIPSPARAM param = {};
    PROPSHEETUI_INFO info = SheetInfo(PROPSHEETUI_REASON_INIT, &param);
    TDebuggerCapture capture;
    EXPECT_EQ(ui->DocumentPropertySheets(&info, 0), S_OK);
    EXPECT_TRUE(capture.Has("UI:  IOEMUI::DocumentPropertySheets entry.\r\n"
                            "UI:  IOEMUI::hrOEMDocumentPropertySheets entry.\r\n"
                            "UI:  IOEMUI::hrOEMDocumentPropertySheets PROPSHEETUI_REASON_INIT.\r\n"));
}

namespace {
LANGID g_lang = 0;
LANGID WINAPI TestLang() { return g_lang; }
}  // namespace

TEST(UiLanguage, AboutPageTemplateFollowsTheUserLanguage) {
    SetUserLangSource(TestLang);
    struct Case {
        LANGID lang;
        ULONG_PTR templateId;
    } cases[] = {{0x0804, 116}, {0x0409, 120}, {0x1404, 120}};
    for (const Case& c : cases) {
        g_lang = c.lang;
        g_sheet = TSheetCall();
        OEMUIPSPARAM param = {};
        PROPSHEETUI_INFO info = SheetInfo(PROPSHEETUI_REASON_INIT, &param);
        EXPECT_EQ(hrOEMDevicePropertySheets(&info, 0), S_OK);
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(g_sheet.page.pszTemplate), c.templateId) << std::hex << c.lang;
        // The label setting page and the paper manager choose by the same rule.
        EXPECT_EQ(LangTemplate(110, 113), c.templateId == 116 ? 110 : 113);
        EXPECT_EQ(LangTemplate(117, 119), c.templateId == 116 ? 117 : 119);
    }
    SetUserLangSource(nullptr);
}
