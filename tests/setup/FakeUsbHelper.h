// An in-memory USB helper library for tests that must not touch Tessil.dll.
#pragma once
#include "Lib_Services.h"
#include <set>
#include <vector>

struct TFakePrinter {
    std::wstring port, deviceId, path;
};

class TFakeUsbHelper : public IUsbHelper {
public:
    bool wow64 = false;
    std::vector<TFakePrinter> printers;
    std::set<std::wstring> installed;
    std::vector<std::wstring> calls;

    int USBPrinterEnum() override { calls.push_back(L"USBPrinterEnum"); return (int)printers.size(); }
    std::wstring GetPrinterFileName(int i) override { calls.push_back(L"GetPrinterFileName"); return printers.at(i).path; }
    void ReadPrinterID(int i, std::wstring& port, std::wstring& id) override {
        calls.push_back(L"ReadPrinterID");
        port = printers.at(i).port;
        id = printers.at(i).deviceId;
    }
    bool Drv_IsWow64() override { return wow64; }
    bool Drv_IsIsExistDriverInstance(const std::wstring& n) override { return installed.count(n) != 0; }
    void Drv_OfflineInstallPrinterDriver(const std::wstring&, const std::wstring&, const std::wstring& printer,
                                         const std::wstring&) override {
        installed.insert(printer);
    }
};

class TFakeSystemInfo : public ISystemInfo {
public:
    LANGID langId = 0x0409;
    std::wstring tempPath;
    LANGID UserDefaultLangID() override { return langId; }
    std::wstring TempPath() override { return tempPath; }
};

// Puts fakes into Services() for one test and restores the production set afterwards.
class TServicesScope {
public:
    TServicesScope() : m_saved(Services()) {}
    ~TServicesScope() { Services() = m_saved; }

private:
    TServices m_saved;
};
