// The three operations against the system's real spooler (Wine's here), with a printer on
// Wine's PostScript driver described by a small PPD file.
#include "Lib_Error.h"
#include "Lib_Services.h"
#include "Lib_Spooler.h"
#include "Lib_String.h"
#include "PrinterFixture.h"
#include "SpoolerFixture.h"
#include "TestUtil.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>

using ::testing::ElementsAre;

namespace {
const wchar_t* const kDriver = L"Kovrin Printer Test PS";
const wchar_t* const kPrinter = L"Kovrin Printer Test";

// Two label sizes in points (72 x 50 mm and 72 x 25 mm); the first is the default.
const char* const kPpd =
    "*PPD-Adobe: \"4.3\"\r\n"
    "*FormatVersion: \"4.3\"\r\n"
    "*FileVersion: \"1.0\"\r\n"
    "*LanguageVersion: English\r\n"
    "*LanguageEncoding: ISOLatin1\r\n"
    "*PCFileName: \"KOVRIN.PPD\"\r\n"
    "*Manufacturer: \"Kovrin\"\r\n"
    "*Product: \"(Kovrin Test)\"\r\n"
    "*ModelName: \"Kovrin Test\"\r\n"
    "*NickName: \"Kovrin Test\"\r\n"
    "*PSVersion: \"(3010.000) 0\"\r\n"
    "*LanguageLevel: \"3\"\r\n"
    "*ColorDevice: False\r\n"
    "*DefaultResolution: 203dpi\r\n"
    "*OpenUI *PageSize: PickOne\r\n"
    "*DefaultPageSize: L72x50\r\n"
    "*PageSize L72x50/72 x 50mm: \"<</PageSize[204 142]>>setpagedevice\"\r\n"
    "*PageSize L72x25/72 x 25mm: \"<</PageSize[204 71]>>setpagedevice\"\r\n"
    "*CloseUI: *PageSize\r\n"
    "*DefaultImageableArea: L72x50\r\n"
    "*ImageableArea L72x50/72 x 50mm: \"0 0 204 142\"\r\n"
    "*ImageableArea L72x25/72 x 25mm: \"0 0 204 71\"\r\n"
    "*DefaultPaperDimension: L72x50\r\n"
    "*PaperDimension L72x50/72 x 50mm: \"204 142\"\r\n"
    "*PaperDimension L72x25/72 x 25mm: \"204 71\"\r\n";

class WinePrinterTest : public ::testing::Test {
protected:
    WinePrinterTest() : m_old(Services().spooler) {
        Services().spooler = &ProductionSpooler();
        m_ppd = m_dir.File(L"KOVRIN.PPD");
        m_output = m_dir.File(L"page.ps");
        WriteBytes(m_ppd, kPpd);
        DRIVER_INFO_3W driver = {};
        driver.cVersion = 3;
        driver.pName = const_cast<LPWSTR>(kDriver);
        driver.pDriverPath = const_cast<LPWSTR>(L"wineps.drv");
        driver.pDataFile = &m_ppd[0];
        driver.pConfigFile = const_cast<LPWSTR>(L"wineps.drv");
        driver.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
        m_driverAdded = AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver),
                                            APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY) != FALSE;
        if (!m_driverAdded) m_setupError = GetLastError();
        PRINTER_INFO_2W printer = {};
        printer.pPrinterName = const_cast<LPWSTR>(kPrinter);
        printer.pPortName = &m_output[0];
        printer.pDriverName = const_cast<LPWSTR>(kDriver);
        printer.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
        printer.pDatatype = const_cast<LPWSTR>(L"RAW");
        printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
        if (h) ClosePrinter(h);
        else if (!m_setupError) m_setupError = GetLastError();
    }
    ~WinePrinterTest() override {
        Services().spooler = m_old;
        RemoveWinePrinter(kPrinter, kDriver);
    }

    TTempDir m_dir;
    std::wstring m_ppd, m_output;
    bool m_driverAdded = false;
    DWORD m_setupError = 0;

private:
    ISpooler* m_old;
};

// The printer's stored device mode through the spooler itself.
std::vector<BYTE> StoredDevMode() {
    HANDLE h = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(kPrinter), &h, nullptr)) return {};
    std::vector<BYTE> info;
    DWORD e = ProductionSpooler().GetPrinterInfo2(h, info);
    ClosePrinter(h);
    const PRINTER_INFO_2W* record = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    if (e || !record->pDevMode) return {};
    const BYTE* dm = reinterpret_cast<const BYTE*>(record->pDevMode);
    std::vector<BYTE> copy(dm, dm + record->pDevMode->dmSize + record->pDevMode->dmDriverExtra);
    // Wine leaves whatever was in memory after the device name's terminator.
    DEVMODEW* m = reinterpret_cast<DEVMODEW*>(copy.data());
    size_t used = wcsnlen(m->dmDeviceName, CCHDEVICENAME);
    std::fill(m->dmDeviceName + used, m->dmDeviceName + CCHDEVICENAME, L'\0');
    return copy;
}

