#include "DriverUiHost.h"
#include "TestUtil.h"
#include "debug.h"
#include <commctrl.h>
#include <prsht.h>
#include <stdexcept>

namespace {

std::string g_debugger;
std::vector<std::wstring> g_sinkLines;
std::vector<std::string> g_sinkNarrow;

const DWORD kPrintExceptionA = 0x40010006;
const DWORD kPrintExceptionW = 0x4001000A;

LONG CALLBACK CatchDebugString(EXCEPTION_POINTERS* e) {
    const EXCEPTION_RECORD* r = e->ExceptionRecord;
    if (r->ExceptionCode == kPrintExceptionA && r->NumberParameters >= 2) {
        g_debugger += reinterpret_cast<const char*>(r->ExceptionInformation[1]);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (r->ExceptionCode == kPrintExceptionW && r->NumberParameters >= 2) {
        for (const wchar_t* p = reinterpret_cast<const wchar_t*>(r->ExceptionInformation[1]); *p; ++p)
            g_debugger += static_cast<char>(*p < 128 ? *p : '?');
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

void SinkW(PCWSTR text) { g_sinkLines.push_back(text); }
void SinkA(PCSTR text) { g_sinkNarrow.push_back(text); }

std::wstring ProgramDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\'));
}

void InstallPrinter(const std::wstring& printer, const std::wstring& driver, const TTempDir& src,
                    const std::vector<std::wstring>& dependents) {
    std::wstring deps;
    for (const auto& d : dependents)
        deps += src.File(d) + L'\0';
    deps += L'\0';
    std::wstring driverPath = src.File(L"UNIDRV.DLL"), dataPath = src.File(L"VKT.GPD"),
                 configPath = src.File(L"UNIDRVUI.DLL");
    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = const_cast<LPWSTR>(driver.c_str());
    di.pDriverPath = const_cast<LPWSTR>(driverPath.c_str());
    di.pDataFile = const_cast<LPWSTR>(dataPath.c_str());
    di.pConfigFile = const_cast<LPWSTR>(configPath.c_str());
    di.pDependentFiles = const_cast<LPWSTR>(deps.c_str());
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&di), APD_COPY_ALL_FILES))
        throw std::runtime_error("AddPrinterDriverExW failed");
    PRINTER_INFO_2W pi = {};
    pi.pPrinterName = const_cast<LPWSTR>(printer.c_str());
    pi.pPortName = const_cast<LPWSTR>(L"FILE:");
    pi.pDriverName = const_cast<LPWSTR>(driver.c_str());
    pi.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    pi.pDatatype = const_cast<LPWSTR>(L"RAW");
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&pi));
    if (h)
        ClosePrinter(h);
    else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS)
        throw std::runtime_error("AddPrinterW failed");
}

}  // namespace

const char* const kLabelsDat =
    "[Paper]\r\nType=2\r\nSpeed=3\r\nDensity=8\r\nPad_hor=-2\r\nPad_ver=4\r\nRotate=1\r\n"
    "[UISettings]\r\nVer=VKT Label Driver V2.1.0\r\nLogo=vktlogo.bmp\r\n";

std::wstring PluginPath() { return ProgramDir() + L"\\VKTDriverUI.dll"; }

const TPluginDll& Plugin() {
    static TPluginDll dll = [] {
        TPluginDll d;
        d.module = LoadLibraryW(PluginPath().c_str());
        if (!d.module)
            throw std::runtime_error("cannot load VKTDriverUI.dll");
        d.GetClassObject = reinterpret_cast<decltype(d.GetClassObject)>(GetProcAddress(d.module, "DllGetClassObject"));
        d.CanUnloadNow = reinterpret_cast<decltype(d.CanUnloadNow)>(GetProcAddress(d.module, "DllCanUnloadNow"));
        return d;
    }();
    return dll;
}

