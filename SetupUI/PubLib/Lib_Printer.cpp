#include "Lib_Printer.h"
#include "Lib_Error.h"
#include "Lib_Services.h"
#include "Lib_Spooler.h"
#include "Lib_String.h"
#include <cstddef>
#include <cstring>

namespace {
// The device mode's own size fields, the first thing read from a block of unknown origin.
const size_t kDevModeHeader = offsetof(DEVMODEW, dmDriverExtra) + sizeof(WORD);

// Bytes of the device mode at the start of a block (public and private part), or 0 when the
// block is too short for its header or for the sizes the header claims.
size_t DevModeBytes(const BYTE* devMode, size_t available) {
    if (!devMode || available < kDevModeHeader) return 0;
    WORD publicSize = 0, privateSize = 0;
    std::memcpy(&publicSize, devMode + offsetof(DEVMODEW, dmSize), sizeof(WORD));
    std::memcpy(&privateSize, devMode + offsetof(DEVMODEW, dmDriverExtra), sizeof(WORD));
    size_t total = (size_t)publicSize + privateSize;
    return publicSize >= kDevModeHeader && total <= available ? total : 0;
}

// A public field may be read only when the driver's dmSize reaches past it.
bool Covers(const DEVMODEW& devMode, size_t offset, size_t size) { return devMode.dmSize >= offset + size; }

EKovrinError SetPrinterFail(DWORD code) { return EKovrinError(FormatW(L"Set printer fail: %d", (int)code)); }

// The label block that ends the private part of the printer's stored device mode, or null
// when there is none: writing three words into another driver's data would corrupt it.
BYTE* LabelBlock(const PRINTER_INFO_2W& record, std::vector<BYTE>& info) {
    const uintptr_t begin = reinterpret_cast<uintptr_t>(info.data()), end = begin + info.size();
    const uintptr_t at = reinterpret_cast<uintptr_t>(record.pDevMode);
    if (at < begin || at >= end) return nullptr;  // none, or not inside the block the spooler filled
    BYTE* devMode = reinterpret_cast<BYTE*>(record.pDevMode);
    size_t bytes = DevModeBytes(devMode, end - at);
    if (bytes == 0 || record.pDevMode->dmDriverExtra < sizeof(OEMLABELDEV)) return nullptr;
    BYTE* block = devMode + bytes - sizeof(OEMLABELDEV);
    DWORD signature = 0;
    std::memcpy(&signature, block + offsetof(OEMLABELDEV, dwSignature), sizeof(signature));
    return signature == kLabelDevSignature ? block : nullptr;
}

void PutWord(BYTE* at, SHORT value) {
    const WORD v = (WORD)value;
    at[0] = (BYTE)(v & 0xFF);  // little-endian whatever the host
    at[1] = (BYTE)(v >> 8);
}

// What the printer's current document settings select.
struct TCurrentPaper {
    long width = 0, length = 0;  // tenths of a millimetre; 0 when the settings carry no size
    std::wstring formName;       // empty when they name no form
};

TCurrentPaper CurrentPaper(const DEVMODEW& devMode) {
    TCurrentPaper current;
    const DWORD fields = devMode.dmFields;
    if ((fields & DM_PAPERWIDTH) && (fields & DM_PAPERLENGTH) &&
        Covers(devMode, offsetof(DEVMODEW, dmPaperWidth), sizeof(short)) &&
        Covers(devMode, offsetof(DEVMODEW, dmPaperLength), sizeof(short))) {
        current.width = devMode.dmPaperWidth;
        current.length = devMode.dmPaperLength;
    }
    if ((fields & DM_FORMNAME) && Covers(devMode, offsetof(DEVMODEW, dmFormName), sizeof(devMode.dmFormName)))
        current.formName.assign(devMode.dmFormName, wcsnlen(devMode.dmFormName, CCHFORMNAME));
    return current;
}

bool Near(long a, long b) { return (a > b ? a - b : b - a) < 5; }  // half a millimetre

// A GDI object deleted when it goes.
class TGdiObject {
public:
    explicit TGdiObject(HGDIOBJ object = nullptr) : m_object(object) {}
    ~TGdiObject() { reset(); }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    HGDIOBJ get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    HGDIOBJ release() {
        HGDIOBJ o = m_object;
        m_object = nullptr;
        return o;
    }
    void reset(HGDIOBJ object = nullptr) {
        if (m_object) DeleteObject(m_object);
        m_object = object;
    }

private:
    HGDIOBJ m_object;
};

// An object selected into a DC for one scope; the DC's previous one comes back after.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~TSelection() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_dc, m_old);
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;
    bool ok() const { return m_old && m_old != HGDI_ERROR; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// The test page as a device-independent bitmap: 24 bits a pixel, bottom-up, white.
class TTestBitmap {
public:
    bool Draw(int width, int height, const std::wstring& line1, const std::wstring& line2, int fontSize) {
        m_info = {};
        BITMAPINFOHEADER& header = m_info.bmiHeader;
        header.biSize = sizeof(header);
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        m_bitmap.reset(CreateDIBSection(nullptr, &m_info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        if (!m_bitmap || !m_bits) return false;
        const size_t stride = ((size_t)width * 24 + 31) / 32 * 4;
        std::memset(m_bits, 0xFF, stride * (size_t)height);

        TDeviceContext canvas;
        canvas.reset(CreateCompatibleDC(nullptr));
        if (!canvas) return false;
        TSelection bitmap(canvas.get(), m_bitmap.get());
        // The font keeps the system's defaults but its size: points on the screen's scale.
        LOGFONTW face = {};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
        face.lfHeight = -MulDiv(fontSize, GetDeviceCaps(canvas.get(), LOGPIXELSY), 72);
        face.lfWidth = 0;
        TGdiObject font(CreateFontIndirectW(&face));
        if (!bitmap.ok() || !font) return false;
        TSelection selected(canvas.get(), font.get());
        SetTextColor(canvas.get(), RGB(0, 0, 0));
        SetBkColor(canvas.get(), RGB(255, 255, 255));
        bool drawn = TextOutW(canvas.get(), 0, 0, line1.c_str(), (int)line1.size()) &&
                     TextOutW(canvas.get(), 0, 2 * fontSize, line2.c_str(), (int)line2.size());
        GdiFlush();  // the bits are read directly next
        return drawn;
    }

    const BITMAPINFO& Info() const { return m_info; }
    const void* Bits() const { return m_bits; }

private:
    TGdiObject m_bitmap;
    BITMAPINFO m_info = {};
    void* m_bits = nullptr;
};

// The installed printer of that name in any letter case (its own spelling), else the default.
bool TargetPrinter(ISpooler& spooler, const std::wstring& name, std::wstring& target) {
    std::vector<std::wstring> names;
    if (spooler.PrinterNames(names) == 0)
        for (const std::wstring& installed : names)
            if (lstrcmpiW(installed.c_str(), name.c_str()) == 0) {
                target = installed;
                return true;
            }
    return spooler.DefaultPrinter(target) == 0 && !target.empty();
}

// A started print job; abandoned unless it was ended.
class TPrintJob {
public:
    TPrintJob(ISpooler& spooler, HDC dc) : m_spooler(spooler), m_dc(dc) {}
    ~TPrintJob() {
        if (!m_ended) m_spooler.JobAbort(m_dc);
    }
    TPrintJob(const TPrintJob&) = delete;
    TPrintJob& operator=(const TPrintJob&) = delete;
    DWORD End() {
        m_ended = true;
        return m_spooler.JobEnd(m_dc);
    }

private:
    ISpooler& m_spooler;
    HDC m_dc;
    bool m_ended = false;
};

const wchar_t* const kTestPageDocument = L"Test page";
}  // namespace

bool SetPrinterDefaults(const std::wstring& printerName, SHORT paperType, SHORT speed, SHORT density) {
    ISpooler& spooler = *Services().spooler;
    wchar_t raw[] = L"RAW";
    PRINTER_DEFAULTSW defaults = {raw, nullptr, PRINTER_ALL_ACCESS};
    TPrinterHandle printer;
    if (DWORD e = spooler.Open(printerName.c_str(), &defaults, printer))
        throw EKovrinError(FormatW(L"Error %u", e));

    std::vector<BYTE> info;
    if (DWORD e = spooler.GetPrinterInfo2(printer.get(), info)) throw SetPrinterFail(e);
    if (info.size() < sizeof(PRINTER_INFO_2W)) throw SetPrinterFail(ERROR_INVALID_DATA);
    PRINTER_INFO_2W& record = *reinterpret_cast<PRINTER_INFO_2W*>(info.data());
    BYTE* block = LabelBlock(record, info);
    if (!block) throw SetPrinterFail(ERROR_INVALID_DATA);

    PutWord(block + offsetof(OEMLABELDEV, sPaperType), paperType);
    PutWord(block + offsetof(OEMLABELDEV, sSpeed), speed);
    PutWord(block + offsetof(OEMLABELDEV, sDensity), density);
    if (DWORD e = spooler.SetPrinterInfo2(printer.get(), record)) throw SetPrinterFail(e);
    return true;
}

int GetPaperSizes(const std::wstring& printerName, std::vector<std::wstring>& list) {
    ISpooler& spooler = *Services().spooler;
    TPrinterHandle printer;
    if (spooler.Open(printerName.c_str(), nullptr, printer)) return -1;

    // Without readable settings the driver's own defaults answer and nothing is current.
    std::vector<BYTE> settings;
    const DEVMODEW* devMode = nullptr;
    TCurrentPaper current;
    if (spooler.CurrentDevMode(printer.get(), printerName, settings) == 0 &&
        DevModeBytes(settings.data(), settings.size())) {
        devMode = reinterpret_cast<const DEVMODEW*>(settings.data());
        current = CurrentPaper(*devMode);
    }

    // The port is always "LPT1:": the paper list does not depend on it.
    std::vector<std::wstring> names;
    std::vector<POINT> sizes;
    if (spooler.PaperNames(printerName, L"LPT1:", devMode, names) ||
        spooler.PaperSizes(printerName, L"LPT1:", devMode, sizes))
        return -1;

    // Only papers with both a name and a size make an item; a later match beats an earlier one.
    const size_t count = names.size() < sizes.size() ? names.size() : sizes.size();
    int exact = -1, named = -1, nearby = -1;
    const size_t base = list.size();
    for (size_t i = 0; i < count; ++i) {
        const long width = sizes[i].x, length = sizes[i].y;
        list.push_back(names[i] + FormatW(L"|%d|%d", (int)width, (int)length));
        if (!current.formName.empty() && names[i] == current.formName) named = (int)i;
        if (width == current.width && length == current.length) exact = (int)i;
        if (Near(width, current.width) && Near(length, current.length)) nearby = (int)i;
    }
    int found = exact >= 0 ? exact : named >= 0 ? named : nearby;
    return found < 0 ? -1 : (int)base + found;
}

bool PrintTestPage(const std::wstring& printerName, const std::wstring& line1, const std::wstring& line2, int width,
                   int height, int fontSize) {
    if (width <= 0 || height <= 0) return false;  // no paper size known: nothing to print
    TTestBitmap bitmap;
    if (!bitmap.Draw(width, height, line1, line2, fontSize)) return false;

    ISpooler& spooler = *Services().spooler;
    std::wstring target;
    if (!TargetPrinter(spooler, printerName, target)) return false;
    TDeviceContext dc;
    if (spooler.CreatePrinterDC(target, dc) || spooler.JobStart(dc.get(), kTestPageDocument)) return false;
    TPrintJob job(spooler, dc.get());
    if (spooler.PageStart(dc.get())) return false;
    // One bitmap pixel is one printer pixel; the destination is one pixel larger each way.
    int lines = StretchDIBits(dc.get(), 0, 0, width + 1, height + 1, 0, 0, width, height, bitmap.Bits(),
                              &bitmap.Info(), DIB_RGB_COLORS, SRCCOPY);
    if (lines == 0 || lines == (int)GDI_ERROR) return false;
    if (spooler.PageEnd(dc.get())) return false;
    return job.End() == 0;
}
