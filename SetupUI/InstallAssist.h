// The driver package description read from the program's INI file.
#pragma once
#include <string>
#include <vector>

struct TTDriverInfo {
    std::wstring LogoFile;
    std::wstring BGFile;
    std::wstring Licence_Url;
    std::wstring PrinterFile;
    std::wstring OnlineInstaller;
    std::wstring DriverName;
    std::wstring HWID;
    std::wstring Inf;
    std::wstring Inf02;
    std::wstring Inf03;
    std::wstring Inf04;
    std::wstring Inf05;
    std::wstring Manual;
    std::wstring DriverInstanceName;
    std::wstring PortName;
    std::wstring Info;
    std::wstring PrinterType;
    int VKT_DPI = 0;
    int DriverInstallType = 0;
    std::wstring Unidrv_DataFile;
    std::wstring Unidrv_DriverFile;
    std::wstring Driver_DataFile;
    std::wstring Driver_DriverFile;
    std::wstring Driver_Forms;
    std::wstring AssistantConfig;
};

// Process-wide: the records of [Driver01]..[Driver100] and the program folder (no trailing backslash).
extern std::vector<TTDriverInfo> g_DriverInfo;
extern std::wstring g_ProgramFolder;

const int kMaxDriverSections = 100;

void LoadDriverInfo();

// The configuration file: the program path with ".ini".
std::wstring ConfigFilePath();
// One profile value through a 512-unit buffer (511 characters at most).
std::wstring ReadProfileString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                               const std::wstring& def = std::wstring());

// Installs the driver and a printer through the helper library. A printer name already in use
// gets the first free copy suffix (1 to 64); an empty port becomes "LPT1:". Returns 3 when the
// printer exists afterwards, else -2. May change DriverInstanceName and PortName.
long long InstallDriverCopy(TTDriverInfo& info);
