// Label setting page: its record from the print system's heap, the page description and the
// thin page procedure over the plain field work.
#include "labelpage.h"
#include "debug.h"
#include "dllentry.h"
#include "resource.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// ---- Record ---------------------------------------------------------------------------

LABELPAGEDATA* CreateLabelPageData(const OEMUIPSPARAM* block) {
    if (!block || !block->hOEMHeap || !block->pOEMDM)
        return nullptr;
    auto* data = static_cast<LABELPAGEDATA*>(HeapAlloc(block->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(LABELPAGEDATA)));
    if (!data)
        return nullptr;
    data->pPublicDM = block->pPublicDM;
    data->pOEMDM = static_cast<OEMLABELDEV*>(block->pOEMDM);
    data->hHeap = block->hOEMHeap;
    data->bApplied = 0;
    // Without a snapshot the page still works; a cancel then keeps the edited values.
    data->pSavedDM = static_cast<OEMLABELDEV*>(HeapAlloc(block->hOEMHeap, 0, sizeof(OEMLABELDEV)));
    if (data->pSavedDM)
        memcpy(data->pSavedDM, data->pOEMDM, sizeof(OEMLABELDEV));
    return data;
}

void ReleaseLabelPageData(LABELPAGEDATA* data) {
    if (!data)
        return;
    if (data->pSavedDM) {
        if (!data->bApplied)
            memcpy(data->pOEMDM, data->pSavedDM, sizeof(OEMLABELDEV));
        HeapFree(data->hHeap, 0, data->pSavedDM);
    }
    HeapFree(data->hHeap, 0, data);
}

PROPSHEETPAGEW DescribeLabelPage(LABELPAGEDATA* data) {
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_USECALLBACK;
    page.hInstance = ghInstance;
    page.pszTemplate = MAKEINTRESOURCEW(LangTemplate(IDD_LABELPAGE_CN, IDD_LABELPAGE_EN));
    page.pfnDlgProc = DLGProc_PrintConfigPage;
    page.lParam = reinterpret_cast<LPARAM>(data);
    page.pfnCallback = LabelPageCallback;
    return page;
}

UINT CALLBACK LabelPageCallback(HWND, UINT uMsg, LPPROPSHEETPAGEW page) {
    if (uMsg == PSPCB_RELEASE && page)
        ReleaseLabelPageData(reinterpret_cast<LABELPAGEDATA*>(page->lParam));
    return 1;
}

LONG_PTR AddLabelSettingPage(PPROPSHEETUI_INFO info) {
    const auto* block = reinterpret_cast<const OEMUIPSPARAM*>(info->lParamInit);
    LABELPAGEDATA* data = CreateLabelPageData(block);
    if (!data) {
        // A page without its record could neither show nor keep the settings.
        DbgW(DBG_ERROR, L"ERROR UI:  AddLabelSettingPage: no page record.\r\n");
        return 1;
    }
    if (!info->pfnComPropSheet) {
        HeapFree(data->hHeap, 0, data->pSavedDM);
        HeapFree(data->hHeap, 0, data);
        return 0;
    }
    PROPSHEETPAGEW page = DescribeLabelPage(data);
    return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page),
                                 0);
}

// ---- Plain work ------------------------------------------------------------------------

