#include "Lib_Services.h"
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
}  // namespace

ISystemInfo& ProductionSystemInfo() {
    static TSystemInfo s;
    return s;
}
IClock& ProductionClock() {
    static TClock c;
    return c;
}
TServices& Services() {
    static TServices s{&ProductionUsbHelper(), &ProductionSystemInfo(), &ProductionClock()};
    return s;
}
