// Paper manager: paper list and form look-ups, the add/change/delete rules for user forms,
// and the thin dialog procedure over them.
#include "papermgr.h"
#include "debug.h"
#include "dllentry.h"
#include "handles.h"
#include "resource.h"
#include <cstddef>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

// ---- The real spooler -------------------------------------------------------------------

TPaperForm FormFromInfo(const FORM_INFO_1W& info) {
    TPaperForm form;
    form.name = info.pName ? info.pName : L"";
    form.flags = info.Flags;
    form.size = info.Size;
    form.area = info.ImageableArea;
    return form;
}

FORM_INFO_1W InfoFromForm(const TPaperForm& form) {
    FORM_INFO_1W info = {};
    info.Flags = form.flags;
    info.pName = const_cast<LPWSTR>(form.name.c_str());
    info.Size = form.size;
    info.ImageableArea = form.area;
    return info;
}

// The local print server, for its form list.
HANDLE OpenPrintServer() {
    HANDLE h = nullptr;
    return OpenPrinterW(nullptr, &h, nullptr) ? h : nullptr;
}

DWORD LastErrorOr(DWORD fallback) {
    DWORD e = GetLastError();
    return e ? e : fallback;
}

class TSpoolerPrinter final : public IPrinterPapers {
public:
    explicit TSpoolerPrinter(HANDLE h) : m_printer(h) {}
    bool DefaultDevmode(std::vector<BYTE>& devmode) override {
        devmode.clear();
        DWORD needed = 0;
        GetPrinterW(m_printer.get(), 2, nullptr, 0, &needed);
        if (needed == 0)
            return false;
        std::vector<BYTE> buffer(needed + 1, 0);
        if (!GetPrinterW(m_printer.get(), 2, buffer.data(), needed, &needed))
            return false;
        const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
        if (info->pDevMode) {
            const BYTE* dm = reinterpret_cast<const BYTE*>(info->pDevMode);
            devmode.assign(dm, dm + info->pDevMode->dmSize + info->pDevMode->dmDriverExtra);
        }
        return true;
    }
    bool ReadForm(PCWSTR name, TPaperForm& form) override {
        DWORD needed = 0;
        LPWSTR formName = const_cast<LPWSTR>(name);
        GetFormW(m_printer.get(), formName, 1, nullptr, 0, &needed);
        if (needed < sizeof(FORM_INFO_1W))
            return false;
        std::vector<BYTE> buffer(needed, 0);
        if (!GetFormW(m_printer.get(), formName, 1, buffer.data(), needed, &needed))
            return false;
        form = FormFromInfo(*reinterpret_cast<const FORM_INFO_1W*>(buffer.data()));
        return true;
    }

private:
    TPrinterHandle m_printer;
};

