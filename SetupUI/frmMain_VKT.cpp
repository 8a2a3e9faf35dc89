#include "frmMain_VKT.h"
#include "Application.h"
#include "Controls.h"
#include "InstallAssist.h"
#include "Lib_Error.h"
#include "Lib_Lang.h"
#include "Lib_Log.h"
#include "Lib_PrinterCmd.h"
#include "Lib_Services.h"
#include "Lib_String.h"
#include <commctrl.h>
#include <cstdlib>
#include <windowsx.h>

TFormMain_VKT* FormMain_VKT = nullptr;

const wchar_t* const kManufacturerKeys[3] = {L"OEMMFG:VKT", L"MFG:Ondrix", L"MFG:Halvo"};

const wchar_t* MatchManufacturerKey(const std::wstring& deviceId) {
    for (const wchar_t* key : kManufacturerKeys)
        if (deviceId.find(key) != std::wstring::npos) return key;
    return nullptr;
}

bool WiFiFieldsComplete(const TWiFiFields& f) {
    if (f.networkName.empty()) return false;
    if (!f.password.empty() && f.password.size() < 8) return false;
    return f.dhcp || (!f.ipAddress.empty() && !f.mask.empty() && !f.gateway.empty());
}

namespace {
const wchar_t* const kWindowClass = L"TFormMain_VKT";
const int kClientWidth = 616;
const int kClientHeight = 439;
const int kBottomHeight = 60;
const int kPageControlRightGap = 616 - 185 - 416;  // pgc1 is anchored left and right
const int kTabRowHiddenTop = -30;

bool IsPage(const TControlDef& d) { return d.kind == TControlKind::Page; }

// One CreateWindowExW per kind of control.
struct TWindowKind {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle;
};

TWindowKind WindowKindOf(const TControlDef& d) {
    switch (d.kind) {
    case TControlKind::Panel:
    case TControlKind::Page:
        return {Controls::kPanelClass, WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case TControlKind::Link:
        return {Controls::kLinkClass, 0, 0};
    case TControlKind::Picture:
        return {Controls::kPictureClass, 0, d.flags & cfTransparent ? (DWORD)WS_EX_TRANSPARENT : 0};
    case TControlKind::Label:
        return {L"STATIC", (DWORD)(SS_NOTIFY | SS_NOPREFIX | (d.flags & cfWordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP)), 0};
    case TControlKind::PageControl:
        return {WC_TABCONTROLW, TCS_BUTTONS | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case TControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case TControlKind::Radio:
        return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case TControlKind::Edit:
        return {L"EDIT", (DWORD)(ES_AUTOHSCROLL | WS_TABSTOP | (d.flags & cfPassword ? ES_PASSWORD : 0)), WS_EX_CLIENTEDGE};
    case TControlKind::ListBox:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case TControlKind::Progress:
        return {PROGRESS_CLASSW, 0, 0};
    case TControlKind::DropDown:
        return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case TControlKind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    }
    return {Controls::kPanelClass, 0, 0};
}

SIZE TextSize(HWND control, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

// The page control shows only white: its row of tab buttons is out of sight and the
// pages cover the rest, so neither its frame nor its body may show around them.
LRESULT CALLBACK PlainPageControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_NCPAINT:
        return 0;
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect((HDC)wp, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, (HBRUSH)GetStockObject(WHITE_BRUSH));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, PlainPageControlProc, 1);
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

std::wstring SysErrorMessage(DWORD code) {
    wchar_t* buf = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, (LPWSTR)&buf, 0, nullptr);
    std::wstring s = buf ? buf : L"";
    if (buf) LocalFree(buf);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' ')) s.pop_back();
    return s;
}
}  // namespace

TFormMain_VKT::TFormMain_VKT() = default;

TFormMain_VKT::~TFormMain_VKT() {
    if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    if (m_font) DeleteObject(m_font);
    for (auto& f : m_extraFonts) DeleteObject(f.second);
}

