#include "InstallAssist.h"
#include "PubLib/Lib_Lang.h"
#include "PubLib/Lib_Services.h"
#include "PubLib/Lib_String.h"
#include <windows.h>
#include <cwchar>

std::vector<TTDriverInfo> g_DriverInfo;
std::wstring g_ProgramFolder;

std::wstring ConfigFilePath() { return ChangeFileExt(ProgramPath(), L".ini"); }

std::wstring ReadProfileString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                               const std::wstring& def) {
    wchar_t buf[512] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(), buf, 512, file.c_str());
    return buf;
}

namespace {
// Decimal text to int, 0 for anything that is not a whole number.
int StrToIntDef0(const std::wstring& s) {
    if (s.empty()) return 0;
    wchar_t* end = nullptr;
    errno = 0;
    long v = wcstol(s.c_str(), &end, 10);
    if (*end != L'\0' || errno == ERANGE || v > INT_MAX || v < INT_MIN) return 0;
    return (int)v;
}
}  // namespace

void LoadDriverInfo() {
    const std::wstring program = ProgramPath();
    g_ProgramFolder = ExtractFileDir(program);
    const std::wstring dirWithSlash = ExtractFilePath(program);
    const std::wstring folderSlash = g_ProgramFolder + L"\\";

    const bool wow64 = Services().usb->Drv_IsWow64();
    const wchar_t* bits = wow64 ? L"_64" : L"_32";
    const wchar_t* online = wow64 ? L"OnlineInstaller64" : L"OnlineInstaller32";

    const std::wstring ini = ConfigFilePath();
    std::vector<TTDriverInfo> records(kMaxDriverSections);
    size_t count = 0;
    auto read = [&](const std::wstring& section, const std::wstring& key, const wchar_t* def = L"") {
        return ReadProfileString(ini, section, key, def);
    };
    auto underDir = [&](std::wstring& v) { if (!v.empty()) v = dirWithSlash + v; };
    auto underFolder = [&](std::wstring& v) { if (!v.empty()) v = folderSlash + v; };

    for (int i = 0; i < kMaxDriverSections; ++i) {
        TTDriverInfo& r = records[i];
        r.LogoFile = read(L"Setting", L"Logo");
        r.BGFile = read(L"Setting", L"BG");
        r.Licence_Url = read(L"Setting", L"Licence_Url");
        const std::wstring section = FormatW(L"Driver%.2d", i + 1);
        if (read(section, L"PrinterName").empty()) break;
        ++count;
        r.PrinterType = read(section, L"PrinterType");
        r.VKT_DPI = StrToIntDef0(read(section, L"DPI", L"0"));
        r.DriverName = read(section, L"PrinterName");
        r.DriverInstanceName = read(section, L"DriverInstanceName");
        if (r.DriverInstanceName.empty()) r.DriverInstanceName = r.DriverName;
        r.HWID = read(section, L"HWID");
        r.Inf = read(section, std::wstring(L"Inf") + bits);
        r.Inf02 = read(section, std::wstring(L"Inf02") + bits);
        r.Inf03 = read(section, std::wstring(L"Inf03") + bits);
        r.Inf04 = read(section, std::wstring(L"Inf04") + bits);
        r.PrinterFile = read(section, L"PrinterImage");
        r.Manual = read(section, L"Manual");
        r.OnlineInstaller = read(section, online);
        r.DriverInstallType = (int)GetPrivateProfileIntW(section.c_str(), L"DriverInstallType", 0, ini.c_str());
        r.Unidrv_DataFile = read(section, L"Unidrv_DataFile");
        r.Unidrv_DriverFile = read(section, L"Unidrv_DriverFile");
        r.Driver_DataFile = read(section, L"Driver_DataFile");
        r.Driver_DriverFile = read(section, L"Driver_DriverFile");
        r.Driver_Forms = read(section, L"Driver_Forms");
        r.AssistantConfig = read(section, L"AssistantConfig");

        underDir(r.LogoFile);
        underDir(r.BGFile);
        underDir(r.PrinterFile);
        underDir(r.Manual);
        underFolder(r.OnlineInstaller);
        underFolder(r.Inf02);
        underFolder(r.Inf03);
        underFolder(r.Inf04);
        underFolder(r.Inf05);
        r.Inf = folderSlash + r.Inf;  // always, so an empty key leaves "folder\"
    }
    records.resize(count);
    g_DriverInfo = std::move(records);
}

long long InstallDriverCopy(TTDriverInfo& info) {
    IUsbHelper& usb = *Services().usb;
    if (usb.Drv_IsIsExistDriverInstance(info.DriverInstanceName)) {
        if (info.DriverInstanceName.empty()) info.DriverInstanceName = info.DriverName;
        if (usb.Drv_IsIsExistDriverInstance(info.DriverInstanceName)) {
            const wchar_t* suffix = IsChineseUI() ? L" (\x526F\x672C %d)" : L"(copy %d)";  // " (副本 %d)"
            for (int copy = 1; copy <= 64; ++copy) {
                const std::wstring candidate = info.DriverInstanceName + FormatW(suffix, copy);
                if (!usb.Drv_IsIsExistDriverInstance(candidate)) {
                    info.DriverInstanceName = candidate;
                    break;
                }
            }
        }
    }
    if (info.PortName.empty()) info.PortName = L"LPT1:";
    usb.Drv_OfflineInstallPrinterDriver(info.Inf, info.DriverName, info.DriverInstanceName, info.PortName);
    return usb.Drv_IsIsExistDriverInstance(info.DriverInstanceName) ? 3 : -2;
}