class TSpoolerPapers final : public IPaperSpooler {
public:
    DWORD EnumServerForms(std::vector<TPaperForm>& forms) override {
        forms.clear();
        TPrinterHandle server(OpenPrintServer());
        if (!server.get())
            return LastErrorOr(ERROR_INVALID_HANDLE);
        DWORD needed = 0, count = 0;
        if (!EnumFormsW(server.get(), 1, nullptr, 0, &needed, &count) && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return LastErrorOr(ERROR_INVALID_DATA);
        if (needed == 0)
            return 0;
        std::vector<BYTE> buffer(needed, 0);
        if (!EnumFormsW(server.get(), 1, buffer.data(), needed, &needed, &count))
            return LastErrorOr(ERROR_INVALID_DATA);
        const auto* info = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            forms.push_back(FormFromInfo(info[i]));
        return 0;
    }
    DWORD AddServerForm(const TPaperForm& form) override {
        TPrinterHandle server(OpenPrintServer());
        if (!server.get())
            return LastErrorOr(ERROR_INVALID_HANDLE);
        FORM_INFO_1W info = InfoFromForm(form);
        return AddFormW(server.get(), 1, reinterpret_cast<LPBYTE>(&info)) ? 0 : LastErrorOr(ERROR_INVALID_DATA);
    }
    DWORD SetServerForm(const TPaperForm& form) override {
        TPrinterHandle server(OpenPrintServer());
        if (!server.get())
            return LastErrorOr(ERROR_INVALID_HANDLE);
        FORM_INFO_1W info = InfoFromForm(form);
        return SetFormW(server.get(), info.pName, 1, reinterpret_cast<LPBYTE>(&info)) ? 0
                                                                                      : LastErrorOr(ERROR_INVALID_DATA);
    }
    DWORD DeleteServerForm(PCWSTR name) override {
        TPrinterHandle server(OpenPrintServer());
        if (!server.get())
            return LastErrorOr(ERROR_INVALID_HANDLE);
        return DeleteFormW(server.get(), const_cast<LPWSTR>(name)) ? 0 : LastErrorOr(ERROR_INVALID_DATA);
    }
    int PaperNames(PCWSTR printer, std::vector<std::wstring>& names) override {
        names.clear();
        // Asking the count first sizes the buffer, so no count of names can overrun it.
        int count = DeviceCapabilitiesW(printer, L"FILE:", DC_PAPERNAMES, nullptr, nullptr);
        if (count <= 0)
            return count;
        std::vector<WCHAR> buffer(static_cast<size_t>(count) * PAPER_NAME_SLOT_CCH + 1, 0);
        int n = DeviceCapabilitiesW(printer, L"FILE:", DC_PAPERNAMES, buffer.data(), nullptr);
        if (n <= 0)
            return n;
        if (n > count)
            n = count;
        for (int i = 0; i < n; ++i) {
            const WCHAR* slot = buffer.data() + static_cast<size_t>(i) * PAPER_NAME_SLOT_CCH;
            names.emplace_back(slot, wcsnlen(slot, PAPER_NAME_SLOT_CCH));
        }
        return n;
    }
    std::unique_ptr<IPrinterPapers> OpenForPapers(PCWSTR printer) override {
        HANDLE h = nullptr;
        PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (!OpenPrinterW(const_cast<LPWSTR>(printer), &h, &all)) {
            // Reading forms needs no administration rights; a standard user still gets the list.
            if (GetLastError() != ERROR_ACCESS_DENIED)
                return nullptr;
            PRINTER_DEFAULTSW use = {nullptr, nullptr, PRINTER_ACCESS_USE};
            if (!OpenPrinterW(const_cast<LPWSTR>(printer), &h, &use))
                return nullptr;
        }
        return std::unique_ptr<IPrinterPapers>(new TSpoolerPrinter(h));
    }
};

TSpoolerPapers g_realSpooler;
IPaperSpooler* g_spooler = &g_realSpooler;
PaperMessageBoxFn g_messageBox = MessageBoxW;

// Message texts: English text, Chinese text, English caption, Chinese caption.
struct TPaperMessageText {
    PCWSTR text[2];
    PCWSTR caption[2];
};
const TPaperMessageText kMessages[] = {
    {{L"Paper size error", L"纸张大小错误"}, {L"Error", L"出错了"}},
    {{L"Paper margin error", L"纸张边界错误"}, {L"Error", L"出错了"}},
    {{L"No paper name", L"请输入纸张名称"}, {L"Error", L"出错了"}},
    {{L"Paper name too long (at most 31 characters)", L"纸张名称过长（最多 31 个字符）"}, {L"Error", L"出错了"}},
    {{L"Add paper successful", L"已添加纸张"}, {L"Notice", L"提示"}},
    {{L"Set paper successful", L"已修改纸张参数"}, {L"Notice", L"提示"}},
};

// Largest length in millimetres whose form units still fit a LONG.
const double kMaxMillimetres = 2147483.0;

int ClampToInt(double v) {
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return 2147483647;
    if (v <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(v);
}

void FillEntry(const TPaperForm& form, LONG index, PAPERENTRY* entry) {
    entry->nIndex = index;
    entry->dwFlags = form.flags;
    lstrcpynW(entry->szName, form.name.c_str(), PAPER_NAME_SLOT_CCH);
    entry->Size = form.size;
    entry->ImageableArea = form.area;
}

// The first form of the local server's list that the test accepts.
template <typename Match>
bool FindForm(PAPERENTRY* entry, Match match) {
    if (!entry)
        return false;
    std::vector<TPaperForm> forms;
    if (PaperSpooler().EnumServerForms(forms) != 0)
        return false;
    for (size_t i = 0; i < forms.size(); ++i)
        if (match(forms[i])) {
            FillEntry(forms[i], static_cast<LONG>(i + 1), entry);
            return true;
        }
    return false;
}

bool IsChecked(HWND hDlg, int id) { return IsDlgButtonChecked(hDlg, id) == BST_CHECKED; }

std::wstring ItemText(HWND hDlg, int id, int maxChars) {
    std::vector<WCHAR> text(static_cast<size_t>(maxChars) + 1, 0);
    GetDlgItemTextW(hDlg, id, text.data(), maxChars + 1);
    return text.data();
}

std::wstring ListLineText(HWND list, int line) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, line, 0);
    if (length == LB_ERR)
        return std::wstring();
    std::vector<WCHAR> text(static_cast<size_t>(length) + 1, 0);
    SendMessageW(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

// The printer named at the start of a public devmode, at most CCHDEVICENAME - 1 characters.
std::wstring DevicePrinterName(const DEVMODEW* dm) {
    if (!dm)
        return std::wstring();
    return std::wstring(dm->dmDeviceName, wcsnlen(dm->dmDeviceName, CCHDEVICENAME));
}

PAPERLISTSTATE* State(HWND hDlg) { return reinterpret_cast<PAPERLISTSTATE*>(GetWindowLongPtrW(hDlg, GWLP_USERDATA)); }

void FreeState(HWND hDlg) {
    delete State(hDlg);
    SetWindowLongPtrW(hDlg, GWLP_USERDATA, 0);
}

// Looks the name up in the server's form list and shows it when found.
void ShowNamedPaper(HWND hDlg, const std::wstring& name) {
    PAPERENTRY entry = {};
    if (FindFormByName(name.c_str(), &entry))
        ShowPaper(hDlg, &entry);
}

// Fills the list box from the list and shows the paper at position p, if any.
void FillPaperList(HWND hDlg, const PaperList& papers, int p) {
    HWND list = GetDlgItem(hDlg, IDC_PM_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const auto& entry : papers)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry->szName));
    if (papers.empty() || p < 0)
        return;
    SendMessageW(list, LB_SETCURSEL, p, 0);
    ShowNamedPaper(hDlg, ListLineText(list, p));
}

