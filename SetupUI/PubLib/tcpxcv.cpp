#include "tcpxcv.h"
#include "Lib_Services.h"
#include "Lib_Spooler.h"
#include <memory>

bool PortExists(const std::wstring& portName) {
    std::vector<std::wstring> names;
    if (Services().spooler->PortNames(names) != 0) return false;
    for (const std::wstring& name : names)
        if (name == portName) return true;
    return false;
}

namespace {
// Copies text into a fixed field with its terminating zero; false when it does not fit.
template <size_t N>
bool CopyField(WCHAR (&field)[N], const std::wstring& text) {
    if (text.size() >= N) return false;
    text.copy(field, text.size());
    field[text.size()] = L'\0';
    return true;
}
}  // namespace

bool AddTcpIpPort(const std::wstring& portName, const std::wstring& address) {
    std::unique_ptr<PORT_DATA_1> port(new PORT_DATA_1());  // value-initialised: all zero
    port->dwVersion = 1;
    port->dwProtocol = PROTOCOL_RAWTCP_TYPE;
    port->cbSize = sizeof(PORT_DATA_1);
    port->dwPortNumber = 9100;
    if (!CopyField(port->sztPortName, portName) || !CopyField(port->sztHostAddress, address) ||
        !CopyField(port->sztIPAddress, address)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }

    ISpooler& spooler = *Services().spooler;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    TPrinterHandle xcv;
    DWORD error = spooler.Open(L",XcvMonitor Standard TCP/IP Port", &defaults, xcv);
    if (error == 0) {
        DWORD needed = 0, status = 0;
        error = spooler.XcvCommand(xcv.get(), L"AddPort", reinterpret_cast<const BYTE*>(port.get()),
                                   sizeof(PORT_DATA_1), needed, status);
        if (error == 0) error = status;
    }
    xcv.reset();
    SetLastError(error);
    return error == 0;
}
