#include "Lib_Tessil.h"
#include "Lib_Error.h"
#include "Lib_String.h"

namespace {
const int kBufferUnits = 512;

typedef int(WINAPI* PFN_USBPrinterEnum)();
typedef int(WINAPI* PFN_GetPrinterFileName)(int, wchar_t*, int*);
typedef int(WINAPI* PFN_ReadPrinterID)(int, wchar_t*, int, wchar_t*, int);
typedef int(WINAPI* PFN_Drv_IsWow64)();
typedef int(WINAPI* PFN_Drv_IsIsExistDriverInstance)(const wchar_t*);
typedef int(WINAPI* PFN_Drv_OfflineInstallPrinterDriver)(const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*);

// The library's Booleans live in the low byte of the result.
bool LowByte(int r) { return (r & 0xFF) != 0; }

// A buffer the library fills; the last unit stays NUL whatever it writes.
std::wstring Terminated(wchar_t* buf) {
    buf[kBufferUnits - 1] = L'\0';
    return std::wstring(buf);
}
}  // namespace

TTessilLibrary::TTessilLibrary(std::wstring dllPath) : m_path(std::move(dllPath)) {}

TTessilLibrary::~TTessilLibrary() {
    if (m_module) FreeLibrary(m_module);
}

FARPROC TTessilLibrary::Resolve(const char* name) {
    if (!m_module) {
        std::wstring path = m_path.empty() ? ExtractFilePath(ProgramPath()) + L"Tessil.dll" : m_path;
        // Full path only, so no other folder can plant a library of the same name.
        m_module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!m_module)
            throw EKovrinError(FormatW(L"Cannot load the USB helper library \"%s\" (error %lu).", path.c_str(),
                                       GetLastError()));
    }
    FARPROC f = GetProcAddress(m_module, name);
    if (!f)
        throw EKovrinError(FormatW(L"The USB helper library Tessil.dll has no function \"%hs\".", name));
    return f;
}

int TTessilLibrary::USBPrinterEnum() {
    return reinterpret_cast<PFN_USBPrinterEnum>(Resolve("USBPrinterEnum"))();
}

std::wstring TTessilLibrary::GetPrinterFileName(int index) {
    auto f = reinterpret_cast<PFN_GetPrinterFileName>(Resolve("GetPrinterFileName"));
    wchar_t buf[kBufferUnits] = {};
    int size = kBufferUnits;
    f(index, buf, &size);
    return Terminated(buf);
}

void TTessilLibrary::ReadPrinterID(int index, std::wstring& port, std::wstring& deviceId) {
    auto f = reinterpret_cast<PFN_ReadPrinterID>(Resolve("ReadPrinterID"));
    wchar_t portBuf[kBufferUnits] = {};
    wchar_t idBuf[kBufferUnits] = {};
    f(index, portBuf, kBufferUnits, idBuf, kBufferUnits);
    port = Terminated(portBuf);
    deviceId = Terminated(idBuf);
}

bool TTessilLibrary::Drv_IsWow64() {
    return LowByte(reinterpret_cast<PFN_Drv_IsWow64>(Resolve("Drv_IsWow64"))());
}

bool TTessilLibrary::Drv_IsIsExistDriverInstance(const std::wstring& printerName) {
    auto f = reinterpret_cast<PFN_Drv_IsIsExistDriverInstance>(Resolve("Drv_IsIsExistDriverInstance"));
    return LowByte(f(printerName.c_str()));
}

void TTessilLibrary::Drv_OfflineInstallPrinterDriver(const std::wstring& inf, const std::wstring& driverName,
                                                     const std::wstring& printerName, const std::wstring& portName) {
    auto f = reinterpret_cast<PFN_Drv_OfflineInstallPrinterDriver>(Resolve("Drv_OfflineInstallPrinterDriver"));
    f(inf.c_str(), driverName.c_str(), printerName.c_str(), portName.c_str());
}

IUsbHelper& ProductionUsbHelper() {
    static TTessilLibrary lib;
    return lib;
}