void OnInitDialog(HWND hDlg, const DEVMODEW* publicDM) {
    std::unique_ptr<PAPERLISTSTATE> state(new PAPERLISTSTATE());
    state->pRecord = const_cast<DEVMODEW*>(publicDM);
    state->nSelected = ListPrinterPapers(DevicePrinterName(publicDM).c_str(), state->papers);
    FillPaperList(hDlg, state->papers, state->nSelected);
    SetWindowLongPtrW(hDlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    EnableWindow(GetDlgItem(hDlg, IDC_PM_NAME), FALSE);
    CheckRadioButton(hDlg, IDC_PM_METRIC, IDC_PM_INCH, IDC_PM_METRIC);
    EnableWindow(GetDlgItem(hDlg, IDC_PM_INCH), FALSE);
}

void OnSave(HWND hDlg) {
    if (!IsChecked(hDlg, IDC_PM_NEW)) {
        SetPaper(hDlg);
        return;
    }
    // A refused paper leaves the list and what was typed as they are, so nothing is lost.
    if (!AddPaper(hDlg))
        return;
    PAPERLISTSTATE* state = State(hDlg);
    if (!state)
        return;
    state->nSelected =
        ListPrinterPapers(DevicePrinterName(static_cast<const DEVMODEW*>(state->pRecord)).c_str(), state->papers);
    FillPaperList(hDlg, state->papers, state->nSelected);
}

void OnRemove(HWND hDlg) {
    HWND list = GetDlgItem(hDlg, IDC_PM_LIST);
    LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    // The first line is never removed.
    if (line == LB_ERR || line <= 0 || !State(hDlg))
        return;
    if (DeletePaper(ListLineText(list, static_cast<int>(line)).c_str()))
        SendMessageW(list, LB_DELETESTRING, line, 0);
}

void OnSelectionChange(HWND hDlg) {
    HWND list = GetDlgItem(hDlg, IDC_PM_LIST);
    LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR || !State(hDlg))
        return;
    ShowNamedPaper(hDlg, ListLineText(list, static_cast<int>(line)));
}