HWND TFormMain_VKT::Control(TControlId id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void TFormMain_VKT::Create(HINSTANCE resources) {
    m_resources = resources;
    HINSTANCE self = GetModuleHandleW(nullptr);
    Controls::RegisterClasses(self);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(self, kWindowClass, &wc)) {
        wc = WNDCLASSEXW();
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WndProc;
        wc.hInstance = self;
        wc.hIcon = LoadIconW(resources, L"MAINICON");
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
        wc.lpszClassName = kWindowClass;
        if (!RegisterClassExW(&wc)) throw EKovrinError(L"Cannot register the wizard window class.");
    }
    // Tahoma at 13 pixels, designed at 96 dpi and not scaled.
    m_font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT rc = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&rc, style, FALSE, WS_EX_APPWINDOW | WS_EX_CONTROLPARENT);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    m_hwnd = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kWindowClass, L"Ondrix Printer Setup", style, x, y,
                             w, h, nullptr, nullptr, self, this);
    if (!m_hwnd) throw EKovrinError(L"Cannot create the wizard window.");
    SendMessageW(m_hwnd, WM_SETFONT, (WPARAM)m_font, FALSE);
    CreateControls();
    Layout();
    Application::Dispatch(m_hwnd, [this] { FormCreate(); });
}

void TFormMain_VKT::Show() {
    Application::Dispatch(m_hwnd, [this] { FormShow(); });
    ShowWindow(m_hwnd, SW_SHOWNORMAL);
    UpdateWindow(m_hwnd);
}

