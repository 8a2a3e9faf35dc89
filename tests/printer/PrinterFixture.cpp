#include "PrinterFixture.h"
#include <cstring>
#include <cwchar>

std::vector<BYTE> MakeDevMode(const std::vector<BYTE>& privatePart, DWORD fields, const wchar_t* formName,
                              short width, short length) {
    DEVMODEW dm = {};
    wcsncpy(dm.dmDeviceName, L"Label", CCHDEVICENAME - 1);
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmDriverExtra = (WORD)privatePart.size();
    dm.dmFields = fields;
    dm.dmPaperWidth = width;
    dm.dmPaperLength = length;
    wcsncpy(dm.dmFormName, formName, CCHFORMNAME);  // a name of 32 units keeps no terminator
    std::vector<BYTE> bytes(sizeof(dm) + privatePart.size());
    std::memcpy(bytes.data(), &dm, sizeof(dm));
    if (!privatePart.empty()) std::memcpy(bytes.data() + sizeof(dm), privatePart.data(), privatePart.size());
    return bytes;
}

std::vector<BYTE> BlockBytes(const OEMLABELDEV& block) {
    const BYTE* b = reinterpret_cast<const BYTE*>(&block);
    return std::vector<BYTE>(b, b + sizeof(block));
}

std::vector<BYTE> DriverDataAndBlock(const OEMLABELDEV& block, size_t driverBytes) {
    std::vector<BYTE> part(driverBytes, 0xA5);
    std::vector<BYTE> b = BlockBytes(block);
    part.insert(part.end(), b.begin(), b.end());
    return part;
}