void OnNewPaperToggled(HWND hDlg) {
    BOOL ticked = IsChecked(hDlg, IDC_PM_NEW) ? TRUE : FALSE;
    EnableWindow(GetDlgItem(hDlg, IDC_PM_NAME), ticked);
    EnableWindow(GetDlgItem(hDlg, IDC_PM_SAVE), ticked);
    if (ticked)
        SetDlgItemTextW(hDlg, IDC_PM_NAME, L"");
}

INT_PTR PaperManagerMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG:
        OnInitDialog(hDlg, reinterpret_cast<const DEVMODEW*>(lParam));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PM_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE)
                OnSelectionChange(hDlg);
            return FALSE;
        case IDC_PM_NEW:
            OnNewPaperToggled(hDlg);
            return FALSE;
        case IDC_PM_SAVE:
            OnSave(hDlg);
            return FALSE;
        case IDC_PM_REMOVE:
            OnRemove(hDlg);
            return FALSE;
        case IDOK:
        case IDCANCEL:
            EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        FreeState(hDlg);
        return FALSE;
    case WM_DESTROY:
        // Closing by the Close button never sends WM_CLOSE; the list goes with the window.
        FreeState(hDlg);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

// ---- Seams ----------------------------------------------------------------------------------

IPaperSpooler& PaperSpooler() { return *g_spooler; }
void SetPaperSpooler(IPaperSpooler* spooler) { g_spooler = spooler ? spooler : &g_realSpooler; }
void SetPaperMessageBox(PaperMessageBoxFn fn) { g_messageBox = fn ? fn : MessageBoxW; }

// ---- Plain logic ----------------------------------------------------------------------------

LONG PaperUnits(double mm) { return static_cast<LONG>(ClampToInt(mm * 10000 * 0.1)); }

std::wstring FormatMillimetres(LONG units) {
    WCHAR text[64];
    _snwprintf(text, 63, L"%.2f", units * 0.001);
    text[63] = L'\0';
    return text;
}

double ParseMillimetres(PCWSTR text) { return text ? _wtof(text) : 0.0; }

std::wstring MadePaperName(double width, double height) {
    WCHAR text[64];
    _snwprintf(text, 63, L"%.2d x %.2d mm", ClampToInt(width), ClampToInt(height));
    text[63] = L'\0';
    return text;
}

std::wstring SystemErrorText(DWORD error) {
    WCHAR text[512] = L"";
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, 512, nullptr);
    if (n == 0) {
        // No system text for the code: the number still tells the user what failed.
        _snwprintf(text, 511, L"Error %lu", static_cast<unsigned long>(error));
        text[511] = L'\0';
    }
    return text;
}

void ShowPaperMessage(HWND owner, PaperMessage message) {
    const TPaperMessageText& m = kMessages[message];
    int lang = UseChineseUI() ? 1 : 0;
    g_messageBox(owner, m.text[lang], m.caption[lang], MB_OK | MB_ICONINFORMATION);
}

void ShowPaperError(HWND owner, DWORD error, PCWSTR captionEnglish, PCWSTR captionChinese) {
    g_messageBox(owner, SystemErrorText(error).c_str(), UseChineseUI() ? captionChinese : captionEnglish,
                 MB_OK | MB_ICONINFORMATION);
}

bool ValidatePaper(HWND owner, const PAPERFIELDS& f) {
    // Also refuses lengths that are no number at all or too large for a form.
    if (!(f.width >= 0.01) || !(f.height >= 0.01) || f.width > kMaxMillimetres || f.height > kMaxMillimetres) {
        ShowPaperMessage(owner, PM_SIZE_ERROR);
        return false;
    }
    const double margins[] = {f.left, f.right, f.top, f.bottom};
    for (double m : margins)
        if (!(m >= -0.001)) {
            ShowPaperMessage(owner, PM_MARGIN_ERROR);
            return false;
        }
    if (f.left + f.right >= f.width || f.top + f.bottom >= f.height) {
        ShowPaperMessage(owner, PM_MARGIN_ERROR);
        return false;
    }
    return true;
}

TPaperForm MakeFormRecord(const PAPERFIELDS& f, DWORD flags) {
    TPaperForm form;
    form.name = f.name;
    form.flags = flags;
    form.size.cx = PaperUnits(f.width);
    form.size.cy = PaperUnits(f.height);
    form.area.left = PaperUnits(f.left);
    form.area.top = PaperUnits(f.top);
    form.area.right = form.size.cx - PaperUnits(f.right);
    form.area.bottom = form.size.cy - PaperUnits(f.bottom);
    return form;
}

