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
    calls.push_back(L"OpenXcv:" + std::wstring(name));
    if (xcvOpenError) return xcvOpenError;
    if (std::wstring(name) != L",XcvMonitor Standard TCP/IP Port") return ERROR_INVALID_PRINTER_NAME;
    xcvAccess = defaults ? defaults->DesiredAccess : 0;
    if (defaults && (defaults->pDatatype || defaults->pDevMode)) return ERROR_INVALID_PARAMETER;
    printer.reset(this, NewHandle(kXcv));
    return 0;
}

void TFakeSpooler::Close(HANDLE printer) { m_open.erase(printer); }

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
