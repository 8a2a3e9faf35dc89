#include "Lib_Spooler.h"
#include <cwchar>

HANDLE TPrinterHandle::release() {
    HANDLE h = m_handle;
    m_handle = nullptr;
    m_owner = nullptr;
    return h;
}

void TPrinterHandle::reset(ISpooler* owner, HANDLE handle) {
    if (m_handle && m_owner) m_owner->Close(m_handle);
    m_owner = owner;
    m_handle = handle;
}

HDC TDeviceContext::release() {
    HDC dc = m_dc;
    m_dc = nullptr;
    return dc;
}

void TDeviceContext::reset(HDC dc) {
    if (m_dc) DeleteDC(m_dc);
    m_dc = dc;
}

namespace {
DWORD FailureCode() {
    DWORD e = GetLastError();
    return e ? e : ERROR_GEN_FAILURE;
}

// A call that fills a caller's block and says how many bytes it needs: asked again at the
// size it names, as long as that grows (another program may change the record in between).
template <typename TCall>
DWORD ReadSized(std::vector<BYTE>& block, TCall call) {
    block.clear();
    DWORD needed = 0;
    for (;;) {
        DWORD size = (DWORD)block.size();
        if (call(block.empty() ? nullptr : block.data(), size, needed)) return 0;
        DWORD e = FailureCode();
        if (e != ERROR_INSUFFICIENT_BUFFER || needed <= size) return e;
        block.assign(needed, 0);
    }
}

// DeviceCapabilitiesW for a capability that yields one item of itemSize bytes per paper:
// the count first, then a block that holds that many.
DWORD PaperCapability(const std::wstring& device, const wchar_t* port, WORD capability, const DEVMODEW* devMode,
                      size_t itemSize, std::vector<BYTE>& items, int& count) {
    count = DeviceCapabilitiesW(device.c_str(), port, capability, nullptr, devMode);
    if (count < 0) return FailureCode();
    items.assign(((size_t)count + 1) * itemSize, 0);  // one spare item for a count that grows
    int filled = DeviceCapabilitiesW(device.c_str(), port, capability, reinterpret_cast<LPWSTR>(items.data()),
                                     devMode);
    if (filled < 0) return FailureCode();
    if (filled < count) count = filled;
    return 0;
}

class TWinSpooler : public ISpooler {
public:
    bool IsWow64() override {
#ifdef _WIN64
        return true;  // a 64-bit program runs only on 64-bit Windows
#else
        using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
        HMODULE kernel = GetModuleHandleW(L"kernel32");
        auto isWow64Process =
            kernel ? reinterpret_cast<TIsWow64Process>(GetProcAddress(kernel, "IsWow64Process")) : nullptr;
        BOOL wow64 = FALSE;
        return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
    }

    DWORD DriverDirectory(std::wstring& directory) override {
        // 512 bytes hold every usual path; a longer one is asked for again at its size.
        std::vector<wchar_t> buffer(256);
        for (;;) {
            DWORD bytes = (DWORD)(buffer.size() * sizeof(wchar_t)), needed = 0;
            if (GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(buffer.data()), bytes,
                                           &needed))
                break;
            DWORD e = FailureCode();
            if (e != ERROR_INSUFFICIENT_BUFFER || needed <= bytes) return e;
            buffer.resize(needed / sizeof(wchar_t) + 1);
        }
        directory.assign(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
        return 0;
    }