bool AddPaperForm(HWND owner, PAPERFIELDS& fields) {
    if (fields.name.empty())
        fields.name = MadePaperName(fields.width, fields.height);
    if (fields.name.size() > PAPER_NAME_MAX) {
        ShowPaperMessage(owner, PM_NAME_TOO_LONG);
        return false;
    }
    if (!ValidatePaper(owner, fields))
        return false;
    DWORD error = PaperSpooler().AddServerForm(MakeFormRecord(fields, FORM_USER));
    if (error != 0) {
        ShowPaperError(owner, error, L"Error", L"出错了");
        return false;
    }
    ShowPaperMessage(owner, PM_ADDED);
    return true;
}

bool SetPaperForm(HWND owner, const PAPERFIELDS& fields) {
    if (fields.name.empty()) {
        ShowPaperMessage(owner, PM_NO_NAME);
        return false;
    }
    if (!ValidatePaper(owner, fields))
        return false;
    // A name the server does not know keeps the user flag; the server then refuses the change.
    PAPERENTRY existing = {};
    existing.dwFlags = FORM_USER;
    FindFormByName(fields.name.c_str(), &existing);
    DWORD error = PaperSpooler().SetServerForm(MakeFormRecord(fields, existing.dwFlags));
    if (error != 0) {
        ShowPaperError(owner, error, L"Set paper error", L"设置纸张错误");
        return false;
    }
    ShowPaperMessage(owner, PM_CHANGED);
    return true;
}

BOOL DeletePaper(PCWSTR name) { return PaperSpooler().DeleteServerForm(name) == 0 ? TRUE : FALSE; }

bool FindFormByName(PCWSTR name, PAPERENTRY* entry) {
    if (!name)
        return false;
    return FindForm(entry, [name](const TPaperForm& f) { return f.name == name; });
}

bool FindFormBySize(LONG width, LONG length, PAPERENTRY* entry) {
    return FindForm(entry, [width, length](const TPaperForm& f) {
        return std::labs(width - f.size.cx / 100) <= 2 && std::labs(length - f.size.cy / 100) <= 2;
    });
}

bool GetDevmodePaperName(const DEVMODEW* devmode, PWSTR name) {
    if (!devmode || !name)
        return false;
    if (devmode->dmFields & DM_FORMNAME) {
        size_t n = wcsnlen(devmode->dmFormName, CCHFORMNAME);
        wmemcpy(name, devmode->dmFormName, n);
        name[n] = L'\0';
        return true;
    }
    PAPERENTRY entry = {};
    if (!FindFormBySize(devmode->dmPaperWidth, devmode->dmPaperLength, &entry))
        return false;
    lstrcpynW(name, entry.szName, static_cast<int>(DEVMODE_PAPER_NAME_CCH));
    return true;
}

bool GetPrinterPaperName(IPrinterPapers& printer, PWSTR name) {
    std::vector<BYTE> devmode;
    if (!printer.DefaultDevmode(devmode))
        return false;
    // The form name and paper size lie before dmLogPixels; a shorter devmode names nothing.
    if (devmode.size() >= offsetof(DEVMODEW, dmLogPixels))
        GetDevmodePaperName(reinterpret_cast<const DEVMODEW*>(devmode.data()), name);
    return true;
}

int ListPrinterPapers(PCWSTR printer, PaperList& list) {
    std::vector<std::wstring> names;
    int n = PaperSpooler().PaperNames(printer, names);
    if (n <= 0)
        return -1;
    std::unique_ptr<IPrinterPapers> opened = PaperSpooler().OpenForPapers(printer);
    if (!opened)
        return -2;
    list.clear();
    WCHAR defaultName[DEVMODE_PAPER_NAME_CCH] = L"";
    GetPrinterPaperName(*opened, defaultName);
    int result = -1;
    for (size_t i = 0; i < names.size(); ++i) {
        std::unique_ptr<PAPERENTRY> entry(new PAPERENTRY());
        entry->nIndex = static_cast<LONG>(i + 1);
        // A form the printer cannot read shows its name only and is not treated as the user's.
        entry->dwFlags = FORM_BUILTIN;
        lstrcpynW(entry->szName, names[i].c_str(), PAPER_NAME_SLOT_CCH);
        if (names[i] == defaultName)
            result = static_cast<int>(i);
        TPaperForm form;
        if (opened->ReadForm(names[i].c_str(), form)) {
            entry->Size = form.size;
            entry->ImageableArea = form.area;
            entry->dwFlags = form.flags;
        }
        list.push_back(std::move(entry));
    }
    return result;
}

