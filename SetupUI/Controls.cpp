#include "Controls.h"
#include "Lib_Error.h"
#include "Lib_String.h"
#include <objidl.h>
#include <gdiplus.h>
#include <memory>

namespace Controls {
const wchar_t* const kPanelClass = L"KovrinPanel";
const wchar_t* const kLinkClass = L"KovrinLink";
const wchar_t* const kPictureClass = L"KovrinPicture";

namespace {
const UINT_PTR kAnimationTimer = 1;

// Per-window state of links and pictures, owned through GWLP_USERDATA.
const wchar_t* const kHandCursorProp = L"KovrinHandCursor";

struct TControlState {
    std::unique_ptr<Gdiplus::Image> image;
    IStream* stream = nullptr;  // the image reads from it while it lives
    UINT frameCount = 1;
    UINT frame = 0;
    std::vector<UINT> delays;  // hundredths of a second per frame
    int speedPercent = 100;

    void Clear() {
        image.reset();
        if (stream) stream->Release();
        stream = nullptr;
        frameCount = 1;
        frame = 0;
        delays.clear();
    }
    ~TControlState() { Clear(); }
};

TControlState* State(HWND hwnd) { return reinterpret_cast<TControlState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool IsForwarded(UINT msg) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return true;
    }
    return false;
}

void Notify(HWND hwnd, WORD code) {
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), (LPARAM)hwnd);
}

// Shared by every class here: white background, notifications go to the top-level window.
bool CommonMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (IsForwarded(msg)) {
        HWND root = GetAncestor(hwnd, GA_ROOT);
        result = root && root != hwnd ? SendMessageW(root, msg, wp, lp) : 0;
        return true;
    }
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR) new TControlState());
        break;
    case WM_NCDESTROY:
        KillTimer(hwnd, kAnimationTimer);
        delete State(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect((HDC)wp, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
        result = 1;
        return true;
    }
    case WM_SETCURSOR:
        // Asked first for every child too (DefWindowProc passes the question up).
        if (GetPropW((HWND)wp, kHandCursorProp) && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        }
        break;
    case WM_LBUTTONUP:
        Notify(hwnd, kClicked);
        break;
    case WM_LBUTTONDBLCLK:
        Notify(hwnd, kDblClicked);
        break;
    }
    return false;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (msg != WM_LBUTTONUP && msg != WM_LBUTTONDBLCLK && CommonMessage(hwnd, msg, wp, lp, r)) return r;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (CommonMessage(hwnd, msg, wp, lp, r)) return r;
    switch (msg) {
    case WM_SETTEXT:
        r = DefWindowProcW(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        // The window's font, underlined, left-aligned and centred vertically.
        LOGFONTW lf = {};
        HFONT base = (HFONT)SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_GETFONT, 0, 0);
        GetObjectW(base ? (HGDIOBJ)base : GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfUnderline = TRUE;
        HFONT font = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 102, 204));
        wchar_t text[256] = {};
        GetWindowTextW(hwnd, text, 256);
        DrawTextW(dc, text, -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteObject(font);
        EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void SelectFrame(TControlState& s) {
    if (s.frameCount > 1) {
        GUID dim = Gdiplus::FrameDimensionTime;
        s.image->SelectActiveFrame(&dim, s.frame);
    }
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (CommonMessage(hwnd, msg, wp, lp, r)) return r;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        TControlState* s = State(hwnd);
        if (s && s->image) {
            // Drawn at its own size from the top-left corner, as the frame does not stretch.
            Gdiplus::Graphics g(dc);
            g.DrawImage(s->image.get(), 0, 0, (INT)s->image->GetWidth(), (INT)s->image->GetHeight());
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER: {
        TControlState* s = State(hwnd);
        if (wp != kAnimationTimer || !s || !s->image || s->frameCount < 2) return 0;
        s->frame = (s->frame + 1) % s->frameCount;
        SelectFrame(*s);
        UINT delay = s->frame < s->delays.size() ? s->delays[s->frame] : 10;
        if (delay == 0) delay = 10;
        SetTimer(hwnd, kAnimationTimer, (UINT)((delay * 10ull * 100) / (UINT)s->speedPercent), nullptr);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, name, &wc)) return;
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) throw EKovrinError(FormatW(L"Cannot register the window class %s.", name));
}
}  // namespace

