// Label settings block: driver data file look-up, defaults, conversion and merge.
#include "devmode.h"
#include "debug.h"
#include "handles.h"
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

class THeapBlock {
public:
    explicit THeapBlock(size_t cb) : m_p(cb ? std::malloc(cb) : nullptr) {}
    ~THeapBlock() { std::free(m_p); }
    THeapBlock(const THeapBlock&) = delete;
    THeapBlock& operator=(const THeapBlock&) = delete;
    void* get() const { return m_p; }

private:
    void* m_p;
};

// The device name at the start of a public devmode, always terminated.
void PrinterNameOf(const DEVMODEW* dm, WCHAR (&name)[CCHDEVICENAME]) {
    name[0] = L'\0';
    if (dm) {
        std::wmemcpy(name, dm->dmDeviceName, CCHDEVICENAME - 1);
        name[CCHDEVICENAME - 1] = L'\0';
    }
}

}  // namespace

bool PickDriverDataFile(PWSTR dependentFiles, PWSTR path) {
    for (PWSTR file = dependentFiles; file && *file; file += std::wcslen(file) + 1) {
        for (PWSTR c = file; *c; ++c)
            *c = static_cast<WCHAR>(std::towupper(*c));
        if (std::wcsstr(file, L".DAT")) {
            lstrcpynW(path, file, static_cast<int>(DATA_FILE_CCH));
            return true;
        }
    }
    return false;
}

bool FindDriverDataFile(PCWSTR printerName, PWSTR path) {
    if (!printerName || !path)
        return false;
    TPrinterHandle printer(OpenPrinterByName(printerName));
    if (!printer.get())
        return false;
    DWORD needed = 0;
    GetPrinterDriverW(printer.get(), nullptr, 6, nullptr, 0, &needed);
    if (needed == 0)
        return false;
    THeapBlock buffer(needed);
    if (!buffer.get())
        return false;
    if (!GetPrinterDriverW(printer.get(), nullptr, 6, static_cast<LPBYTE>(buffer.get()), needed, &needed))
        return false;
    auto* info = static_cast<DRIVER_INFO_6W*>(buffer.get());
    return PickDriverDataFile(info->pDependentFiles, path);
}

int ReadProfileNumber(PCWSTR file, PCWSTR section, PCWSTR key) {
    WCHAR text[260];
    GetPrivateProfileStringW(section, key, L"0", text, 260, file);
    return _wtoi(text);
}

// Cut to 16 bits as the block stores it.
SHORT To16(long long v) { return static_cast<SHORT>(static_cast<WORD>(v)); }

SHORT ReadProfileShort(PCWSTR file, PCWSTR section, PCWSTR key) { return To16(ReadProfileNumber(file, section, key)); }

// Counts from 1 in the file and from 0 in the block; the sign is judged after the cut.
SHORT ReadProfileFromOne(PCWSTR file, PCWSTR section, PCWSTR key) {
    SHORT v = To16(static_cast<long long>(ReadProfileNumber(file, section, key)) - 1);
    return v < 0 ? 0 : v;
}

void ReadPaperDefaults(PCWSTR dataFile, OEMLABELDEV* dev) {
    dev->sPaperType = ReadProfileShort(dataFile, L"Paper", L"Type");
    dev->sSpeed = ReadProfileFromOne(dataFile, L"Paper", L"Speed");
    dev->sDensity = ReadProfileFromOne(dataFile, L"Paper", L"Density");
    dev->sPadHor = ReadProfileShort(dataFile, L"Paper", L"Pad_hor");
    dev->sPadVer = ReadProfileShort(dataFile, L"Paper", L"Pad_ver");
    dev->sRotate = ReadProfileShort(dataFile, L"Paper", L"Rotate");
}

int SetOemDevHeader(OEMLABELDEV* dev) {
    if (!dev)
        return 0;
    dev->dwSize = sizeof(OEMLABELDEV);
    dev->dwSignature = OEM_SIGNATURE;
    dev->dwVersion = OEM_VERSION;
    return 1;
}

DWORD fill_default_oemdev(PCWSTR printerName, OEMLABELDEV* dev) {
    if (!printerName || !dev) {
        DbgW(DBG_ERROR, L"ERROR: fill_default_oemdev(), ERROR_INVALID_PARAMETER.\r\n");
        return 0;
    }
    SetOemDevHeader(dev);
    // Without a data file the name stays empty and every key reads its default.
    WCHAR dataFile[DATA_FILE_CCH] = L"";
    FindDriverDataFile(printerName, dataFile);
    ReadPaperDefaults(dataFile, dev);
    return sizeof(OEMLABELDEV);
}

DWORD convert_devmode(PCWSTR printerName, const OEMLABELDEV* in, OEMLABELDEV* out) {
    if (!printerName || !in || !out) {
        DbgW(DBG_ERROR, L"ERROR: convert_devmode(), ERROR_INVALID_PARAMETER.\r\n");
        return 0;
    }
    if (in->dwSignature != out->dwSignature) {
        DbgA(DBG_WARNING, "Unknown DEVMODE signature, pOemDevIn ignored.\r\n");
        fill_default_oemdev(printerName, out);
        return sizeof(OEMLABELDEV);
    }
    // Take the input first: the defaults must not overwrite it when both blocks are one.
    DWORD copied = in->dwSize < sizeof(OEMLABELDEV) ? in->dwSize : static_cast<DWORD>(sizeof(OEMLABELDEV));
    OEMLABELDEV saved;
    std::memcpy(&saved, in, copied);
    fill_default_oemdev(printerName, out);
    std::memcpy(out, &saved, copied);
    out->dwSize = sizeof(OEMLABELDEV);
    out->dwVersion = OEM_VERSION;
    return copied;
}

HRESULT hrOEMDevMode(DWORD mode, POEMDMPARAM param) {
    if (!param || mode < OEMDM_SIZE || mode > OEMDM_MERGE) {
        DbgW(DBG_ERROR, L"ERROR: DevMode(), ERROR_INVALID_PARAMETER.\r\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    WCHAR name[CCHDEVICENAME];
    PrinterNameOf(param->pPublicDMIn, name);
    PCWSTR printerName = param->pPublicDMIn ? name : nullptr;
    auto* in = static_cast<const OEMLABELDEV*>(param->pOEMDMIn);
    auto* out = static_cast<OEMLABELDEV*>(param->pOEMDMOut);
    switch (mode) {
    case OEMDM_SIZE:
        param->cbBufSize = sizeof(OEMLABELDEV);
        break;
    case OEMDM_DEFAULT:
        param->cbBufSize = fill_default_oemdev(printerName, out);
        break;
    case OEMDM_CONVERT:
        param->cbBufSize = convert_devmode(printerName, in, out);
        break;
    case OEMDM_MERGE:
        convert_devmode(printerName, in, out);
        SetOemDevHeader(out);
        break;
    }
    return S_OK;
}