bool SetLabelField(SHORT& field, SHORT value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

SHORT CutToShort(long long value) {
    return static_cast<SHORT>(static_cast<unsigned short>(static_cast<unsigned long long>(value) & 0xFFFFu));
}

bool StoreOffsetText(SHORT& field, PCWSTR text) {
    if (!text || !*text)
        return false;
    field = CutToShort(_wtoi(text));
    return true;
}

long long StepOffset(PCWSTR text, int delta) {
    // Wide enough that stepping past the int range neither wraps nor overflows.
    long long v = text ? _wtoi(text) : 0;
    return delta == 1 ? v - 1 : v + 1;
}

namespace {

// Radio buttons of the page and the field value each stands for.
struct TRadio {
    int id;
    PCWSTR trace;
    bool rotate;  // sRotate, else sPaperType
    SHORT value;
};
const TRadio kRadios[] = {
    {IDC_RAD_SERIAL, L"UI:  IOEMUI::IDC_RAD_SERIAL entry.[%d]\r\n", false, 0},
    {IDC_RAD_BLACK, L"UI:  IOEMUI::IDC_RAD_BLACK entry.[%d]\r\n", false, 1},
    {IDC_RAD_GAP, L"UI:  IOEMUI::IDC_RAD_GAP entry.[%d]\r\n", false, 2},
    {IDC_ROTATE_0, L"UI:  IOEMUI::IDC_ROTATE_0 entry.[%d]\r\n", true, 0},
    {IDC_ROTATE_90, L"UI:  IOEMUI::IDC_ROTATE_90 entry.[%d]\r\n", true, 1},
    {IDC_ROTATE_180, L"UI:  IOEMUI::IDC_ROTATE_180 entry.[%d]\r\n", true, 2},
    {IDC_ROTATE_270, L"UI:  IOEMUI::IDC_ROTATE_270 entry.[%d]\r\n", true, 3},
};

int RadioFor(bool rotate, SHORT value, int otherwise) {
    for (const TRadio& radio : kRadios)
        if (radio.rotate == rotate && radio.value == value)
            return radio.id;
    return otherwise;
}

}  // namespace

int PaperTypeButton(SHORT paperType) { return RadioFor(false, paperType, 0); }

int RotateButton(SHORT rotate) { return RadioFor(true, rotate, IDC_ROTATE_0); }

int FindPaperPosition(const PaperList& papers, PCWSTR name) {
    int found = -1;
    for (size_t i = 0; i < papers.size(); ++i)
        if (papers[i] && lstrcmpW(papers[i]->szName, name) == 0)
            found = static_cast<int>(i);
    return found;
}

// ---- Page ------------------------------------------------------------------------------

namespace {

PAPERLISTSTATE* PageState(HWND hDlg) {
    return reinterpret_cast<PAPERLISTSTATE*>(GetWindowLongPtrW(hDlg, GWLP_USERDATA));
}

void FreePageState(HWND hDlg) {
    delete PageState(hDlg);
    SetWindowLongPtrW(hDlg, GWLP_USERDATA, 0);
}

void MarkChanged(HWND hDlg) { SendMessageW(GetParent(hDlg), PSM_CHANGED, reinterpret_cast<WPARAM>(hDlg), 0); }

void FillNumberList(HWND hDlg, int id, int count, SHORT selected) {
    for (int n = 1; n <= count; ++n) {
        WCHAR text[8];
        swprintf(text, 8, L"%d", n);
        SendDlgItemMessageW(hDlg, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    // A position outside the list leaves it without a selection.
    SendDlgItemMessageW(hDlg, id, CB_SETCURSEL, (selected >= 0 && selected < count) ? selected : -1, 0);
}

void ShowNumber(HWND hDlg, int id, long long value) {
    WCHAR text[24];
    swprintf(text, 24, L"%lld", value);
    SetDlgItemTextW(hDlg, id, text);
}

void ListPapers(HWND hDlg, PAPERLISTSTATE& state, const DEVMODEW* publicDM) {
    WCHAR printer[CCHDEVICENAME + 1] = L"";
    lstrcpynW(printer, publicDM->dmDeviceName, CCHDEVICENAME + 1);
    ListPrinterPapers(printer, state.papers);
    if (state.papers.empty())
        return;
    WCHAR current[DEVMODE_PAPER_NAME_CCH] = L"";
    GetDevmodePaperName(publicDM, current);
    for (const auto& paper : state.papers)
        SendDlgItemMessageW(hDlg, IDC_CBO_PAPER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(paper->szName));
    state.nSelected = FindPaperPosition(state.papers, current);
    if (state.nSelected >= 0)
        SendDlgItemMessageW(hDlg, IDC_CBO_PAPER, CB_SETCURSEL, state.nSelected, 0);
}

void OnInitDialog(HWND hDlg, LABELPAGEDATA* data) {
    auto* state = new (std::nothrow) PAPERLISTSTATE();
    if (state) {
        state->pRecord = data;
        state->nSelected = -1;
        try {
            if (data->pPublicDM)
                ListPapers(hDlg, *state, data->pPublicDM);
        } catch (...) {
            // Out of memory while listing: the page works without paper names.
            state->papers.clear();
            state->nSelected = -1;
        }
    }
    // The state goes on the window after the controls are filled, so that filling the
    // offset edits is not taken for the user's typing.
    InitLabelControls(hDlg, data);
    SetWindowLongPtrW(hDlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
}

void OnOffsetEdit(HWND hDlg, int id, WORD code, LABELPAGEDATA* data) {
    SHORT& field = id == IDC_EDIT_HOR ? data->pOEMDM->sPadHor : data->pOEMDM->sPadVer;
    DbgW(DBG_TERSE, id == IDC_EDIT_HOR ? L"UI:  IOEMUI::IDC_EDIT_HOR entry.[%d]\r\n"
                                       : L"UI:  IOEMUI::IDC_EDIT_VER entry.[%d]\r\n",
         field);
    if (code != EN_CHANGE)
        return;
    WCHAR text[LABEL_EDIT_CCH + 1] = L"";
    GetDlgItemTextW(hDlg, id, text, LABEL_EDIT_CCH + 1);
    if (StoreOffsetText(field, text))
        MarkChanged(hDlg);
}

void OnListChange(HWND hDlg, int id, SHORT& field) {
    LRESULT position = SendDlgItemMessageW(hDlg, id, CB_GETCURSEL, 0, 0);
    if (position == CB_ERR)
        return;
    if (SetLabelField(field, static_cast<SHORT>(position)))
        MarkChanged(hDlg);
}

BOOL OnCommand(HWND hDlg, int id, WORD code) {
    LABELPAGEDATA* data = LabelPageRecord(hDlg);
    for (const TRadio& radio : kRadios) {
        if (radio.id != id)
            continue;
        if (data) {
            SHORT& field = radio.rotate ? data->pOEMDM->sRotate : data->pOEMDM->sPaperType;
            DbgW(DBG_TERSE, radio.trace, field);
            if (SetLabelField(field, radio.value))
                MarkChanged(hDlg);
        }
        return TRUE;
    }
    switch (id) {
    case IDC_EDIT_HOR:
    case IDC_EDIT_VER:
        if (data)
            OnOffsetEdit(hDlg, id, code, data);
        return TRUE;
    case IDC_CBO_SPEED:
    case IDC_CBO_DENSITY:
        if (data && code == CBN_SELCHANGE)
            OnListChange(hDlg, id, id == IDC_CBO_SPEED ? data->pOEMDM->sSpeed : data->pOEMDM->sDensity);
        return TRUE;
    case IDC_CBO_PAPER:
        if (code == CBN_SELCHANGE)
            MarkChanged(hDlg);
        return TRUE;
    case IDC_BTN_PAPERMGR:
        // The page is not refreshed afterwards: the paper manager edits forms, not the block.
        if (data)
            RunPaperManager(hDlg, data->pPublicDM);
        return TRUE;
    default:
        return FALSE;
    }
}

void OnDeltaPos(HWND hDlg, const NMUPDOWN* change) {
    DbgW(DBG_VERBOSE, L"UI:  pageclbk DLGProc_PrintConfigPage UDN_DELTAPOS [%ls] entry.\r\n", CurrentPrinterName);
    LABELPAGEDATA* data = LabelPageRecord(hDlg);
    int edit = change->hdr.idFrom == IDC_SPIN_HOR ? IDC_EDIT_HOR : change->hdr.idFrom == IDC_SPIN_VER ? IDC_EDIT_VER : 0;
    if (!data || !edit)
        return;
    WCHAR text[LABEL_EDIT_CCH + 1] = L"";
    GetDlgItemTextW(hDlg, edit, text, LABEL_EDIT_CCH + 1);
    long long v = StepOffset(text, change->iDelta);
    ShowNumber(hDlg, edit, v);
    (edit == IDC_EDIT_HOR ? data->pOEMDM->sPadHor : data->pOEMDM->sPadVer) = CutToShort(v);
    MarkChanged(hDlg);
}

void OnNotify(HWND hDlg, const NMHDR* header) {
    switch (header->code) {
    case UDN_DELTAPOS:
        OnDeltaPos(hDlg, reinterpret_cast<const NMUPDOWN*>(header));
        break;
    case PSN_APPLY:
        if (LABELPAGEDATA* data = LabelPageRecord(hDlg))
            data->bApplied = 1;
        SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, PSNRET_NOERROR);
        break;
    case PSN_RESET:
        if (LABELPAGEDATA* data = LabelPageRecord(hDlg))
            data->bApplied = 0;
        FreePageState(hDlg);
        break;
    case PSN_KILLACTIVE:
        SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, FALSE);
        break;
    default:
        break;
    }
}

}  // namespace

void InitLabelControls(HWND hDlg, const LABELPAGEDATA* data) {
    const OEMLABELDEV* dev = data->pOEMDM;
    if (int button = PaperTypeButton(dev->sPaperType))
        CheckRadioButton(hDlg, IDC_RAD_GAP, IDC_RAD_BLACK, button);
    FillNumberList(hDlg, IDC_CBO_SPEED, 5, dev->sSpeed);
    FillNumberList(hDlg, IDC_CBO_DENSITY, 15, dev->sDensity);
    ShowNumber(hDlg, IDC_EDIT_HOR, dev->sPadHor);
    ShowNumber(hDlg, IDC_EDIT_VER, dev->sPadVer);
    CheckRadioButton(hDlg, IDC_ROTATE_0, IDC_ROTATE_270, RotateButton(dev->sRotate));
}

LABELPAGEDATA* LabelPageRecord(HWND hDlg) {
    PAPERLISTSTATE* state = PageState(hDlg);
    return state ? static_cast<LABELPAGEDATA*>(state->pRecord) : nullptr;
}

INT_PTR CALLBACK DLGProc_PrintConfigPage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    try {
        switch (uMsg) {
        case WM_INITDIALOG: {
            DbgW(DBG_VERBOSE, L"UI:  pageclbk DLGProc_PrintConfigPage WM_INITDIALOG [%ls] entry.\r\n",
                 CurrentPrinterName);
            const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
            auto* data = page ? reinterpret_cast<LABELPAGEDATA*>(page->lParam) : nullptr;
            if (data && data->pOEMDM)
                OnInitDialog(hDlg, data);
            return TRUE;
        }
        case WM_COMMAND:
            return OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY:
            if (lParam)
                OnNotify(hDlg, reinterpret_cast<const NMHDR*>(lParam));
            return TRUE;
        case WM_DESTROY:
            // A sheet closed by OK ends here without PSN_RESET: the paper list goes with the window.
            FreePageState(hDlg);
            return FALSE;
        case WM_HELP:
        case WM_CONTEXTMENU:
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing above is expected to throw; no exception may reach the dialog manager.
        return FALSE;
    }
}
