// The USB helper library: lists the USB printer interfaces through SetupAPI, reads each
// printer's IEEE 1284 device ID and port name, and installs a printer from an INF.
#define TESSIL_BUILD
#include "tessil_exports.h"
#include "tessil_spooler.h"
#include <setupapi.h>
#include <winioctl.h>
#include <initguid.h>
#include <string>
#include <vector>

namespace {
// USB printing class interface and its device-ID request (usbprint.sys).
DEFINE_GUID(kUsbPrintInterface, 0x28d78fad, 0x5a12, 0x11d1, 0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2);
const DWORD kIoctlGet1284Id = CTL_CODE(FILE_DEVICE_UNKNOWN, 13, METHOD_BUFFERED, FILE_ANY_ACCESS);

struct TUsbPrinter {
    std::wstring path, port, deviceId;
};

// One owner per handle kind; the closer runs unless the handle is a null or invalid value.
template <typename T, void (*Close)(T)>
class TScoped {
public:
    explicit TScoped(T h) : m_h(h) {}
    ~TScoped() {
        if (m_h && m_h != (T)INVALID_HANDLE_VALUE) Close(m_h);
    }
    TScoped(const TScoped&) = delete;
    TScoped& operator=(const TScoped&) = delete;
    T get() const { return m_h; }

private:
    T m_h;
};
void CloseDevInfo(HDEVINFO h) { SetupDiDestroyDeviceInfoList(h); }
void CloseKey(HKEY h) { RegCloseKey(h); }
void CloseFile(HANDLE h) { CloseHandle(h); }
using TDevInfo = TScoped<HDEVINFO, CloseDevInfo>;
using TKey = TScoped<HKEY, CloseKey>;
using THandle = TScoped<HANDLE, CloseFile>;

std::wstring PortName(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* iface) {
    TKey key(SetupDiOpenDeviceInterfaceRegKey(set, iface, 0, KEY_READ));
    if (key.get() == INVALID_HANDLE_VALUE) return {};
    wchar_t value[64] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key.get(), L"Port Name", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return value;
}

// The reply starts with a big-endian length that counts its own two bytes.
std::wstring DeviceId(const std::wstring& path) {
    THandle h(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr));
    if (h.get() == INVALID_HANDLE_VALUE) return {};
    std::vector<char> buf(1026, 0);
    DWORD got = 0;
    if (!DeviceIoControl(h.get(), kIoctlGet1284Id, nullptr, 0, buf.data(), (DWORD)buf.size() - 1, &got, nullptr) ||
        got < 2)
        return {};
    size_t len = ((unsigned char)buf[0] << 8) | (unsigned char)buf[1];
    if (len < 2 || len > got) len = got;
    std::string id(buf.data() + 2, len - 2);
    int n = MultiByteToWideChar(CP_ACP, 0, id.data(), (int)id.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, id.data(), (int)id.size(), &out[0], n);
    return out;
}

// Enumerated again by USBPrinterEnum; the other two functions read this list.
std::vector<TUsbPrinter> g_printers;

void CopyOut(const std::wstring& s, wchar_t* out, int size) {
    if (!out || size <= 0) return;
    size_t n = s.size() < (size_t)size - 1 ? s.size() : (size_t)size - 1;
    s.copy(out, n);
    out[n] = L'\0';
}

const TUsbPrinter* At(int index) {
    return index >= 0 && (size_t)index < g_printers.size() ? &g_printers[index] : nullptr;
}
}  // namespace

TESSIL_API int WINAPI USBPrinterEnum() {
    g_printers.clear();
    TDevInfo set(SetupDiGetClassDevsW(&kUsbPrintInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (set.get() == INVALID_HANDLE_VALUE) return 0;
    SP_DEVICE_INTERFACE_DATA iface = {};
    iface.cbSize = sizeof(iface);
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set.get(), nullptr, &kUsbPrintInterface, i, &iface); ++i) {
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(set.get(), &iface, nullptr, 0, &needed, nullptr);
        if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
        std::vector<BYTE> buf(needed);
        auto detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buf.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set.get(), &iface, detail, needed, nullptr, nullptr)) continue;
        TUsbPrinter p;
        p.path = detail->DevicePath;
        p.port = PortName(set.get(), &iface);
        p.deviceId = DeviceId(p.path);
        g_printers.push_back(p);
    }
    return (int)g_printers.size();
}

TESSIL_API int WINAPI GetPrinterFileName(int index, wchar_t* buffer, int* size) {
    const TUsbPrinter* p = At(index);
    CopyOut(p ? p->path : std::wstring(), buffer, size ? *size : 0);
    return p != nullptr;
}

TESSIL_API int WINAPI ReadPrinterID(int index, wchar_t* port, int portSize, wchar_t* deviceId, int deviceIdSize) {
    const TUsbPrinter* p = At(index);
    CopyOut(p ? p->port : std::wstring(), port, portSize);
    CopyOut(p ? p->deviceId : std::wstring(), deviceId, deviceIdSize);
    return p != nullptr;
}

TESSIL_API BOOL WINAPI Drv_IsWow64() { return TessilIsWow64(); }

TESSIL_API BOOL WINAPI Drv_IsIsExistDriverInstance(const wchar_t* printerName) {
    return TessilPrinterExists(printerName);
}

// The system's own INF handling installs the driver and adds the printer (printui's /if).
TESSIL_API int WINAPI Drv_OfflineInstallPrinterDriver(const wchar_t* inf, const wchar_t* driverName,
                                                     const wchar_t* printerName, const wchar_t* portName) {
    if (!inf || !driverName || !printerName || !portName) return ERROR_INVALID_PARAMETER;
    wchar_t sysDir[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(sysDir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return (int)GetLastError();
    std::wstring dll = std::wstring(sysDir) + L"\\printui.dll";
    HMODULE printui = LoadLibraryExW(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!printui) return (int)GetLastError();
    typedef void(WINAPI * PFN_PrintUIEntryW)(HWND, HINSTANCE, LPCWSTR, int);
    auto entry = reinterpret_cast<PFN_PrintUIEntryW>(GetProcAddress(printui, "PrintUIEntryW"));
    int rc = ERROR_PROC_NOT_FOUND;
    if (entry) {
        std::wstring cmd = std::wstring(L"/if /q /b \"") + printerName + L"\" /f \"" + inf + L"\" /r \"" + portName +
                           L"\" /m \"" + driverName + L"\"";
        entry(nullptr, printui, cmd.c_str(), SW_HIDE);
        rc = TessilPrinterExists(printerName) ? 0 : ERROR_INVALID_PRINTER_NAME;
    }
    FreeLibrary(printui);
    return rc;
}
