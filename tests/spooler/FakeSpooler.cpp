#include "FakeSpooler.h"
#include "tcpxcv.h"
#include <cstring>

namespace {
std::wstring Str(const wchar_t* s) { return s ? s : L""; }
}  // namespace

HANDLE TFakeSpooler::NewHandle(TKind kind) {
    HANDLE h = reinterpret_cast<HANDLE>(m_next++);
    m_open[h] = kind;
    return h;
}

bool TFakeSpooler::IsOpen(HANDLE h, TKind kind) const {
    auto it = m_open.find(h);
    return it != m_open.end() && it->second == kind;
}

DWORD TFakeSpooler::DriverDirectory(std::wstring& directory) {
    if (driverDirectoryError) return driverDirectoryError;
    directory = driverDirectory;
    return 0;
}

DWORD TFakeSpooler::AddDriverInfo3(DRIVER_INFO_3W& info) {
    calls.push_back(L"AddDriver");
    if (addDriverError) return addDriverError;
    TFakeDriver d;
    d.version = info.cVersion;
    d.name = Str(info.pName);
    d.environment = Str(info.pEnvironment);
    d.driverPath = Str(info.pDriverPath);
    d.dataFile = Str(info.pDataFile);
    d.configFile = Str(info.pConfigFile);
    d.helpFile = Str(info.pHelpFile);
    d.monitor = info.pMonitorName ? info.pMonitorName : L"(null)";
    d.dataType = Str(info.pDefaultDataType);
    for (const wchar_t* p = info.pDependentFiles; p && *p; p += wcslen(p) + 1) {
        d.dependents.push_back(p);
        d.dependentChars += wcslen(p) + 1;
    }
    if (d.dependentChars) --d.dependentChars;  // separators between names, not after the last
    drivers.push_back(d);
    return 0;
}

DWORD TFakeSpooler::AddPrinterInfo2(PRINTER_INFO_2W& info, TPrinterHandle& printer) {
    calls.push_back(L"AddPrinter");
    for (const TFakePrinter& p : printers)
        if (_wcsicmp(p.name.c_str(), Str(info.pPrinterName).c_str()) == 0) return ERROR_PRINTER_ALREADY_EXISTS;
    TFakePrinter p;
    p.name = Str(info.pPrinterName);
    p.port = Str(info.pPortName);
    p.driver = Str(info.pDriverName);
    p.processor = Str(info.pPrintProcessor);
    p.dataType = Str(info.pDatatype);
    p.attributes = info.Attributes;
    PRINTER_INFO_2W rest = info;
    rest.pPrinterName = rest.pPortName = rest.pDriverName = rest.pPrintProcessor = rest.pDatatype = nullptr;
    rest.Attributes = 0;
    PRINTER_INFO_2W zero = {};
    p.restEmpty = std::memcmp(&rest, &zero, sizeof(zero)) == 0;
    printers.push_back(p);
    printer.reset(this, NewHandle(kPrinter));
    return 0;
}

DWORD TFakeSpooler::Open(const wchar_t* name, PRINTER_DEFAULTSW* defaults, TPrinterHandle& printer) {
    if (!name) {
        calls.push_back(L"OpenServer");
        if (defaults) return ERROR_INVALID_PARAMETER;  // the installer opens the server without defaults
        if (serverOpenFailures > 0) {
            --serverOpenFailures;
            return ERROR_ACCESS_DENIED;
        }
        printer.reset(this, NewHandle(kServer));
        return 0;
    }
    if (FindPrinter(name)) {
        calls.push_back(L"OpenPrinter:" + std::wstring(name));
        openedWithDefaults = defaults != nullptr;
        openDataType = defaults ? Str(defaults->pDatatype) : L"";
        openDevMode = defaults && defaults->pDevMode;
        openAccess = defaults ? defaults->DesiredAccess : 0;
        if (DWORD e = Failure(L"OpenPrinter")) return e;
        HANDLE h = NewHandle(kPrinter);
        m_printerOf[h] = name;
        m_accessOf[h] = openAccess;
        printer.reset(this, h);
        return 0;
    }
    calls.push_back(L"OpenXcv:" + std::wstring(name));
    if (xcvOpenError) return xcvOpenError;
    if (std::wstring(name) != L",XcvMonitor Standard TCP/IP Port") return ERROR_INVALID_PRINTER_NAME;
    xcvAccess = defaults ? defaults->DesiredAccess : 0;
    if (defaults && (defaults->pDatatype || defaults->pDevMode)) return ERROR_INVALID_PARAMETER;
    printer.reset(this, NewHandle(kXcv));
    return 0;
}

void TFakeSpooler::Close(HANDLE printer) {
    m_open.erase(printer);
    m_printerOf.erase(printer);
    m_accessOf.erase(printer);
}

DWORD TFakeSpooler::DeleteFormByName(HANDLE server, const std::wstring& name) {
    calls.push_back(L"DeleteForm:" + name);
    if (!IsOpen(server, kServer)) return ERROR_INVALID_HANDLE;
    return forms.erase(name) ? 0 : ERROR_INVALID_FORM_NAME;
}