std::vector<PAPERTEXT> PaperTexts(const PAPERENTRY& e) {
    return {
        {IDC_PM_NAME, e.szName},
        {IDC_PM_WIDTH, FormatMillimetres(e.Size.cx)},
        {IDC_PM_HEIGHT, FormatMillimetres(e.Size.cy)},
        {IDC_PM_TOP, FormatMillimetres(e.ImageableArea.top)},
        {IDC_PM_BOTTOM, FormatMillimetres(e.Size.cy - e.ImageableArea.bottom)},
        {IDC_PM_LEFT, FormatMillimetres(e.ImageableArea.left)},
        {IDC_PM_RIGHT, FormatMillimetres(e.Size.cx - e.ImageableArea.right)},
    };
}

// ---- Dialog -----------------------------------------------------------------------------------

void ShowPaper(HWND hDlg, const PAPERENTRY* entry) {
    if (!entry)
        return;
    for (const PAPERTEXT& t : PaperTexts(*entry))
        SetDlgItemTextW(hDlg, t.id, t.text.c_str());
    BOOL user = entry->dwFlags == FORM_USER ? TRUE : FALSE;
    EnableWindow(GetDlgItem(hDlg, IDC_PM_REMOVE), user);
    EnableWindow(GetDlgItem(hDlg, IDC_PM_SAVE), user);
}

PAPERFIELDS ReadPaperFields(HWND hDlg) {
    PAPERFIELDS f;
    f.name = ItemText(hDlg, IDC_PM_NAME, PAPER_NAME_EDIT_CCH);
    f.width = ParseMillimetres(ItemText(hDlg, IDC_PM_WIDTH, PAPER_LENGTH_EDIT_CCH).c_str());
    f.height = ParseMillimetres(ItemText(hDlg, IDC_PM_HEIGHT, PAPER_LENGTH_EDIT_CCH).c_str());
    f.left = ParseMillimetres(ItemText(hDlg, IDC_PM_LEFT, PAPER_LENGTH_EDIT_CCH).c_str());
    f.top = ParseMillimetres(ItemText(hDlg, IDC_PM_TOP, PAPER_LENGTH_EDIT_CCH).c_str());
    f.right = ParseMillimetres(ItemText(hDlg, IDC_PM_RIGHT, PAPER_LENGTH_EDIT_CCH).c_str());
    f.bottom = ParseMillimetres(ItemText(hDlg, IDC_PM_BOTTOM, PAPER_LENGTH_EDIT_CCH).c_str());
    return f;
}

bool AddPaper(HWND hDlg) {
    PAPERFIELDS fields = ReadPaperFields(hDlg);
    bool typedName = !fields.name.empty();
    bool added = AddPaperForm(hDlg, fields);
    if (!typedName)
        SetDlgItemTextW(hDlg, IDC_PM_NAME, fields.name.c_str());
    return added;
}

bool SetPaper(HWND hDlg) { return SetPaperForm(hDlg, ReadPaperFields(hDlg)); }

INT_PTR CALLBACK DLGProc_PaperManager(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    try {
        return PaperManagerMessage(hDlg, uMsg, wParam, lParam);
    } catch (...) {
        // Out of memory while building texts or lists: the dialog stays as it was.
        DbgW(DBG_ERROR, L"UI:  DLGProc_PaperManager: out of memory (message %u).\r\n", uMsg);
        return FALSE;
    }
}

INT_PTR RunPaperManager(HWND owner, const DEVMODEW* publicDM) {
    return DialogBoxParamW(ghInstance, MAKEINTRESOURCEW(LangTemplate(IDD_PAPERMANAGER_CN, IDD_PAPERMANAGER_EN)),
                           owner, DLGProc_PaperManager, reinterpret_cast<LPARAM>(publicDM));
}
