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

namespace {
DWORD FailureCode() {
    DWORD e = GetLastError();
    return e ? e : ERROR_GEN_FAILURE;
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
};
}  // namespace

ISpooler& ProductionSpooler() {
    static TWinSpooler s;
    return s;
}