DWORD TFakeSpooler::AddFormInfo1(HANDLE server, FORM_INFO_1W& form) {
    const std::wstring name = Str(form.pName);
    calls.push_back(L"AddForm:" + name);
    if (!IsOpen(server, kServer)) return ERROR_INVALID_HANDLE;
    auto err = addFormErrors.find(name);
    if (err != addFormErrors.end()) return err->second;
    if (forms.count(name)) return ERROR_FILE_EXISTS;
    forms[name] = TFakeForm{form.Flags, form.Size, form.ImageableArea};
    return 0;
}

DWORD TFakeSpooler::PortNames(std::vector<std::wstring>& names) {
    if (portListError) return portListError;
    names = ports;
    return 0;
}

DWORD TFakeSpooler::XcvCommand(HANDLE xcv, const wchar_t* command, const BYTE* input, DWORD inputSize,
                               DWORD& needed, DWORD& status) {
    calls.push_back(L"Xcv:" + Str(command));
    if (!IsOpen(xcv, kXcv)) return ERROR_INVALID_HANDLE;
    xcvInputs.emplace_back(input, input + inputSize);
    if (xcvCallError) return xcvCallError;
    needed = 0;
    // The monitor's answer to "AddPort": a new port, or its status for one it already has.
    PORT_DATA_1 port = {};
    std::memcpy(&port, input, inputSize < sizeof(port) ? inputSize : sizeof(port));
    std::wstring name(port.sztPortName);
    for (const std::wstring& p : ports)
        if (_wcsicmp(p.c_str(), name.c_str()) == 0) {
            status = ERROR_ALREADY_EXISTS;
            return 0;
        }
    ports.push_back(name);
    status = 0;
    return 0;
}

TFakeSpooler::~TFakeSpooler() {
    if (m_page) DeleteObject(m_page);
}

DWORD TFakeSpooler::Failure(const wchar_t* call) const {
    auto it = failures.find(call);
    return it == failures.end() ? 0 : it->second;
}

TFakePrinter* TFakeSpooler::FindPrinter(const std::wstring& name) {
    for (TFakePrinter& p : printers)
        if (_wcsicmp(p.name.c_str(), name.c_str()) == 0) return &p;
    return nullptr;
}

TFakePrinter* TFakeSpooler::OpenedPrinter(HANDLE h) {
    auto it = m_printerOf.find(h);
    return IsOpen(h, kPrinter) && it != m_printerOf.end() ? FindPrinter(it->second) : nullptr;
}

namespace {
size_t Aligned(size_t n) { return (n + 7) & ~size_t(7); }

size_t DevModeSize(const DEVMODEW* dm) { return dm ? (size_t)dm->dmSize + dm->dmDriverExtra : 0; }
}  // namespace

DWORD TFakeSpooler::GetPrinterInfo2(HANDLE printer, std::vector<BYTE>& info) {
    calls.push_back(L"GetPrinter");
    TFakePrinter* p = OpenedPrinter(printer);
    if (!p) return ERROR_INVALID_HANDLE;
    if (DWORD e = Failure(L"GetPrinter")) return e;
    // One block as the spooler packs it: the record, the device mode, then the texts.
    const std::wstring* texts[] = {&p->name, &p->port, &p->driver, &p->processor, &p->dataType};
    size_t size = Aligned(sizeof(PRINTER_INFO_2W)) + Aligned(p->devMode.size());
    for (const std::wstring* t : texts) size += (t->size() + 1) * sizeof(wchar_t);
    info.assign(size, 0);
    PRINTER_INFO_2W* record = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
    BYTE* at = info.data() + Aligned(sizeof(PRINTER_INFO_2W));
    if (!p->devMode.empty()) {
        std::memcpy(at, p->devMode.data(), p->devMode.size());
        record->pDevMode = reinterpret_cast<DEVMODEW*>(at);
        at += Aligned(p->devMode.size());
    }
    LPWSTR* fields[] = {&record->pPrinterName, &record->pPortName, &record->pDriverName, &record->pPrintProcessor,
                        &record->pDatatype};
    for (size_t i = 0; i < 5; ++i) {
        *fields[i] = reinterpret_cast<LPWSTR>(at);
        std::memcpy(at, texts[i]->c_str(), (texts[i]->size() + 1) * sizeof(wchar_t));
        at += (texts[i]->size() + 1) * sizeof(wchar_t);
    }
    record->Attributes = p->attributes;
    return 0;
}

DWORD TFakeSpooler::SetPrinterInfo2(HANDLE printer, PRINTER_INFO_2W& info) {
    calls.push_back(L"SetPrinter");
    TFakePrinter* p = OpenedPrinter(printer);
    if (!p) return ERROR_INVALID_HANDLE;
    if (!(m_accessOf[printer] & PRINTER_ACCESS_ADMINISTER)) return ERROR_ACCESS_DENIED;
    if (DWORD e = Failure(L"SetPrinter")) return e;
    if (info.pDevMode) {
        const BYTE* dm = reinterpret_cast<const BYTE*>(info.pDevMode);
        p->devMode.assign(dm, dm + DevModeSize(info.pDevMode));
    }
    return 0;
}

