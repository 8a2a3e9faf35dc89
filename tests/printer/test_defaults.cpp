// Label defaults written into a printer's stored document settings (in-memory spooler).
#include "Lib_Error.h"
#include "Lib_String.h"
#include "PrinterFixture.h"
#include "SpoolerFixture.h"
#include <cstring>
#include <functional>

using ::testing::ElementsAre;

namespace {
const OEMLABELDEV kStored = {24, kLabelDevSignature, 1, 0, 4, 14, -3, 7, 3};

class DefaultsTest : public SpoolerTest {
protected:
    DefaultsTest() {
        TFakePrinter p;
        p.name = L"Ondrix Printer";
        p.devMode = MakeDevMode(DriverDataAndBlock(kStored));
        m_spooler.printers.push_back(p);
    }
    std::vector<BYTE>& Stored() { return m_spooler.printers[0].devMode; }
};

TEST_F(DefaultsTest, WritesTheFirstThreeLabelFieldsAndNothingElse) {
    struct {
        SHORT type, speed, density;
        BYTE expected[6];  // little-endian words
    } cases[] = {
        {2, 2, 5, {2, 0, 2, 0, 5, 0}},
        {-2, 0x1234, 0, {0xFE, 0xFF, 0x34, 0x12, 0, 0}},  // stored as given, never judged
    };
    for (const auto& c : cases) {
        Stored() = MakeDevMode(DriverDataAndBlock(kStored));
        std::vector<BYTE> expected = Stored();
        std::memcpy(&expected[expected.size() - 12], c.expected, 6);

        EXPECT_TRUE(SetPrinterDefaults(L"Ondrix Printer", c.type, c.speed, c.density));
        EXPECT_EQ(Stored(), expected) << c.type;
    }
    EXPECT_TRUE(m_spooler.openedWithDefaults);
    EXPECT_EQ(m_spooler.openDataType, L"RAW");
    EXPECT_FALSE(m_spooler.openDevMode);
    EXPECT_EQ(m_spooler.openAccess, 0xF000Cu);
    EXPECT_THAT(std::vector<std::wstring>(m_spooler.calls.begin(), m_spooler.calls.begin() + 3),
                ElementsAre(L"OpenPrinter:Ondrix Printer", L"GetPrinter", L"SetPrinter"));
}

TEST_F(DefaultsTest, EveryFailureRaisesItsMessageAndStoresNothing) {
    OEMLABELDEV foreign = kStored;
    foreign.dwSignature = 0x12345678;
    struct {
        const char* what;
        std::function<void(TFakeSpooler&)> arrange;
        const wchar_t* printer;
        const wchar_t* message;
    } cases[] = {
        {"printer not installed", [](TFakeSpooler&) {}, L"No Such Printer", L"Error 1801"},
        {"no right to administer it", [](TFakeSpooler& s) { s.failures[L"OpenPrinter"] = ERROR_ACCESS_DENIED; },
         L"Ondrix Printer", L"Error 5"},
        {"settings cannot be read",
         [](TFakeSpooler& s) { s.failures[L"GetPrinter"] = ERROR_NOT_ENOUGH_MEMORY; }, L"Ondrix Printer",
         L"Set printer fail: 8"},
        {"settings cannot be stored", [](TFakeSpooler& s) { s.failures[L"SetPrinter"] = ERROR_ACCESS_DENIED; },
         L"Ondrix Printer", L"Set printer fail: 5"},
        {"printer keeps no device mode", [](TFakeSpooler& s) { s.printers[0].devMode.clear(); }, L"Ondrix Printer",
         L"Set printer fail: 13"},
        {"private part shorter than the block",
         [](TFakeSpooler& s) { s.printers[0].devMode = MakeDevMode(std::vector<BYTE>(20, 0x53)); },
         L"Ondrix Printer", L"Set printer fail: 13"},
        {"last block is another driver's",
         [&](TFakeSpooler& s) { s.printers[0].devMode = MakeDevMode(DriverDataAndBlock(foreign)); },
         L"Ondrix Printer", L"Set printer fail: 13"},
        {"device mode claims more bytes than it has",
         [](TFakeSpooler& s) {
             reinterpret_cast<DEVMODEW*>(s.printers[0].devMode.data())->dmDriverExtra = 60000;
         },
         L"Ondrix Printer", L"Set printer fail: 13"},
    };
    for (const auto& c : cases) {
        Stored() = MakeDevMode(DriverDataAndBlock(kStored));
        m_spooler.failures.clear();
        m_spooler.calls.clear();
        c.arrange(m_spooler);
        const std::vector<BYTE> before = Stored();
        try {
            SetPrinterDefaults(c.printer, 2, 2, 5);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EKovrinError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
        EXPECT_EQ(Stored(), before) << c.what;
        EXPECT_EQ(m_spooler.OpenHandles(), 0u) << c.what;
    }
}
}  // namespace
