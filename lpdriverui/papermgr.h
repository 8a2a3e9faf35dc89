// Paper manager: the printer's paper list, form look-ups in the local print server's form
// list, and the modal dialog that adds, changes and deletes user forms. Lengths are shown
// and typed in millimetres; forms hold thousandths of a millimetre.
#pragma once
#include <windows.h>
#include <winspool.h>
#include <memory>
#include <string>
#include <vector>

// Paper names as the printer reports them occupy this many characters each.
const int PAPER_NAME_SLOT_CCH = 64;
// Longest name a user form may get: a document's devmode holds form names of 31 characters.
const size_t PAPER_NAME_MAX = CCHFORMNAME - 1;
// Longest text read from the name edit and from each length edit.
const int PAPER_NAME_EDIT_CCH = 63;
const int PAPER_LENGTH_EDIT_CCH = 255;
// Out buffer of GetDevmodePaperName, in characters.
const size_t DEVMODE_PAPER_NAME_CCH = 256;

struct PAPERENTRY {
    LONG nIndex;    // 1-based position in the list it came from
    DWORD dwFlags;  // FORM_USER, FORM_BUILTIN or FORM_PRINTER
    WCHAR szName[PAPER_NAME_SLOT_CCH];  // every character a printer slot can hold
    SIZEL Size;            // thousandths of a millimetre
    RECTL ImageableArea;   // from the form's top left corner
};

// An ordered list that owns its entries.
typedef std::vector<std::unique_ptr<PAPERENTRY>> PaperList;

// One per window that shows a paper list, kept as the window's user data.
struct PAPERLISTSTATE {
    void* pRecord;  // what the window was opened with (the paper manager: the public devmode)
    int nSelected;
    PaperList papers;
};

// ---- Spooler seam ---------------------------------------------------------------------

struct TPaperForm {
    std::wstring name;
    DWORD flags = FORM_USER;
    SIZEL size = {0, 0};
    RECTL area = {0, 0, 0, 0};
};

// What a printer opened for its paper list answers.
class IPrinterPapers {
public:
    virtual ~IPrinterPapers() = default;
    // A copy of the printer's default devmode (GetPrinterW level 2); false when the printer's
    // information cannot be read, true with an empty copy when it has no devmode.
    virtual bool DefaultDevmode(std::vector<BYTE>& devmode) = 0;
    // The printer's form of that name (GetFormW level 1).
    virtual bool ReadForm(PCWSTR name, TPaperForm& form) = 0;
};

// The spooler calls of the paper manager. Form-list calls return 0 or a Windows error code.
class IPaperSpooler {
public:
    virtual ~IPaperSpooler() = default;
    virtual DWORD EnumServerForms(std::vector<TPaperForm>& forms) = 0;
    virtual DWORD AddServerForm(const TPaperForm& form) = 0;
    virtual DWORD SetServerForm(const TPaperForm& form) = 0;
    virtual DWORD DeleteServerForm(PCWSTR name) = 0;
    // DC_PAPERNAMES of the printer: the count the driver reports (0 or less: none) and the names.
    virtual int PaperNames(PCWSTR printer, std::vector<std::wstring>& names) = 0;
    // Null when the printer cannot be opened.
    virtual std::unique_ptr<IPrinterPapers> OpenForPapers(PCWSTR printer) = 0;
};

// The real spooler unless a test installs its own (null restores).
IPaperSpooler& PaperSpooler();
void SetPaperSpooler(IPaperSpooler* spooler);

// Where the paper manager's message boxes go: MessageBoxW unless a test installs its own.
typedef int(WINAPI* PaperMessageBoxFn)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
void SetPaperMessageBox(PaperMessageBoxFn fn);

// ---- Plain logic ----------------------------------------------------------------------

// Form units for a typed length: the integer part of mm x 10000 x 0.1.
LONG PaperUnits(double mm);
// "%.2f" of units x 0.001.
std::wstring FormatMillimetres(LONG units);
// A length edit's text as _wtof reads it (no number counts as 0).
double ParseMillimetres(PCWSTR text);
// The name a new paper gets when none is typed: "%.2d x %.2d mm" of the integer parts.
std::wstring MadePaperName(double width, double height);

// What the user typed, in millimetres.
struct PAPERFIELDS {
    std::wstring name;
    double width = 0, height = 0, left = 0, top = 0, right = 0, bottom = 0;
};

enum PaperMessage {
    PM_SIZE_ERROR,
    PM_MARGIN_ERROR,
    PM_NO_NAME,
    PM_NAME_TOO_LONG,
    PM_ADDED,
    PM_CHANGED,
};
// Shows one of the fixed messages in the user's language, information icon.
void ShowPaperMessage(HWND owner, PaperMessage message);
// Shows the system's text for a Windows error under the given caption.
void ShowPaperError(HWND owner, DWORD error, PCWSTR captionEnglish, PCWSTR captionChinese);
std::wstring SystemErrorText(DWORD error);

// Size and margin rules; true when the fields make a form, else shows the reason.
bool ValidatePaper(HWND owner, const PAPERFIELDS& fields);
// The form a valid set of fields makes.
TPaperForm MakeFormRecord(const PAPERFIELDS& fields, DWORD flags);

// Adds a user form. An empty name is replaced by the made name first (kept in fields even
// when validation fails). Shows the outcome; true when the form was added.
bool AddPaperForm(HWND owner, PAPERFIELDS& fields);
// Changes the form of that name, keeping its flags. Shows the outcome; true when changed.
bool SetPaperForm(HWND owner, const PAPERFIELDS& fields);
// The spooler's answer to deleting the form: TRUE when it was deleted.
BOOL DeletePaper(PCWSTR name);

bool FindFormByName(PCWSTR name, PAPERENTRY* entry);
// width and length in tenths of a millimetre, 0.2 mm tolerance.
bool FindFormBySize(LONG width, LONG length, PAPERENTRY* entry);
// The devmode's form name, or the name of the form of its paper size. name holds
// DEVMODE_PAPER_NAME_CCH characters.
bool GetDevmodePaperName(const DEVMODEW* devmode, PWSTR name);
bool GetPrinterPaperName(IPrinterPapers& printer, PWSTR name);
// Rebuilds list from the printer's paper names; the position of its default paper, -1 when
// none matches or the printer has no paper names (list left alone), -2 when the printer
// cannot be opened (list left alone).
int ListPrinterPapers(PCWSTR printer, PaperList& list);

// What ShowPaper writes: the edit id and its text.
struct PAPERTEXT {
    int id;
    std::wstring text;
};
std::vector<PAPERTEXT> PaperTexts(const PAPERENTRY& entry);

// ---- Dialog -----------------------------------------------------------------------------

void ShowPaper(HWND hDlg, const PAPERENTRY* entry);
PAPERFIELDS ReadPaperFields(HWND hDlg);
bool AddPaper(HWND hDlg);
bool SetPaper(HWND hDlg);
// lParam of WM_INITDIALOG: the document's public devmode; its device name is the printer.
INT_PTR CALLBACK DLGProc_PaperManager(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Entry point for the label setting page: runs the paper manager modally, owned by the page,
// for the printer named in the document's public devmode. Returns the id that ended it
// (IDOK or IDCANCEL), or -1 when the dialog could not be created.
INT_PTR RunPaperManager(HWND owner, const DEVMODEW* publicDM);