DWORD TFakeSpooler::CurrentDevMode(HANDLE printer, const std::wstring& name, std::vector<BYTE>& devMode) {
    calls.push_back(L"DocumentProperties");
    TFakePrinter* p = OpenedPrinter(printer);
    if (!p || _wcsicmp(p->name.c_str(), name.c_str()) != 0) return ERROR_INVALID_HANDLE;
    if (DWORD e = Failure(L"DocumentProperties")) return e;
    if (p->devMode.empty()) return ERROR_INVALID_DATA;
    devMode = p->devMode;
    return 0;
}

DWORD TFakeSpooler::PaperQuery(const wchar_t* call, const std::wstring& device, const wchar_t* port,
                               const DEVMODEW* devMode, TFakePrinter*& printer) {
    calls.push_back(std::wstring(call) + L":" + device + L"," + Str(port));
    const BYTE* dm = reinterpret_cast<const BYTE*>(devMode);
    capsDevMode.assign(dm, dm + DevModeSize(devMode));
    printer = FindPrinter(device);
    if (!printer) return ERROR_INVALID_PRINTER_NAME;
    return Failure(call);
}

DWORD TFakeSpooler::PaperNames(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                               std::vector<std::wstring>& names) {
    TFakePrinter* p = nullptr;
    if (DWORD e = PaperQuery(L"PaperNames", device, port, devMode, p)) return e;
    names = p->paperNames;
    return 0;
}

DWORD TFakeSpooler::PaperSizes(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                               std::vector<POINT>& sizes) {
    TFakePrinter* p = nullptr;
    if (DWORD e = PaperQuery(L"PaperSizes", device, port, devMode, p)) return e;
    sizes = p->paperSizes;
    return 0;
}

DWORD TFakeSpooler::PrinterNames(std::vector<std::wstring>& names) {
    if (DWORD e = Failure(L"PrinterNames")) return e;
    names.clear();
    for (const TFakePrinter& p : printers) names.push_back(p.name);
    return 0;
}

DWORD TFakeSpooler::DefaultPrinter(std::wstring& name) {
    if (DWORD e = Failure(L"DefaultPrinter")) return e;
    if (defaultPrinter.empty()) return ERROR_FILE_NOT_FOUND;
    name = defaultPrinter;
    return 0;
}

DWORD TFakeSpooler::CreatePrinterDC(const std::wstring& name, TDeviceContext& dc) {
    calls.push_back(L"CreateDC:" + name);
    if (!FindPrinter(name)) return ERROR_INVALID_PRINTER_NAME;
    if (DWORD e = Failure(L"CreateDC")) return e;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pageSize.cx;
    info.bmiHeader.biHeight = -pageSize.cy;  // top-down: row y is row y in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (m_page) DeleteObject(m_page);
    m_page = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_pageBits = static_cast<const DWORD*>(bits);
    if (!m_page) return ERROR_NOT_ENOUGH_MEMORY;
    const DWORD unprinted = (DWORD)GetRValue(kUnprintedColour) << 16 | (DWORD)GetGValue(kUnprintedColour) << 8 |
                            GetBValue(kUnprintedColour);
    DWORD* pixels = static_cast<DWORD*>(bits);
    for (size_t i = 0; i < (size_t)pageSize.cx * pageSize.cy; ++i) pixels[i] = unprinted;
    m_pageDC = CreateCompatibleDC(nullptr);
    SelectObject(m_pageDC, m_page);
    dc.reset(m_pageDC);
    return 0;
}

COLORREF TFakeSpooler::PagePixel(int x, int y) const {
    GdiFlush();
    DWORD v = m_pageBits[(size_t)y * pageSize.cx + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool TFakeSpooler::PageDCDeleted() const { return m_pageDC && GetObjectType(m_pageDC) == 0; }

DWORD TFakeSpooler::PageCall(HDC dc, const std::wstring& call, const wchar_t* failure) {
    calls.push_back(call);
    if (!dc || dc != m_pageDC) return ERROR_INVALID_HANDLE;
    return failure ? Failure(failure) : 0;
}

DWORD TFakeSpooler::JobStart(HDC dc, const std::wstring& documentName) {
    return PageCall(dc, L"StartDoc:" + documentName, L"StartDoc");
}
DWORD TFakeSpooler::PageStart(HDC dc) { return PageCall(dc, L"StartPage", L"StartPage"); }
DWORD TFakeSpooler::PageEnd(HDC dc) { return PageCall(dc, L"EndPage", L"EndPage"); }
DWORD TFakeSpooler::JobEnd(HDC dc) { return PageCall(dc, L"EndDoc", L"EndDoc"); }
void TFakeSpooler::JobAbort(HDC dc) { PageCall(dc, L"AbortDoc", nullptr); }
