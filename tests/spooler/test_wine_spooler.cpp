// The same operations against the system's real spooler (Wine's here). Wine's spooler keeps
// drivers, printers and ports, but its AddFormW/DeleteFormW change no form list and it has no
// Standard TCP/IP port monitor: form contents and the "AddPort" command are covered with the
// in-memory spooler, and only the monitor's absence is checked here.
#include "Lib_InstallAssist_Legacy.h"
#include "Lib_Services.h"
#include "Lib_Spooler.h"
#include "Lib_String.h"
#include "SpoolerFixture.h"
#include "tcpxcv.h"
#include <memory>

using ::testing::ElementsAre;

namespace {
const wchar_t* const kDriver = L"Kovrin Spooler Test Driver";
const wchar_t* const kPrinter = L"Kovrin Spooler Test Printer";

class WineSpoolerTest : public ::testing::Test {
protected:
    WineSpoolerTest() : m_old(Services().spooler) { Services().spooler = &ProductionSpooler(); }
    ~WineSpoolerTest() override {
        Services().spooler = m_old;
        RemoveWinePrinter(kPrinter, kDriver);
        for (const std::wstring& f : m_copied) DeleteFileW(f.c_str());
    }
    std::wstring DriverDirectory() {
        std::wstring dir;
        EXPECT_EQ(ProductionSpooler().DriverDirectory(dir), 0u);
        return dir;
    }

    TLogCapture m_log;
    std::vector<std::wstring> m_copied;

private:
    ISpooler* m_old;
};

TEST_F(WineSpoolerTest, InstallsDriverAndPrinterThroughTheRealSpooler) {
    TPackage package;
    for (const wchar_t* f : {L"driver\\depends\\KOVRINTEST.GPD", L"driver\\depends\\KOVRINTEST.INI",
                             L"driver\\amd64\\KOVRINTESTUI.DLL"})
        package.Add(f);
    TTDriverInfo r = package.Record();
    r.DriverName = kDriver;
    r.DriverInstanceName = kPrinter;
    r.PortName = L"FILE:";
    r.Unidrv_DataFile = r.Unidrv_DriverFile = L"";
    r.Driver_DataFile = L"KOVRINTEST.GPD,KOVRINTEST.INI";
    r.Driver_DriverFile = L"KOVRINTESTUI.DLL";
    r.Driver_Forms = L"72 x 50mm[72,50]";
    const std::wstring dir = DriverDirectory();
    for (const wchar_t* f : {L"KOVRINTEST.GPD", L"KOVRINTEST.INI", L"KOVRINTESTUI.DLL"})
        m_copied.push_back(dir + L"\\" + f);

    ASSERT_EQ(InstallDriverPackage(r), 1);

    EXPECT_EQ(ContentOf(dir + L"\\KOVRINTEST.GPD"), "driver\\depends\\KOVRINTEST.GPD");
    EXPECT_EQ(ContentOf(dir + L"\\KOVRINTESTUI.DLL"), "driver\\amd64\\KOVRINTESTUI.DLL");

    HANDLE h = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter), &h, nullptr));
    DWORD needed = 0;
    GetPrinterW(h, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterW(h, 2, buffer.data(), needed, &needed));
    auto printer = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    EXPECT_STREQ(printer->pPortName, L"FILE:");
    EXPECT_STREQ(printer->pDriverName, kDriver);
    EXPECT_STREQ(printer->pPrintProcessor, L"WinPrint");
    EXPECT_STREQ(printer->pDatatype, L"RAW");
    EXPECT_TRUE(printer->Attributes & PRINTER_ATTRIBUTE_LOCAL);

    needed = 0;
    GetPrinterDriverW(h, nullptr, 3, nullptr, 0, &needed);
    buffer.assign(needed, 0);
    ASSERT_TRUE(GetPrinterDriverW(h, nullptr, 3, buffer.data(), needed, &needed));
    ClosePrinter(h);
    auto driver = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    const std::wstring v3 = dir + L"\\3\\";
    EXPECT_EQ(driver->cVersion, 3u);
    EXPECT_STREQ(driver->pEnvironment, L"Windows x64");
    EXPECT_EQ(std::wstring(driver->pDriverPath), v3 + L"UNIDRV.DLL");
    EXPECT_EQ(std::wstring(driver->pDataFile), v3 + L"KOVRINTEST.GPD");
    EXPECT_EQ(std::wstring(driver->pConfigFile), v3 + L"UNIDRVUI.DLL");
    std::vector<std::wstring> dependents;
    for (const wchar_t* p = driver->pDependentFiles; p && *p; p += wcslen(p) + 1) dependents.push_back(ExtractFileName(p));
    EXPECT_THAT(dependents, ElementsAre(L"UNIRES.DLL", L"KOVRINTEST.GPD", L"KOVRINTEST.INI", L"KOVRINTESTUI.DLL"));

    EXPECT_THAT(m_log.Lines(), ElementsAre(L"INFO:" + Utf8("添加打印驱动结果：0"),
                                           L"INFO:" + Utf8("已成功添加打印驱动实例：") + kPrinter));
}

TEST_F(WineSpoolerTest, PrinterForAnUnknownDriverReturnsTheSpoolersCode) {
    TTDriverInfo r;
    r.DriverName = L"Kovrin No Such Driver";
    r.DriverInstanceName = kPrinter;
    r.PortName = L"FILE:";
    EXPECT_EQ(AddPrinterInstance(r), (DWORD)ERROR_UNKNOWN_PRINTER_DRIVER);
    EXPECT_THAT(m_log.Lines(), ElementsAre(L"INFO:" + Utf8("添加打印驱动实例失败：1797")));
}

TEST_F(WineSpoolerTest, FormCallsReachTheServer) {
    // Wine accepts both calls without keeping forms; this shows the handles and levels are right.
    EXPECT_EQ(DeleteLabelForms(), 4);
    TTDriverInfo r;
    r.Driver_Forms = L"72 x 50mm[72,50]";
    EXPECT_EQ(AddLabelForms(r), 1);
}

TEST_F(WineSpoolerTest, PortListIsReadWithLetterCase) {
    EXPECT_TRUE(PortExists(L"FILE:"));
    EXPECT_TRUE(PortExists(L"LPT1:"));
    EXPECT_FALSE(PortExists(L"file:"));
    EXPECT_FALSE(PortExists(L"127.0.0.1"));
}

TEST_F(WineSpoolerTest, WithoutTheTcpIpMonitorNoPortIsCreated) {
    SetLastError(0);
    EXPECT_FALSE(AddTcpIpPort(L"127.0.0.1", L"127.0.0.1"));
    EXPECT_NE(GetLastError(), 0u) << "the failed open's code is left for the caller";
    EXPECT_FALSE(PortExists(L"127.0.0.1"));
}
}  // namespace