void TFormMain_VKT::CreateControls() {
    size_t count = 0;
    const TControlDef* defs = FormMainControls(count);
    HINSTANCE self = GetModuleHandleW(nullptr);
    for (size_t i = 0; i < count; ++i) {
        const TControlDef& d = defs[i];
        HWND parent = d.parent == IDC_None ? m_hwnd : Control(d.parent);
        const TWindowKind k = WindowKindOf(d);
        DWORD style = WS_CHILD | k.style;
        if (!(d.flags & cfHidden) && !IsPage(d)) style |= WS_VISIBLE;
        if (d.flags & cfDisabled) style |= WS_DISABLED;
        HFONT font = m_font;
        if (d.fontHeight || (d.flags & cfBold)) {
            font = CreateFontW(-(d.fontHeight ? d.fontHeight : 13), 0, 0, 0, d.flags & cfBold ? FW_BOLD : FW_NORMAL, 0, 0,
                               0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                               DEFAULT_PITCH, L"Tahoma");
            m_extraFonts[d.id] = font;
        }
        int w = d.w, h = d.h;
        if (d.kind == TControlKind::DropDown) h = 200;  // the height of the open list
        const int x = d.x + (m_shift.count(d.id) ? m_shift[d.id] : 0);
        HWND c = CreateWindowExW(k.exStyle, k.cls, d.text, style, x, d.y, w, h, parent, (HMENU)(INT_PTR)d.id, self,
                                 nullptr);
        if (!c) throw EKovrinError(FormatW(L"Cannot create the control %s.", d.name));
        m_controls[d.id] = c;
        m_tags[d.id] = d.tag;
        SendMessageW(c, WM_SETFONT, (WPARAM)font, FALSE);
        if (d.kind == TControlKind::Label && (w == 0 || h == 0)) {
            SIZE s = TextSize(c, font, d.text);  // sized to its text
            SetWindowPos(c, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (d.kind == TControlKind::Radio || d.kind == TControlKind::CheckBox) FitButtonText(c, font, d);
        if (d.flags & cfChecked) SendMessageW(c, BM_SETCHECK, BST_CHECKED, 0);
        if (d.flags & cfHandCursor) Controls::SetHandCursor(c);
        if (d.maxLength) SendMessageW(c, EM_LIMITTEXT, d.maxLength, 0);
        if (d.flags & cfPassword) SendMessageW(c, EM_SETPASSWORDCHAR, L'*', 0);
        if (d.kind == TControlKind::Progress) SendMessageW(c, PBM_SETRANGE32, 0, 100);
        if (d.kind == TControlKind::PageControl) SetWindowSubclass(c, PlainPageControlProc, 1, 0);
        if (IsPage(d)) {
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(d.text);
            SendMessageW(parent, TCM_INSERTITEMW, d.id - IDC_ts01_Licence, (LPARAM)&item);
            SetWindowTextW(c, L"");
        }
    }
    // The link continues the sentence of lbl01_StepInfo: where the font runs wider than
    // designed, it moves right instead of covering the sentence's end.
    RECT info;
    GetWindowRect(Control(IDC_lbl01_StepInfo), &info);
    MapWindowPoints(nullptr, Control(IDC_ts01_Licence), (POINT*)&info, 2);
    const TControlDef* link = FindControlDef(IDC_pnl_License);
    if (info.right > link->x)
        SetWindowPos(Control(IDC_pnl_License), nullptr, info.right, link->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Pictures that are part of the design.
    Controls::PictureLoad(Control(IDC_img1), Controls::ResourceBytes(m_resources, L"BRAND_PNG"));
    Controls::PictureLoad(Control(IDC_img02), Controls::ResourceBytes(m_resources, L"CONNECT_PNG"));
    Controls::PictureLoad(Control(IDC_img03_ViewPassword), Controls::ResourceBytes(m_resources, L"HideIcon"));
}

// A check box or radio button whose caption runs wider than designed (a wider font)
// grows to show all of it; a control to its right on the same row moves along.
void TFormMain_VKT::FitButtonText(HWND button, HFONT font, const TControlDef& d) {
    const int kGlyphAndGap = 20;
    const int need = TextSize(button, font, d.text).cx + kGlyphAndGap;
    if (need <= d.w) return;
    SetWindowPos(button, nullptr, 0, 0, need, d.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    size_t count = 0;
    const TControlDef* defs = FormMainControls(count);
    for (size_t i = 0; i < count; ++i) {
        const TControlDef& next = defs[i];
        if (next.parent != d.parent || next.id == d.id || next.x <= d.x || abs(next.y - d.y) > 4) continue;
        const int overlap = d.x + need + 4 - next.x;
        if (overlap > 0) m_shift[next.id] = overlap;
    }
}

// Places the aligned panels and the anchored controls for the current client size.
void TFormMain_VKT::Layout() {
    if (m_controls.empty()) return;
    RECT rc;
    GetClientRect(m_hwnd, &rc);
    const int cx = rc.right, cy = rc.bottom;
    const int contextHeight = cy - kBottomHeight > 0 ? cy - kBottomHeight : 0;
    auto place = [](HWND h, int x, int y, int w, int hgt) {
        SetWindowPos(h, nullptr, x, y, w > 0 ? w : 0, hgt > 0 ? hgt : 0, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(Control(IDC_pnlBottom), 0, contextHeight, cx, kBottomHeight);
    place(Control(IDC_pnlContext), 0, 0, cx, contextHeight);
    place(Control(IDC_pnl_Left), 0, 0, 187, contextHeight);
    const TControlDef* pgc = FindControlDef(IDC_pgc1);
    place(Control(IDC_pgc1), pgc->x, m_pageControlTop, cx - pgc->x - kPageControlRightGap, pgc->h);
    for (int id : {IDC_btn_Prev, IDC_btn_Next}) {
        const TControlDef* d = FindControlDef(id);
        place(Control((TControlId)id), cx - (kClientWidth - d->x), d->y, d->w, d->h);
    }
    // The pages fill the page control below its row of tab buttons, frame included, so
    // no border shows once the row is out of sight; pnl03 fills its page.
    RECT display, client;
    GetClientRect(Control(IDC_pgc1), &client);
    display = client;
    SendMessageW(Control(IDC_pgc1), TCM_ADJUSTRECT, FALSE, (LPARAM)&display);
    display.left = client.left;
    display.right = client.right;
    display.bottom = client.bottom;
    for (int id = IDC_ts01_Licence; id <= IDC_ts05_Result; ++id) {
        if (!FindControlDef(id) || !IsPage(*FindControlDef(id))) continue;
        place(Control((TControlId)id), display.left, display.top, display.right - display.left,
              display.bottom - display.top);
    }
    place(Control(IDC_pnl03), 0, 0, display.right - display.left, display.bottom - display.top);
}

LRESULT CALLBACK TFormMain_VKT::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TFormMain_VKT* self = reinterpret_cast<TFormMain_VKT*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<TFormMain_VKT*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR)self);
        self->m_hwnd = hwnd;
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->HandleMessage(msg, wp, lp);
}

LRESULT TFormMain_VKT::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (lp) OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Everything sits on white.
        SetBkColor((HDC)wp, RGB(255, 255, 255));
        return (LRESULT)GetStockObject(WHITE_BRUSH);
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) Application::Dispatch(m_hwnd, [this] { FormActivate(); });
        break;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETFONT:
        return (LRESULT)m_font;
    case WM_DESTROY:
        if (Application::MainWindow() == m_hwnd) PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        m_controls.clear();
        return 0;
    }
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

void TFormMain_VKT::OnCommand(int id, int code) {
    auto run = [this](const std::function<void()>& action) { Application::Dispatch(m_hwnd, action); };
    switch (id) {
    case IDC_btn_Next:
        // Detached while the detection runs: a click then does nothing.
        if (code == BN_CLICKED && m_nextClickAttached) run([this] { btn_NextClick(); });
        break;
    case IDC_btn_Prev:
        if (code == BN_CLICKED) run([this] { btn_PrevClick(); });
        break;
    case IDC_chk01_Accept:
        if (code == BN_CLICKED) run([this] { chk01_AcceptClick(); });
        break;
    case IDC_pnl_License:
        if (code == Controls::kClicked) run([this] { pnl_LicenseClick(); });
        break;
    case IDC_rb03_USB:
        if (code == BN_CLICKED) run([this] { rb03_USBClick(); });
        break;
    case IDC_rb03_WiFi:
        if (code == BN_CLICKED) run([this] { rb03_WiFiClick(); });
        break;
    case IDC_rb03_WiFi_DHCP:
    case IDC_rb03_WiFi_Static:
        if (code == BN_CLICKED) run([this, id] { rb03_WiFi_DHCPClick((TControlId)id); });
        break;
    case IDC_edt03_PrinterDriverName:
    case IDC_edt03_WiFi_NetWorkName:
    case IDC_edt03_WiFi_Password:
    case IDC_edt03_WiFi_IPAddress:
    case IDC_edt03_WiFi_Mask:
    case IDC_edt03_WiFi_Gateway:
        if (code == EN_CHANGE && m_changeAttached) run([this] { edt03_WiFi_NetWorkNameChange(); });
        break;
    case IDC_img03_ViewPassword:
        if (code == Controls::kClicked) run([this] { img03_ViewPasswordClick(); });
        break;
    case IDC_lbl03_WiFi_IPAddress:
        if (code == STN_DBLCLK) run([this] { lbl03_WiFi_IPAddressDblClick(); });
        break;
    case IDC_lst03_USBPrinterList:
        if (code == LBN_SELCHANGE) run([this] { lst03_USBPrinterListClick(); });
        break;
    case IDC_btn05_TestPage:
        if (code == BN_CLICKED) run([this] { btn05_TestPageClick(); });
        break;
    case IDC_img1:
        if (code == Controls::kDblClicked) run([this] { img1DblClick(); });
        break;
    }
}

// ---- control helpers ----

std::wstring TFormMain_VKT::Text(TControlId id) const {
    HWND c = Control(id);
    int n = GetWindowTextLengthW(c);
    std::wstring s(n + 1, L'\0');
    n = GetWindowTextW(c, &s[0], n + 1);
    s.resize(n > 0 ? n : 0);
    return s;
}
void TFormMain_VKT::SetText(TControlId id, const std::wstring& text) { SetWindowTextW(Control(id), text.c_str()); }
bool TFormMain_VKT::Checked(TControlId id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void TFormMain_VKT::SetEnabled(TControlId id, bool enabled) { EnableWindow(Control(id), enabled); }
void TFormMain_VKT::SetVisible(TControlId id, bool visible) {
    ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE);
}

void TFormMain_VKT::ShowMessage(const std::wstring& text, const std::wstring& caption) {
    Services().messageBoxes->Show(m_hwnd, text, caption, MB_OK | MB_ICONERROR);
}

void TFormMain_VKT::LetMessagesRunAndWait(DWORD ms) {
    Application::ProcessMessages();
    Services().clock->Sleep(ms);
}

void TFormMain_VKT::ShowPage(int page) {
    m_page = page;
    SendMessageW(Control(IDC_pgc1), TCM_SETCURSEL, page - 1, 0);
    for (int p = pgLicence; p <= pgResult; ++p) {
        static const TControlId pages[] = {IDC_ts01_Licence, IDC_ts02_Connect, IDC_ts03_Port, IDC_ts04_Install,
                                           IDC_ts05_Result};
        SetVisible(pages[p - 1], p == page);
    }
}

void TFormMain_VKT::WriteResourceFile(const wchar_t* resource, const std::wstring& fileName) {
    const std::vector<char> bytes = Controls::ResourceBytes(m_resources, resource);
    HANDLE f = CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        throw EKovrinError(FormatW(L"Cannot create file \"%s\". %s", fileName.c_str(), SysErrorMessage(GetLastError()).c_str()));
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    DWORD err = GetLastError();
    CloseHandle(f);
    if (!ok || written != bytes.size())
        throw EKovrinError(FormatW(L"Cannot write file \"%s\". %s", fileName.c_str(), SysErrorMessage(err).c_str()));
}

// ---- creation, showing, activation ----

void TFormMain_VKT::FormCreate() {
    m_TempDir = Services().system->TempPath() + ChangeFileExt(ExtractFileName(ProgramPath()), L"");
    ForceDirectories(m_TempDir);
    ShowPage(pgLicence);
    WriteResourceFile(L"ShowIcon", m_TempDir + L"\\ShowIcon.png");
    WriteResourceFile(L"HideIcon", m_TempDir + L"\\HideIcon.png");
    WriteResourceFile(L"load_gif", m_TempDir + L"\\load.gif");
    WriteResourceFile(L"Lang_dat", m_TempDir + L"\\Lang.dat");
    SendMessageW(Control(IDC_chk01_Accept), BM_SETCHECK, BST_UNCHECKED, 0);
    SetText(IDC_lbl04_StepInfo, L"");
}

void TFormMain_VKT::FormShow() {
    LoadDriverInfo();
    // A config.ini beside the program (contents unread) asks for the test network.
    if (FileExists(ExtractFilePath(ProgramPath()) + L"config.ini")) {
        SetText(IDC_edt03_WiFi_NetWorkName, L"GNESRH7328");
        SetText(IDC_edt03_WiFi_Password, L"q5823719460.");
        SetText(IDC_edt03_WiFi_IPAddress, L"192.168.0.98");
    } else {
        SetText(IDC_edt03_WiFi_IPAddress, L"192.168.0.1");
    }
    SetText(IDC_edt03_WiFi_Mask, L"255.255.255.0");
    SetText(IDC_edt03_WiFi_Gateway, L"192.168.0.1");
}

void TFormMain_VKT::FormActivate() {
    // Lifts the row of tab buttons out of sight: only the buttons below change pages.
    m_pageControlTop = kTabRowHiddenTop;
    Layout();
}

void TFormMain_VKT::pgc1Change() {
    switch (m_page) {
    case pgLicence:
        SetVisible(IDC_btn_Prev, true);
        SetText(IDC_btn_Prev, L"Cancel");
        SetEnabled(IDC_btn_Next, Checked(IDC_chk01_Accept));
        break;
    case pgConnect:
        SetVisible(IDC_btn_Prev, true);
        SetText(IDC_btn_Next, L"Next");
        break;
    case pgPort:
        SetVisible(IDC_btn_Prev, true);
        SetText(IDC_btn_Next, L"Next");
        if (Checked(IDC_rb03_WiFi))
            edt03_WiFi_NetWorkNameChange();
        else
            SetEnabled(IDC_btn_Next, true);
        break;
    case pgInstall:
        SetVisible(IDC_btn_Prev, false);
        SetText(IDC_btn_Next, L"Next");
        SetEnabled(IDC_btn_Next, false);
        break;
    case pgResult:
        SetEnabled(IDC_btn_Next, true);
        SetText(IDC_btn_Next, L"Close");
        break;
    }
}

// ---- buttons ----

void TFormMain_VKT::btn_NextClick() {
    switch (m_page) {
    case pgLicence:
        ShowPage(pgConnect);
        pgc1Change();
        break;
    case pgConnect: {
        SetEnabled(IDC_btn_Next, false);
        m_nextClickAttached = false;
        auto restore = [this] {
            SetEnabled(IDC_btn_Next, true);
            LetMessagesRunAndWait(100);
            Controls::PictureStop(Control(IDC_img_waiting));
            SetVisible(IDC_img_waiting, false);
            m_nextClickAttached = true;
        };
        try {
            SetVisible(IDC_img_waiting, true);
            Controls::PictureLoadFile(Control(IDC_img_waiting), m_TempDir + L"\\load.gif");
            Controls::PictureAnimate(Control(IDC_img_waiting), 500);
            LetMessagesRunAndWait(100);
            if (m_hwnd && CheckUSBPrinter()) ShowPage(pgPort);
        } catch (...) {
            restore();
            throw;
        }
        restore();
        break;
    }
    case pgPort: {
        SendMessageW(Control(IDC_pb04_Installing), PBM_SETPOS, 0, 0);
        const std::wstring name = Text(IDC_edt03_PrinterDriverName);
        if (name.empty() || Services().usb->Drv_IsIsExistDriverInstance(name)) {
            ShowMessage(LangText(L"Notice_VKT", L"DuplicatePrinterName"),
                        LangText(L"Notice_VKT", L"DuplicatePrinterName_Title"));
            return;
        }
        ShowPage(pgInstall);
        pgc1Change();
        RunInstallation();
        break;
    }
    case pgInstall:
        break;
    case pgResult:
        PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
        break;
    }
}

void TFormMain_VKT::btn_PrevClick() { PostMessageW(m_hwnd, WM_CLOSE, 0, 0); }

// ---- terms page ----

void TFormMain_VKT::chk01_AcceptClick() { SetEnabled(IDC_btn_Next, Checked(IDC_chk01_Accept)); }

void TFormMain_VKT::pnl_LicenseClick() {
    if (g_DriverInfo.empty()) return;
    Services().shell->Open(g_DriverInfo[0].Licence_Url);
}

// ---- port page ----

void TFormMain_VKT::rb03_USBClick() {
    SetEnabled(IDC_btn_Next, true);
    SetVisible(IDC_pnl03_WiFiPrinterList, false);
}

void TFormMain_VKT::rb03_WiFiClick() {
    SetVisible(IDC_pnl03_WiFiPrinterList, true);
    PrefillWiFiFromPC();
    edt03_WiFi_NetWorkNameChange();
}

void TFormMain_VKT::rb03_WiFi_DHCPClick(TControlId sender) {
    const bool fixedAddress = m_tags[sender] == 2;
    for (TControlId id : {IDC_edt03_WiFi_IPAddress, IDC_edt03_WiFi_Mask, IDC_edt03_WiFi_Gateway})
        SetEnabled(id, fixedAddress);
    edt03_WiFi_NetWorkNameChange();
}

void TFormMain_VKT::edt03_WiFi_NetWorkNameChange() {
    if (!Checked(IDC_rb03_WiFi)) return;
    SetEnabled(IDC_btn_Next, false);
    TWiFiFields f;
    f.networkName = Text(IDC_edt03_WiFi_NetWorkName);
    f.password = Text(IDC_edt03_WiFi_Password);
    f.dhcp = Checked(IDC_rb03_WiFi_DHCP);
    f.ipAddress = Text(IDC_edt03_WiFi_IPAddress);
    f.mask = Text(IDC_edt03_WiFi_Mask);
    f.gateway = Text(IDC_edt03_WiFi_Gateway);
    if (WiFiFieldsComplete(f)) SetEnabled(IDC_btn_Next, true);
}

void TFormMain_VKT::img03_ViewPasswordClick() {
    int& tag = m_tags[IDC_img03_ViewPassword];
    Controls::PictureLoadFile(Control(IDC_img03_ViewPassword),
                              m_TempDir + (tag == 1 ? L"\\ShowIcon.png" : L"\\HideIcon.png"));
    tag = tag == 1 ? 0 : 1;
    HWND edit = Control(IDC_edt03_WiFi_Password);
    SendMessageW(edit, EM_SETPASSWORDCHAR, tag == 1 ? L'*' : 0, 0);
    InvalidateRect(edit, nullptr, TRUE);
}

// ---- USB detection ----

bool TFormMain_VKT::CheckUSBPrinter() {
    m_dpi = 0;
    HWND list = Control(IDC_lst03_USBPrinterList);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    IUsbHelper& usb = *Services().usb;
    const int count = usb.USBPrinterEnum();
    m_VKTPrinter.clear();
    m_VKTPrinter.reserve(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        const std::wstring fileName = usb.GetPrinterFileName(i);
        std::wstring port, deviceId;
        usb.ReadPrinterID(i, port, deviceId);
        const wchar_t* key = MatchManufacturerKey(deviceId);
        if (!key) continue;
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)(std::wstring(key) + L" - " + port).c_str());
        m_VKTPrinter.push_back(TPrinterInfo{key, port, fileName});
        TLog::Info(FormatW(L"已找到打印机：MFG=%s，Port=%s", key, port.c_str()));
    }
    m_VKTPrinter.shrink_to_fit();
    if (m_VKTPrinter.empty()) {
        TLog::Warn(L"没有找到有效的打印机！");
        ShowMessage(LangText(L"Notice_VKT", L"OpenUSBFail"), LangText(L"Notice", L"NoPrinterDetected"));
        return false;
    }
    // Only the first printer found is asked and used.
    const std::wstring device = m_VKTPrinter[0].FileName;
    const int status = GetPrinterStatus(device);
    Application::ProcessMessages();
    if (!m_hwnd) return false;  // the window was closed meanwhile: nobody to tell
    if (status == 1) {
        ShowMessage(LangText(L"Notice_VKT", L"ErrorOnCommunication"), LangText(L"Notice_VKT", L"ErrorOnCommunication_Title"));
        return false;
    }
    if (status == 2 || status == 3) {
        ShowMessage(LangText(L"Notice_VKT", L"MakeSureInstalledPaper"), LangText(L"Notice", L"NoPaperDetected_Title"));
        return false;
    }
    TLog::Info(FormatW(L"获取打印机状态返回=%d （-1=端口打开错误；1=通讯错误；2、3=缺纸或错误）", status));
    m_dpi = GetPrinterDpi(device);
    Application::ProcessMessages();
    if (!m_hwnd) return false;
    if (m_dpi != 203 && m_dpi != 300)
        ShowMessage(LangText(L"Notice_VKT", L"MakeSureInstalledPaper"), LangText(L"Notice", L"ErrorReadInfo_Title"));
    TLog::Warn(FormatW(L"获取到的dpi=%d", m_dpi));
    return status == 0;
}