    DWORD AddDriverInfo3(DRIVER_INFO_3W& info) override {
        return AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info)) ? 0 : FailureCode();
    }

    DWORD AddPrinterInfo2(PRINTER_INFO_2W& info, TPrinterHandle& printer) override {
        HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
        if (!h) return FailureCode();
        printer.reset(this, h);
        return 0;
    }

    DWORD Open(const wchar_t* name, PRINTER_DEFAULTSW* defaults, TPrinterHandle& printer) override {
        HANDLE h = nullptr;
        if (!OpenPrinterW(const_cast<LPWSTR>(name), &h, defaults)) return FailureCode();
        printer.reset(this, h);
        return 0;
    }

    void Close(HANDLE printer) override { ClosePrinter(printer); }

    DWORD DeleteFormByName(HANDLE server, const std::wstring& name) override {
        return DeleteFormW(server, const_cast<LPWSTR>(name.c_str())) ? 0 : FailureCode();
    }

    DWORD AddFormInfo1(HANDLE server, FORM_INFO_1W& form) override {
        return AddFormW(server, 1, reinterpret_cast<LPBYTE>(&form)) ? 0 : FailureCode();
    }

    DWORD PortNames(std::vector<std::wstring>& names) override {
        names.clear();
        DWORD needed = 0, count = 0;
        if (EnumPortsW(nullptr, 2, nullptr, 0, &needed, &count)) return 0;  // no ports at all
        DWORD e = FailureCode();
        if (e != ERROR_INSUFFICIENT_BUFFER) return e;
        std::vector<BYTE> buffer(needed);
        if (!EnumPortsW(nullptr, 2, buffer.data(), needed, &needed, &count)) return FailureCode();
        const PORT_INFO_2W* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            names.push_back(ports[i].pPortName ? ports[i].pPortName : L"");
        return 0;
    }

    DWORD XcvCommand(HANDLE xcv, const wchar_t* command, const BYTE* input, DWORD inputSize, DWORD& needed,
                     DWORD& status) override {
        return XcvDataW(xcv, command, const_cast<PBYTE>(input), inputSize, nullptr, 0, &needed, &status)
                   ? 0
                   : FailureCode();
    }

    DWORD GetPrinterInfo2(HANDLE printer, std::vector<BYTE>& info) override {
        return ReadSized(info, [&](BYTE* block, DWORD size, DWORD& needed) {
            return GetPrinterW(printer, 2, block, size, &needed) != FALSE;
        });
    }

    DWORD SetPrinterInfo2(HANDLE printer, PRINTER_INFO_2W& info) override {
        return SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(&info), 0) ? 0 : FailureCode();
    }

    DWORD CurrentDevMode(HANDLE printer, const std::wstring& name, std::vector<BYTE>& devMode) override {
        devMode.clear();
        LPWSTR device = const_cast<LPWSTR>(name.c_str());
        LONG size = DocumentPropertiesW(nullptr, printer, device, nullptr, nullptr, 0);
        if (size <= 0) return FailureCode();
        devMode.assign((size_t)size, 0);
        if (DocumentPropertiesW(nullptr, printer, device, reinterpret_cast<PDEVMODEW>(devMode.data()), nullptr,
                                DM_OUT_BUFFER) < 0) {
            devMode.clear();
            return FailureCode();
        }
        return 0;
    }

    DWORD PaperNames(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                     std::vector<std::wstring>& names) override {
        const size_t kNameChars = 64;  // each name has a fixed slot; a full slot has no terminator
        names.clear();
        std::vector<BYTE> items;
        int count = 0;
        if (DWORD e = PaperCapability(device, port, DC_PAPERNAMES, devMode, kNameChars * sizeof(wchar_t), items,
                                      count))
            return e;
        const wchar_t* slot = reinterpret_cast<const wchar_t*>(items.data());
        for (int i = 0; i < count; ++i, slot += kNameChars) names.emplace_back(slot, wcsnlen(slot, kNameChars));
        return 0;
    }

    DWORD PaperSizes(const std::wstring& device, const wchar_t* port, const DEVMODEW* devMode,
                     std::vector<POINT>& sizes) override {
        sizes.clear();
        std::vector<BYTE> items;
        int count = 0;
        if (DWORD e = PaperCapability(device, port, DC_PAPERSIZE, devMode, sizeof(POINT), items, count)) return e;
        const POINT* points = reinterpret_cast<const POINT*>(items.data());
        sizes.assign(points, points + count);
        return 0;
    }

    DWORD PrinterNames(std::vector<std::wstring>& names) override {
        names.clear();
        std::vector<BYTE> block;
        DWORD count = 0;
        if (DWORD e = ReadSized(block, [&](BYTE* b, DWORD size, DWORD& needed) {
                return EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, b, size, &needed,
                                     &count) != FALSE;
            }))
            return e;
        const PRINTER_INFO_4W* printers = reinterpret_cast<const PRINTER_INFO_4W*>(block.data());
        for (DWORD i = 0; i < count; ++i) names.push_back(printers[i].pPrinterName ? printers[i].pPrinterName : L"");
        return 0;
    }

    DWORD DefaultPrinter(std::wstring& name) override {
        name.clear();
        DWORD chars = 0;
        GetDefaultPrinterW(nullptr, &chars);
        if (chars == 0) return FailureCode();
        std::vector<wchar_t> buffer(chars + 1);
        chars = (DWORD)buffer.size();
        if (!GetDefaultPrinterW(buffer.data(), &chars)) return FailureCode();
        name.assign(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
        return 0;
    }

    DWORD CreatePrinterDC(const std::wstring& name, TDeviceContext& dc) override {
        HDC h = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
        if (!h) return FailureCode();
        dc.reset(h);
        return 0;
    }

    DWORD JobStart(HDC dc, const std::wstring& documentName) override {
        DOCINFOW doc = {};
        doc.cbSize = sizeof(doc);
        doc.lpszDocName = documentName.c_str();
        return StartDocW(dc, &doc) > 0 ? 0 : FailureCode();
    }
    DWORD PageStart(HDC dc) override { return StartPage(dc) > 0 ? 0 : FailureCode(); }
    DWORD PageEnd(HDC dc) override { return EndPage(dc) > 0 ? 0 : FailureCode(); }
    DWORD JobEnd(HDC dc) override { return EndDoc(dc) > 0 ? 0 : FailureCode(); }
    void JobAbort(HDC dc) override { AbortDoc(dc); }
};
}  // namespace

ISpooler& ProductionSpooler() {
    static TWinSpooler s;
    return s;
}
