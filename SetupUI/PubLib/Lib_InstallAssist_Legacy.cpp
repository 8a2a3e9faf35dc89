#include "Lib_InstallAssist_Legacy.h"
#include "Lib_Error.h"
#include "Lib_Log.h"
#include "Lib_Services.h"
#include "Lib_Spooler.h"
#include "Lib_String.h"
#include "TStringUnit.h"
#include <cwchar>
#include <vector>

namespace {
const wchar_t* const kFixedLabelForms[] = {L"72 x 25mm", L"72 x 50mm", L"72 x 75mm", L"72 x 100mm"};

// The dependent-file multi-string lives in 512 units: 510 characters of names and separators,
// the last name's zero and the closing empty name.
const size_t kDependentChars = 510;

// The pieces between separators. Empty pieces are dropped: an empty name would end a
// multi-string early and name a folder instead of a file.
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> out;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        std::wstring piece = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!piece.empty()) out.push_back(piece);
        if (end == std::wstring::npos) return out;
        start = end + 1;
    }
}

std::wstring PackageFolder(const TTDriverInfo& info) { return ExtractFilePath(info.Inf); }

std::wstring BinaryFolder() { return IsWow64() ? L"driver\\amd64\\" : L"driver\\x86\\"; }

std::wstring UpperCase(std::wstring s) {
    if (!s.empty()) CharUpperBuffW(&s[0], (DWORD)s.size());
    return s;
}

LPWSTR Text(std::wstring& s) { return &s[0]; }  // the spooler's records take non-const text

// Whole millimetres of a form entry, as thousandths that fit the spooler's 32-bit fields.
LONG Thousandths(const std::wstring& text, const std::wstring& entry) {
    const wchar_t* begin = text.c_str();
    while (*begin == L' ' || *begin == L'\t') ++begin;
    wchar_t* end = nullptr;
    long value = std::wcstol(begin, &end, 10);
    while (end && (*end == L' ' || *end == L'\t')) ++end;
    const long limit = 2147483;  // LONG_MAX / 1000
    if (end == begin || *end != L'\0' || value > limit || value < -limit)
        throw EKovrinError(FormatW(L"'%s' is not a valid integer value (paper form \"%s\")", text.c_str(),
                                   entry.c_str()));
    return (LONG)(value * 1000);
}

struct TLabelForm {
    std::wstring name;
    LONG width = 0;   // thousandths of a millimetre
    LONG height = 0;
};

// "name[width,height]": the bracket part is read as at most 32 characters from its "[".
TLabelForm ParseLabelForm(const std::wstring& entry) {
    TLabelForm form;
    size_t bracket = entry.find(L'[');
    form.name = entry.substr(0, bracket);
    std::wstring sizes;
    if (bracket != std::wstring::npos)
        for (wchar_t c : entry.substr(bracket, 32))
            if (c != L'[' && c != L']') sizes += c;
    size_t comma = sizes.find(L',');
    form.width = Thousandths(sizes.substr(0, comma), entry);
    form.height = Thousandths(comma == std::wstring::npos ? std::wstring() : sizes.substr(comma + 1), entry);
    return form;
}
}  // namespace

bool IsWow64() { return Services().spooler->IsWow64(); }

void CopyDriverFiles(const TTDriverInfo& info) {
    std::wstring target;
    if (DWORD e = Services().spooler->DriverDirectory(target))
        throw EKovrinError(L"Cannot read the printer driver folder. " + SystemErrorMessage(e));
    const std::wstring package = PackageFolder(info);
    const std::wstring binaries = BinaryFolder();
    const struct {
        const std::wstring& list;
        std::wstring folder;
    } lists[] = {{info.Unidrv_DataFile, L"driver\\depends\\"},
                 {info.Driver_DataFile, L"driver\\depends\\"},
                 {info.Unidrv_DriverFile, binaries},
                 {info.Driver_DriverFile, binaries}};
    for (const auto& l : lists) {
        for (const std::wstring& name : Split(l.list, L',')) {
            const std::wstring source = package + l.folder + name;
            if (!FileExists(source)) {
                TLog::Error(L"复制的文件不存在：" + source);
                continue;
            }
            const std::wstring dest = target + L"\\" + name;
            if (!CopyFileW(source.c_str(), dest.c_str(), FALSE))
                throw EKovrinError(L"Cannot copy file \"" + source + L"\" to \"" + dest + L"\". " +
                                   SystemErrorMessage(GetLastError()));
        }
    }
}