// Stores the device mode with a label block added after the driver's own private part, as
// the driver UI plug-in does on Windows.
bool StoreWithLabelBlock(const OEMLABELDEV& block) {
    std::vector<BYTE> dm = StoredDevMode();
    if (dm.empty()) return false;
    std::vector<BYTE> b = BlockBytes(block);
    dm.insert(dm.end(), b.begin(), b.end());
    reinterpret_cast<DEVMODEW*>(dm.data())->dmDriverExtra += sizeof(OEMLABELDEV);
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<LPWSTR>(kPrinter), &h, &all)) return false;
    std::vector<BYTE> info;
    bool ok = ProductionSpooler().GetPrinterInfo2(h, info) == 0;
    if (ok) {
        PRINTER_INFO_2W* record = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
        record->pDevMode = reinterpret_cast<DEVMODEW*>(dm.data());
        ok = SetPrinterW(h, 2, info.data(), 0) != FALSE;
    }
    ClosePrinter(h);
    return ok && StoredDevMode() == dm;
}

TEST_F(WinePrinterTest, PaperListComesFromTheDriverWithItsCurrentPaper) {
    ASSERT_EQ(m_setupError, 0u);
    std::vector<std::wstring> list;
    // 204 x 142 points: the driver answers in whole tenths of a millimetre, cut not rounded.
    EXPECT_EQ(GetPaperSizes(kPrinter, list), 0);
    EXPECT_THAT(list, ElementsAre(L"72 x 50mm|719|500", L"72 x 25mm|719|250"));

    std::vector<std::wstring> untouched = {L"kept"};
    EXPECT_EQ(GetPaperSizes(L"Kovrin No Such Printer", untouched), -1);
    EXPECT_THAT(untouched, ElementsAre(L"kept"));
}

TEST_F(WinePrinterTest, LabelDefaultsReachTheStoredSettings) {
    ASSERT_EQ(m_setupError, 0u);
    ASSERT_TRUE(StoreWithLabelBlock({24, kLabelDevSignature, 1, 0, 4, 14, -3, 7, 3}));
    std::vector<BYTE> expected = StoredDevMode();
    const BYTE fields[] = {2, 0, 2, 0, 5, 0};
    std::memcpy(&expected[expected.size() - 12], fields, sizeof(fields));

    EXPECT_TRUE(SetPrinterDefaults(kPrinter, 2, 2, 5));
    EXPECT_EQ(StoredDevMode(), expected);
}

TEST_F(WinePrinterTest, SettingsWithoutALabelBlockAreLeftAlone) {
    ASSERT_EQ(m_setupError, 0u);
    const std::vector<BYTE> before = StoredDevMode();
    ASSERT_FALSE(before.empty());
    struct {
        const wchar_t* printer;
        const wchar_t* message;
    } cases[] = {{kPrinter, L"Set printer fail: 13"}, {L"Kovrin No Such Printer", L"Error 1801"}};
    for (const auto& c : cases) {
        try {
            SetPrinterDefaults(c.printer, 2, 2, 5);
            ADD_FAILURE() << "no error";
        } catch (const EKovrinError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_EQ(StoredDevMode(), before) << "the PostScript driver's own data is not overwritten";
}

class WineTestPageTest : public WinePrinterTest {
protected:
    // What reached the printer's port; Wine hands the job over when the document ends.
    std::string Output() {
        return GetFileAttributesW(m_output.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : ReadBytes(m_output);
    }
};

TEST_F(WineTestPageTest, PageReachesThePortAsPostScriptWithTheBitmap) {
    ASSERT_EQ(m_setupError, 0u);
    ASSERT_TRUE(PrintTestPage(L"KOVRIN printer TEST", L"This is a test printout from your ", L"Ondrix printer.",
                              576, 400, 28));
    const std::string ps = Output();
    EXPECT_EQ(ps.compare(0, 11, "%!PS-Adobe-"), 0) << ps.substr(0, 40);
    EXPECT_NE(ps.find("%%Title: Test page"), std::string::npos);
    EXPECT_NE(ps.find("%%Page: 1 1"), std::string::npos);
    EXPECT_NE(ps.find("image"), std::string::npos) << "the bitmap is drawn";
    EXPECT_NE(ps.find("showpage"), std::string::npos);
}

TEST_F(WineTestPageTest, AnUnknownNameGoesToTheDefaultPrinter) {
    ASSERT_EQ(m_setupError, 0u);
    ASSERT_TRUE(SetDefaultPrinterW(kPrinter));
    EXPECT_TRUE(PrintTestPage(L"Kovrin No Such Printer", L"one", L"two", 200, 100, 10));
    EXPECT_NE(Output().find("%%Page: 1 1"), std::string::npos);
}
}  // namespace
