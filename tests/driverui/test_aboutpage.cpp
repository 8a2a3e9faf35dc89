// The About page: its texts from the driver data file, the logo, and the page in a real sheet.
#include "DriverUiHost.h"
#include "TestUtil.h"
#include "aboutpage.h"
#include "dllentry.h"
#include "resource.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// A white 32-bit memory canvas to draw on.
class TCanvas {
public:
    TCanvas(int width, int height) : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT r = {0, 0, width, height};
        FillRect(m_dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~TCanvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    HDC dc() const { return m_dc; }
    COLORREF at(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

}  // namespace

TEST(AboutPage, TextsComeFromUISettingsOfTheDataFile) {
    const TTestPrinters& p = Printers();
    EXPECT_EQ(ReadUISetting(p.withData.c_str(), L"Ver"), L"VKT Label Driver V2.1.0");
    EXPECT_EQ(ReadUISetting(p.withBakData.c_str(), L"Ver"), L"from bak");
    EXPECT_EQ(ReadUISetting(p.withBakData.c_str(), L"Logo"), L"");
    EXPECT_EQ(ReadUISetting(p.withoutData.c_str(), L"Ver"), L"");
    EXPECT_EQ(ReadUISetting(L"", L"Ver"), L"");
}

TEST(AboutPage, LogoPathIsDriverDirectoryThenVersion3Folder) {
    const TTestPrinters& p = Printers();
    EXPECT_EQ(LogoPath(p.withData.c_str()), p.driverDir + L"\\3\\vktlogo.bmp");
    // No CommonUIProp yet: no data file, so the path ends in the folder.
    EXPECT_EQ(LogoPath(L""), p.driverDir + L"\\3\\");
}

TEST(AboutPage, LogoIsDrawnAtItsOwnSizeAt50And10) {
    TTempDir dir;
    WriteBytes(dir.File(L"logo.bmp"), BitmapFile(20, 10, kRed));
    TCanvas canvas(200, 100);
    EXPECT_TRUE(DrawLogoFile(canvas.dc(), dir.File(L"logo.bmp").c_str()));
    EXPECT_EQ(canvas.at(50, 10), kRed);
    EXPECT_EQ(canvas.at(69, 19), kRed);
    EXPECT_EQ(canvas.at(49, 10), kWhite);
    EXPECT_EQ(canvas.at(50, 9), kWhite);
    EXPECT_EQ(canvas.at(70, 10), kWhite);
    EXPECT_EQ(canvas.at(50, 20), kWhite);
}

TEST(AboutPage, LargerLogoIsNotScaledDown) {
    TTempDir dir;
    WriteBytes(dir.File(L"big.bmp"), BitmapFile(400, 300, kRed));
    TCanvas canvas(120, 60);
    EXPECT_TRUE(DrawLogoFile(canvas.dc(), dir.File(L"big.bmp").c_str()));
    EXPECT_EQ(canvas.at(119, 59), kRed);
    EXPECT_EQ(canvas.at(49, 59), kWhite);
}

TEST(AboutPage, MissingOrInvalidLogoDrawsNothing) {
    TTempDir dir;
    WriteAnsiFile(dir.File(L"notabitmap.bmp"), "this is text");
    for (const std::wstring& path : {dir.File(L"missing.bmp"), dir.File(L"notabitmap.bmp"), dir.Path() + L"\\"}) {
        TCanvas canvas(120, 60);
        EXPECT_FALSE(DrawLogoFile(canvas.dc(), path.c_str()));
        for (int x = 0; x < 120; x += 7)
            for (int y = 0; y < 60; y += 7)
                ASSERT_EQ(canvas.at(x, y), kWhite) << x << "," << y;
    }
}

// ---- The page in a real property sheet, created by the loaded plug-in -----------------

namespace {

class AboutSheet : public ::testing::Test {
protected:
    // Opens the device settings sheet for the printer as the print system would.
    void Open(const std::wstring& printer) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        ui = CreatePluginObject();
        ASSERT_NE(ui, nullptr);
        OEMCUIPPARAM cuip = {};
        cuip.cbSize = sizeof(cuip);
        cuip.pPrinterName = const_cast<PWSTR>(printer.c_str());
        ASSERT_EQ(ui->CommonUIProp(OEMCUIP_PRNPROP, &cuip), S_OK);

        OEMUIPSPARAM ps = {};
        ps.cbSize = sizeof(ps);
        ps.pPrinterName = cuip.pPrinterName;
        HRESULT hr = E_FAIL;
        ULONG_PTR result = 0;
        m_page = CollectPluginPage(ui, false, ps, &hr, &result);
        ASSERT_EQ(hr, S_OK);
        ASSERT_NE(m_page, nullptr);
        ASSERT_EQ(result, 1u);

        sheet = ShowSheet(&m_page, L"Printer properties");
        ASSERT_NE(sheet, nullptr);
        page = PropSheet_GetCurrentPageHwnd(sheet);
        ASSERT_NE(page, nullptr);
        UpdateWindow(page);
        PumpMessages();
    }
    void TearDown() override {
        if (sheet)
            DestroyWindow(sheet);
        PumpMessages();
        if (ui)
            ui->Release();
    }
    std::wstring VersionText() const {
        wchar_t text[256] = {};
        GetDlgItemTextW(page, IDC_ABOUT_VERSION, text, 256);
        return text;
    }
    std::wstring TabText() const {
        wchar_t text[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    COLORREF PagePixel(int x, int y) const {
        HDC dc = GetDC(page);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(page, dc);
        return c;
    }
    IPrintOemUI* ui = nullptr;
    HWND sheet = nullptr;
    HPROPSHEETPAGE m_page = nullptr;
    HWND page = nullptr;
};

}  // namespace

TEST_F(AboutSheet, ShowsVersionAndLogoOfThePrinter) {
    TDebuggerCapture capture;
    Open(Printers().withData);
    EXPECT_EQ(VersionText(), L"VKT Label Driver V2.1.0");
    EXPECT_EQ(TabText(), UseChineseUI() ? Utf8("关于") : L"About");
    EXPECT_TRUE(capture.Has("UI:  pageclbk DLGProc_AboutPage WM_INITDIALOG [VKT Label Test] entry.\r\n"));
    EXPECT_TRUE(capture.Has("UI:  pageclbk DLGProc_AboutPage WM_PAINT [VKT Label Test] entry.\r\n"));
    EXPECT_EQ(PagePixel(55, 15), kRed);
    EXPECT_NE(PagePixel(45, 15), kRed);

    // The version control sits in the lower part of the page, where its template puts it.
    RECT want = {17, 161, 17 + 244, 161 + 64};
    MapDialogRect(page, &want);
    RECT got;
    HWND control = GetDlgItem(page, IDC_ABOUT_VERSION);
    GetWindowRect(control, &got);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right, want.right);
    EXPECT_EQ(got.bottom, want.bottom);

    // Every repaint draws the logo again.
    RECT logo = {50, 10, 70, 20};
    FillRect(GetDC(page), &logo, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    InvalidateRect(page, nullptr, TRUE);
    UpdateWindow(page);
    EXPECT_EQ(PagePixel(55, 15), kRed);
}

TEST_F(AboutSheet, PrinterWithoutDataFileShowsNeitherVersionNorLogo) {
    Open(Printers().withoutData);
    EXPECT_EQ(VersionText(), L"");
    EXPECT_NE(PagePixel(55, 15), kRed);
}

TEST(AboutTemplates, BothLanguagesCarryTheirCaptionAndVersionControl) {
    struct Case {
        WORD id;
        std::wstring caption;
    } cases[] = {{IDD_ABOUTPAGE_CN, Utf8("关于")}, {IDD_ABOUTPAGE_EN, L"About"}};
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 600, 600, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    for (const Case& c : cases) {
        HWND dlg = CreateDialogParamW(Plugin().module, MAKEINTRESOURCEW(c.id), owner, DLGProc_AboutPage, 0);
        ASSERT_NE(dlg, nullptr) << c.id;
        wchar_t caption[64] = {};
        GetWindowTextW(dlg, caption, 64);
        EXPECT_EQ(std::wstring(caption), c.caption) << c.id;
        EXPECT_NE(GetDlgItem(dlg, IDC_ABOUT_VERSION), nullptr) << c.id;
        RECT size = {0, 0, 280, 246}, want = size, got;
        MapDialogRect(dlg, &want);
        GetClientRect(dlg, &got);
        EXPECT_EQ(got.right, want.right) << c.id;
        EXPECT_EQ(got.bottom, want.bottom) << c.id;
        DestroyWindow(dlg);
    }
    DestroyWindow(owner);
}