DWORD AddDriver(const TTDriverInfo& info) {
    ISpooler& spooler = *Services().spooler;
    std::wstring directory;
    DWORD result = spooler.DriverDirectory(directory);
    if (result == 0) {
        const std::wstring d = directory + L"\\3\\";

        std::vector<std::wstring> names{L"UNIRES.DLL"};
        for (const std::wstring* list : {&info.Driver_DataFile, &info.Driver_DriverFile})
            for (const std::wstring& name : Split(*list, L',')) names.push_back(name);
        // Whole names only: a name cut at the limit would make the spooler look for a file
        // that is not there.
        std::wstring dependents;
        for (const std::wstring& name : names) {
            size_t length = dependents.size() + name.size() + (dependents.empty() ? 0 : 1);
            if (length > kDependentChars) {
                TLog::Error(L"Dependent file list longer than 510 characters; left out: " + name);
                continue;
            }
            if (!dependents.empty()) dependents += L'\0';
            dependents += name;
        }
        dependents.append(2, L'\0');  // the last name's end and the closing empty name

        std::wstring dataFile;
        for (const std::wstring& name : Split(info.Driver_DataFile, L',')) {
            if (UpperCase(name).find(L".GPD") != std::wstring::npos) {
                dataFile = name;
                break;
            }
        }
        if (dataFile.empty()) TLog::Error(L"没有指定gpd文件。");

        std::wstring name = info.DriverName;
        std::wstring environment = IsWow64() ? L"Windows x64" : L"Windows NT x86";
        std::wstring driverPath = d + L"UNIDRV.DLL", dataPath = d + dataFile, configPath = d + L"UNIDRVUI.DLL",
                     helpPath = d + L"UNIDRV.HLP", monitor, dataType = L"RAW";
        DRIVER_INFO_3W driver = {};
        driver.cVersion = 3;
        driver.pName = Text(name);
        driver.pEnvironment = Text(environment);
        driver.pDriverPath = Text(driverPath);
        driver.pDataFile = Text(dataPath);
        driver.pConfigFile = Text(configPath);
        driver.pHelpFile = Text(helpPath);
        driver.pDependentFiles = Text(dependents);
        driver.pMonitorName = Text(monitor);
        driver.pDefaultDataType = Text(dataType);
        result = spooler.AddDriverInfo3(driver);
    }
    TLog::Info(FormatW(L"添加打印驱动结果：%d", (int)result));
    return result;
}

DWORD AddPrinterInstance(const TTDriverInfo& info) {
    std::wstring printerName = info.DriverInstanceName, portName = info.PortName, driverName = info.DriverName,
                 processor = L"WinPrint", dataType = L"RAW";
    PRINTER_INFO_2W printer = {};
    printer.pPrinterName = Text(printerName);
    printer.pPortName = Text(portName);
    printer.pDriverName = Text(driverName);
    printer.pPrintProcessor = Text(processor);
    printer.pDatatype = Text(dataType);
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    TPrinterHandle handle;
    DWORD result = Services().spooler->AddPrinterInfo2(printer, handle);
    handle.reset();
    if (result == 0)
        TLog::Info(FormatW(L"已成功添加打印驱动实例：%s", info.DriverInstanceName.c_str()));
    else
        TLog::Info(FormatW(L"添加打印驱动实例失败：%d", (int)result));
    return result;
}

int DeleteLabelForms() {
    ISpooler& spooler = *Services().spooler;
    TPrinterHandle server;
    if (spooler.Open(nullptr, nullptr, server) != 0) return 0;
    int deleted = 0;
    for (const wchar_t* name : kFixedLabelForms)
        if (spooler.DeleteFormByName(server.get(), name) == 0) ++deleted;
    return deleted;
}

int AddLabelForms(const TTDriverInfo& info) {
    ISpooler& spooler = *Services().spooler;
    int result = -1;
    for (const std::wstring& entry : Split(info.Driver_Forms, L';')) {
        TLabelForm form = ParseLabelForm(entry);
        TPrinterHandle server;
        if (DWORD e = spooler.Open(nullptr, nullptr, server)) {
            TLog::Error(FormatW(L"打开打印机驱动（%s）失败（%d），不能添加纸张！", info.DriverInstanceName.c_str(), (int)e));
            continue;
        }
        FORM_INFO_1W record = {};
        record.Flags = FORM_USER;
        record.pName = Text(form.name);
        record.Size.cx = form.width;
        record.Size.cy = form.height;
        record.ImageableArea.right = form.width;
        record.ImageableArea.bottom = form.height;
        DWORD e = spooler.AddFormInfo1(server.get(), record);
        if (e == 0 || e == ERROR_FILE_EXISTS) {
            result = 1;
        } else {
            result = (int)e;
            TLog::Error(FormatW(L"添加纸张（%s）失败：%d", form.name.c_str(), (int)e));
        }
    }
    return result;
}

long long InstallDriverPackage(const TTDriverInfo& info) {
    CopyDriverFiles(info);
    if (DWORD e = AddDriver(info)) return (long long)HRESULT_FROM_WIN32(e);
    DWORD printer = AddPrinterInstance(info);
    DeleteLabelForms();
    AddLabelForms(info);
    return printer ? (long long)HRESULT_FROM_WIN32(printer) : 1;
}

DWORD PackageInstallError(long long result) {
    if (result >= 1 && result <= 3) return 0;
    return (DWORD)HRESULT_CODE((HRESULT)result);
}
