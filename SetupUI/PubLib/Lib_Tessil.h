// Binding to the USB helper library Tessil.dll: loaded from the program's folder
// by full path at the first call, each function resolved at its own first call.
#pragma once
#include "Lib_Services.h"

class TTessilLibrary : public IUsbHelper {
public:
    explicit TTessilLibrary(std::wstring dllPath = std::wstring());  // empty: program folder + "Tessil.dll"
    ~TTessilLibrary() override;
    TTessilLibrary(const TTessilLibrary&) = delete;
    TTessilLibrary& operator=(const TTessilLibrary&) = delete;

    int USBPrinterEnum() override;
    std::wstring GetPrinterFileName(int index) override;
    void ReadPrinterID(int index, std::wstring& port, std::wstring& deviceId) override;
    bool Drv_IsWow64() override;
    bool Drv_IsIsExistDriverInstance(const std::wstring& printerName) override;
    void Drv_OfflineInstallPrinterDriver(const std::wstring& inf, const std::wstring& driverName,
                                         const std::wstring& printerName, const std::wstring& portName) override;

private:
    FARPROC Resolve(const char* name);
    std::wstring m_path;
    HMODULE m_module = nullptr;
};