IPrintOemUI* CreatePluginObject() {
    IClassFactory* factory = nullptr;
    if (FAILED(Plugin().GetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return nullptr;
    IPrintOemUI* ui = nullptr;
    factory->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void**>(&ui));
    factory->Release();
    return ui;
}

TDebuggerCapture::TDebuggerCapture() {
    g_debugger.clear();
    m_handler = AddVectoredExceptionHandler(1, CatchDebugString);
}
TDebuggerCapture::~TDebuggerCapture() { RemoveVectoredExceptionHandler(m_handler); }
std::string TDebuggerCapture::Text() const { return g_debugger; }

TSinkCapture::TSinkCapture() {
    g_sinkLines.clear();
    g_sinkNarrow.clear();
    SetDebugSinks(SinkW, SinkA);
}
TSinkCapture::~TSinkCapture() { SetDebugSinks(nullptr, nullptr); }
const std::vector<std::wstring>& TSinkCapture::Lines() const { return g_sinkLines; }
const std::vector<std::string>& TSinkCapture::NarrowLines() const { return g_sinkNarrow; }
bool TSinkCapture::Has(const std::wstring& line) const {
    for (const auto& l : g_sinkLines)
        if (l == line)
            return true;
    return false;
}

std::string BitmapFile(int width, int height, COLORREF colour) {
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = stride * height;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string out(reinterpret_cast<const char*>(&fh), sizeof(fh));
    out.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<char>(GetBValue(colour));
        row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
        row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
    }
    for (int y = 0; y < height; ++y)
        out += row;
    return out;
}

const TTestPrinters& Printers() {
    static TTestPrinters printers = [] {
        TTestPrinters p;
        TTempDir src;
        for (const wchar_t* f : {L"UNIDRV.DLL", L"UNIDRVUI.DLL", L"VKT.GPD", L"vkt.ini", L"readme.txt"})
            WriteAnsiFile(src.File(f), "x");
        WriteAnsiFile(src.File(L"data.dat.bak"), "[UISettings]\nVer=from bak\n");
        WriteBytes(src.File(L"labels.dat"), kLabelsDat);
        WriteBytes(src.File(L"vktlogo.bmp"), BitmapFile(20, 10, RGB(255, 0, 0)));
        p.withData = L"VKT Label Test";
        p.withBakData = L"VKT Bak Test";
        p.withoutData = L"VKT NoDat Test";
        InstallPrinter(p.withData, L"VKT Label Test Driver", src, {L"vkt.ini", L"labels.dat", L"vktlogo.bmp"});
        InstallPrinter(p.withBakData, L"VKT Bak Test Driver", src, {L"data.dat.bak"});
        InstallPrinter(p.withoutData, L"VKT NoDat Test Driver", src, {L"readme.txt"});
        wchar_t dir[MAX_PATH] = {};
        DWORD needed = 0;
        GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof(dir), &needed);
        p.driverDir = dir;
        p.dataFile = p.driverDir + L"\\3\\labels.dat";
        // Wine's spooler records the files in the driver's version-3 folder but does not
        // copy them there, so the fixture puts them where a driver installation leaves them.
        std::wstring version3 = p.driverDir + L"\\3\\";
        CreateDirectoryW(version3.c_str(), nullptr);
        for (const wchar_t* f : {L"labels.dat", L"vktlogo.bmp", L"data.dat.bak"})
            CopyFileW(src.File(f).c_str(), (version3 + f).c_str(), FALSE);
        return p;
    }();
    return printers;
}

DEVMODEW PublicDevmode(const std::wstring& printerName) {
    DEVMODEW dm = {};
    lstrcpynW(dm.dmDeviceName, printerName.c_str(), CCHDEVICENAME);
    dm.dmSize = sizeof(dm);
    return dm;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

namespace {
HPROPSHEETPAGE g_collectedPage = nullptr;

LONG_PTR CALLBACK CollectingComPropSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM) {
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW)
        return -1;
    g_collectedPage = CreatePropertySheetPageW(reinterpret_cast<PROPSHEETPAGEW*>(lParam1));
    return g_collectedPage ? 1 : -1;
}
}  // namespace

HPROPSHEETPAGE CollectPluginPage(IPrintOemUI* ui, bool document, OEMUIPSPARAM& ps, HRESULT* hr, ULONG_PTR* result) {
    g_collectedPage = nullptr;
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof(info);
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.pfnComPropSheet = CollectingComPropSheet;
    info.lParamInit = reinterpret_cast<LPARAM>(&ps);
    *hr = document ? ui->DocumentPropertySheets(&info, 0) : ui->DevicePropertySheets(&info, 0);
    *result = info.Result;
    return g_collectedPage;
}

HWND ShowSheet(HPROPSHEETPAGE* page, PCWSTR caption) {
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS;
    header.pszCaption = caption;
    header.nPages = 1;
    header.phpage = page;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    PumpMessages();
    return sheet;
}
