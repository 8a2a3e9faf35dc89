#include "Lib_Services.h"
#include "Lib_Spooler.h"
#include <shellapi.h>
#include <vector>

namespace {
class TSystemInfo : public ISystemInfo {
public:
    LANGID UserDefaultLangID() override { return GetUserDefaultLangID(); }
    std::wstring TempPath() override {
        wchar_t shortPath[MAX_PATH + 1] = {};
        DWORD n = GetTempPathW(MAX_PATH + 1, shortPath);
        if (n == 0 || n > MAX_PATH) return {};
        std::vector<wchar_t> longPath(32768);
        DWORD m = GetLongPathNameW(shortPath, longPath.data(), (DWORD)longPath.size());
        std::wstring out = (m == 0 || m >= longPath.size()) ? std::wstring(shortPath) : std::wstring(longPath.data(), m);
        if (!out.empty() && out.back() != L'\\') out += L'\\';
        return out;
    }
};

class TClock : public IClock {
public:
    void Sleep(DWORD ms) override { ::Sleep(ms); }
    ULONGLONG TickCount() override { return GetTickCount64(); }
};

class TMessageBoxes : public IMessageBoxes {
public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override {
        return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    }
};

class TShell : public IShell {
public:
    // No owner window, empty parameters and directory; the outcome is not reported.
    void Open(const std::wstring& target) override {
        ShellExecuteW(nullptr, L"open", target.c_str(), L"", L"", SW_SHOWNORMAL);
    }
};
}  // namespace

ISystemInfo& ProductionSystemInfo() {
    static TSystemInfo s;
    return s;
}
IClock& ProductionClock() {
    static TClock c;
    return c;
}
IMessageBoxes& ProductionMessageBoxes() {
    static TMessageBoxes m;
    return m;
}
IShell& ProductionShell() {
    static TShell s;
    return s;
}
TServices& Services() {
    static TServices s{&ProductionUsbHelper(), &ProductionSystemInfo(), &ProductionClock(), &ProductionMessageBoxes(),
                       &ProductionShell(), &ProductionCommandRunner(), &ProductionSpooler()};
    return s;
}