TGdiPlus::TGdiPlus() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}
TGdiPlus::~TGdiPlus() {
    if (m_token) Gdiplus::GdiplusShutdown(m_token);
}

void RegisterClasses(HINSTANCE instance) {
    Register(instance, kPanelClass, PanelProc, 0);
    Register(instance, kLinkClass, LinkProc, 0);
    Register(instance, kPictureClass, PictureProc, CS_DBLCLKS);
}

void PictureLoad(HWND picture, const std::vector<char>& bytes) {
    TControlState* s = State(picture);
    if (!s) throw EKovrinError(L"Not a picture frame.");
    KillTimer(picture, kAnimationTimer);
    s->Clear();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!mem) throw EKovrinError(L"Out of memory.");
    void* p = GlobalLock(mem);
    if (!bytes.empty()) memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(mem);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream))) {
        GlobalFree(mem);
        throw EKovrinError(L"Out of memory.");
    }
    std::unique_ptr<Gdiplus::Image> image(new Gdiplus::Image(stream));
    if (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0) {
        image.reset();
        stream->Release();
        throw EKovrinError(L"The picture cannot be read.");
    }
    s->stream = stream;
    GUID dim = Gdiplus::FrameDimensionTime;
    s->frameCount = image->GetFrameCount(&dim);
    if (s->frameCount == 0) s->frameCount = 1;
    UINT size = image->GetPropertyItemSize(PropertyTagFrameDelay);
    if (size > 0) {
        std::vector<char> buf(size);
        auto item = reinterpret_cast<Gdiplus::PropertyItem*>(buf.data());
        if (image->GetPropertyItem(PropertyTagFrameDelay, size, item) == Gdiplus::Ok) {
            const UINT* d = static_cast<const UINT*>(item->value);
            s->delays.assign(d, d + item->length / sizeof(UINT));
        }
    }
    s->image = std::move(image);
    InvalidateRect(picture, nullptr, TRUE);
}

void PictureLoadFile(HWND picture, const std::wstring& fileName) {
    HANDLE f = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw EKovrinError(FormatW(L"Cannot open file \"%s\".", fileName.c_str()));
    LARGE_INTEGER size = {};
    GetFileSizeEx(f, &size);
    std::vector<char> bytes((size_t)size.QuadPart);
    DWORD read = 0;
    BOOL ok = bytes.empty() || ReadFile(f, bytes.data(), (DWORD)bytes.size(), &read, nullptr);
    CloseHandle(f);
    if (!ok || read != bytes.size()) throw EKovrinError(FormatW(L"Cannot read file \"%s\".", fileName.c_str()));
    PictureLoad(picture, bytes);
}

void PictureAnimate(HWND picture, int speedPercent) {
    TControlState* s = State(picture);
    if (!s || !s->image || s->frameCount < 2 || speedPercent <= 0) return;
    s->speedPercent = speedPercent;
    s->frame = 0;
    SelectFrame(*s);
    UINT delay = s->delays.empty() || s->delays[0] == 0 ? 10 : s->delays[0];
    SetTimer(picture, kAnimationTimer, (UINT)((delay * 10ull * 100) / (UINT)speedPercent), nullptr);
}

void PictureStop(HWND picture) {
    if (picture) KillTimer(picture, kAnimationTimer);
}

void SetHandCursor(HWND control) { SetPropW(control, kHandCursorProp, (HANDLE)1); }

std::vector<char> ResourceBytes(HINSTANCE instance, const wchar_t* name) {
    HRSRC res = FindResourceW(instance, name, RT_RCDATA);
    HGLOBAL data = res ? LoadResource(instance, res) : nullptr;
    const char* p = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!p) throw EKovrinError(FormatW(L"Resource %s not found", name));
    return std::vector<char>(p, p + SizeofResource(instance, res));
}
}  // namespace Controls