void TFormMain_VKT::lst03_USBPrinterListClick() {
    const LRESULT index = SendMessageW(Control(IDC_lst03_USBPrinterList), LB_GETCURSEL, 0, 0);
    if (index < 0 || (size_t)index >= m_VKTPrinter.size()) return;
    const TPrinterInfo& printer = m_VKTPrinter[(size_t)index];
    m_dpi = GetPrinterDpi(printer.FileName);
    if (m_dpi == 203 || m_dpi == 300) {
        SetEnabled(IDC_btn_Next, true);
        SetHint(IDC_lbl03_Title, printer.Port);
    } else {
        ShowMessage(LangText(L"Notice_VKT", L"CommunicationFailure"), LangText(L"Notice", L"Error_Title"));
        SetEnabled(IDC_btn_Next, false);
    }
}

void TFormMain_VKT::SetHint(TControlId id, const std::wstring& text) {
    m_hints[id] = text;
    if (!m_tooltip) {
        m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    }
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = m_hwnd;
    ti.uId = (UINT_PTR)Control(id);
    ti.lpszText = const_cast<wchar_t*>(m_hints[id].c_str());
    SendMessageW(m_tooltip, TTM_DELTOOLW, 0, (LPARAM)&ti);
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

std::wstring TFormMain_VKT::Hint(TControlId id) const {
    auto it = m_hints.find(id);
    return it == m_hints.end() ? std::wstring() : it->second;
}
