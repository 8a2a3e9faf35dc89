// The installation as a user meets it: Next on the port page, the installing page, the result
// page with its printer, paper sizes and test page, against an in-memory spooler that plays the
// driver and a helper library that installs into it.
#include "Application.h"
#include "FakeSpooler.h"
#include "InstallAssist.h"
#include "Lib_Lang.h"
#include "Lib_String.h"
#include "PrinterFixture.h"
#include "WizardFixture.h"
#include <commctrl.h>
#include <gmock/gmock.h>
#include <functional>
#include <set>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
const char* const kPackageIni =
    "[Driver01]\nPrinterType=VKT\nPrinterName=Ondrix Label Printer 300\nDPI=300\nDriverInstallType=1\n"
    "[Driver02]\nPrinterType=VKT\nPrinterName=Ondrix Label Printer 203\nDPI=203\nDriverInstallType=1\n";

// What page 4 showed when the installation ran.
struct TSeen {
    int progress = -1;
    std::wstring title;
    bool nextEnabled = true;
};

// Printers added here come with the driver's label block and two papers, the second current.
class TDriverSpooler : public TFakeSpooler {
public:
    DWORD AddPrinterInfo2(PRINTER_INFO_2W& info, TPrinterHandle& printer) override {
        if (onInstall) onInstall();
        DWORD e = TFakeSpooler::AddPrinterInfo2(info, printer);
        if (!e) Equip(printers.back());
        return e;
    }
    void AddPrinter(const std::wstring& name, const std::wstring& port) {
        TFakePrinter p;
        p.name = name;
        p.port = port;
        Equip(p);
        printers.push_back(p);
    }
    bool Has(const std::wstring& name) const {
        for (const TFakePrinter& p : printers)
            if (p.name == name) return true;
        return false;
    }
    const OEMLABELDEV* Block(const std::wstring& name) const {
        for (const TFakePrinter& p : printers)
            if (p.name == name && p.devMode.size() >= sizeof(DEVMODEW) + sizeof(OEMLABELDEV))
                return reinterpret_cast<const OEMLABELDEV*>(p.devMode.data() + p.devMode.size() - sizeof(OEMLABELDEV));
        return nullptr;
    }
    bool withLabelBlock = true;
    std::function<void()> onInstall;

private:
    void Equip(TFakePrinter& p) const {
        OEMLABELDEV block = {sizeof(OEMLABELDEV), kLabelDevSignature, 1, 0, 0, 0, 0, 0, 0};
        p.devMode = MakeDevMode(withLabelBlock ? DriverDataAndBlock(block) : std::vector<BYTE>(8, 0x11),
                                DM_PAPERWIDTH | DM_PAPERLENGTH, L"", 300, 200);
        p.paperNames = {L"40 x 30mm", L"30 x 20mm"};
        p.paperSizes = {{400, 300}, {300, 200}};
    }
};

// The helper library: printers are those of the spooler plus those the test names; its
// installation adds the printer to the spooler unless told to install nothing.
class TInstallingUsbHelper : public TUsbHelperWithPrinters {
public:
    TInstallingUsbHelper(const std::wstring& dll, TDriverSpooler& spooler) : TUsbHelperWithPrinters(dll), m_spooler(spooler) {}
    bool Drv_IsIsExistDriverInstance(const std::wstring& name) override {
        return installed.count(name) > 0 || m_spooler.Has(name);
    }
    void Drv_OfflineInstallPrinterDriver(const std::wstring& inf, const std::wstring& driverName,
                                         const std::wstring& printerName, const std::wstring& portName) override {
        offline.push_back(inf + L"|" + driverName + L"|" + printerName + L"|" + portName);
        if (m_spooler.onInstall) m_spooler.onInstall();
        if (installs) m_spooler.AddPrinter(printerName, portName);
    }
    bool installs = true;
    std::vector<std::wstring> offline;

private:
    TDriverSpooler& m_spooler;
};

class InstallTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        helper = new TInstallingUsbHelper(programFolder + L"\\Tessil.dll", spooler);
        usb.reset(helper);
        Services().usb = usb.get();
        Services().spooler = &spooler;
        spooler.onInstall = [this] {
            seen.progress = Progress();
            seen.title = Robot::Text(Ctl(L"lbl04_Title"));
            seen.nextEnabled = Robot::Enabled(Ctl(L"btn_Next"));
        };
    }
    // Page 3 with the 203 dpi printer on USB001, then Next with the default printer name.
    void Install() {
        GoToPortPage();
        ASSERT_TRUE(Robot::Type(Ctl(L"edt03_PrinterDriverName"), L"Ondrix Printer"));
        clock.pauses.clear();
        ASSERT_TRUE(Robot::Click(Ctl(L"btn_Next")));
    }
    int Progress() { return (int)SendMessageW(Ctl(L"pb04_Installing"), PBM_GETPOS, 0, 0); }
    std::wstring BoxTexts() {
        std::wstring all;
        for (const Robot::TMessageBox& b : boxes.boxes) all += b.caption + L": " + b.text + L"\n";
        return all;
    }
    bool Logged(const std::wstring& line) { return LogText().find(line) != std::wstring::npos; }

    TDriverSpooler spooler;
    TInstallingUsbHelper* helper = nullptr;
    TSeen seen;
};

TEST_F(InstallTest, HelperLibraryInstallationShowsThePrinterWritesDefaultsAndFillsThePaperBox) {
    Install();
    ASSERT_TRUE(PageShowing(L"ts05_Result")) << BoxTexts();
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
    EXPECT_THAT(helper->offline, ElementsAre(programFolder + L"\\|Ondrix Label Printer 203|Ondrix Printer|USB001"));
    EXPECT_EQ(L"Printer installed: Ondrix Printer, port: USB001", Robot::Text(Ctl(L"lbl05_StepInfo")));
    EXPECT_THAT(Robot::Items(Ctl(L"cbb05_PrinterName")), ElementsAre(L"Ondrix Printer"));
    EXPECT_EQ(L"Ondrix Printer", Robot::Text(Ctl(L"cbb05_PrinterName")));
    const OEMLABELDEV* block = spooler.Block(L"Ondrix Printer");
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(2, block->sPaperType);
    EXPECT_EQ(2, block->sSpeed);
    EXPECT_EQ(5, block->sDensity);
    EXPECT_THAT(Robot::Items(Ctl(L"cbb05_PaperSize")), ElementsAre(L"40 x 30mm", L"30 x 20mm"));
    EXPECT_EQ(L"30 x 20mm", Robot::Text(Ctl(L"cbb05_PaperSize")));
    EXPECT_EQ(L"Close", Robot::Text(Ctl(L"btn_Next")));
    EXPECT_TRUE(Robot::Enabled(Ctl(L"btn_Next")));
    EXPECT_FALSE(Robot::Visible(Ctl(L"btn_Prev")));
    EXPECT_EQ(100, Progress());
    // While installing: progress 30, the installing title, Next disabled; no waits in a USB installation.
    EXPECT_EQ(30, seen.progress);
    EXPECT_EQ(L"Installing print driver......", seen.title);
    EXPECT_FALSE(seen.nextEnabled);
    EXPECT_TRUE(clock.pauses.empty());

    const std::wstring log = LogText();
    for (const wchar_t* line : {L"[ INFO] 已选择USB，端口：USB001", L"[ INFO] 准备安装打印驱动：Ondrix Label Printer 203",
                                L"[ INFO] 已安装打印驱动（3），实例名称：Ondrix Printer",
                                L"[ INFO] 驱动安装成功，设置默认参数：2 2 5"})
        EXPECT_NE(std::wstring::npos, log.find(line)) << WideToUtf8(line);
    EXPECT_EQ(std::wstring::npos, log.find(L"WiFi"));
    EXPECT_EQ(std::wstring::npos, log.find(L"驱动安装失败"));
}

TEST_F(InstallTest, TestPagePrintsOnThePaperSelectedWhenTheBoxWasFilled) {
    Install();
    ASSERT_EQ(L"30 x 20mm", Robot::Text(Ctl(L"cbb05_PaperSize")));
    // Another paper chosen later does not change the test page's size.
    SendMessageW(Ctl(L"cbb05_PaperSize"), CB_SETCURSEL, 0, 0);
    for (int press = 0; press < 2; ++press) {
        spooler.calls.clear();
        ASSERT_TRUE(Robot::Click(Ctl(L"btn05_TestPage")));
        EXPECT_THAT(spooler.calls, ::testing::Contains(L"CreateDC:Ondrix Printer"));
        // 300 x 200 (the page covers its right and bottom edge too), not the 400 x 300 chosen later.
        EXPECT_EQ(RGB(255, 255, 255), spooler.PagePixel(300, 200));
        EXPECT_EQ(TFakeSpooler::kUnprintedColour, spooler.PagePixel(301, 0));
        EXPECT_EQ(TFakeSpooler::kUnprintedColour, spooler.PagePixel(0, 201));
        EXPECT_TRUE(PageShowing(L"ts05_Result"));
    }
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
}

TEST_F(InstallTest, PackageInstallationThroughTheSpoolerUsesTheFirstSectionOfTheResolution) {
    WriteIni(std::string(kPackageIni) +
             "[Driver03]\nPrinterType=VKT\nPrinterName=Later 203\nDPI=203\nDriverInstallType=1\n");
    Install();
    ASSERT_TRUE(PageShowing(L"ts05_Result")) << BoxTexts();
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
    EXPECT_THAT(helper->offline, IsEmpty());
    ASSERT_EQ(1u, spooler.drivers.size());
    EXPECT_EQ(L"Ondrix Label Printer 203", spooler.drivers[0].name);
    ASSERT_EQ(1u, spooler.printers.size());
    EXPECT_EQ(L"Ondrix Printer", spooler.printers[0].name);
    EXPECT_EQ(L"USB001", spooler.printers[0].port);
    EXPECT_EQ(L"Printer installed: Ondrix Printer, port: USB001", Robot::Text(Ctl(L"lbl05_StepInfo")));
    EXPECT_THAT(Robot::Items(Ctl(L"cbb05_PaperSize")), ElementsAre(L"40 x 30mm", L"30 x 20mm"));
    EXPECT_EQ(30, seen.progress);
    EXPECT_TRUE(Logged(L"已安装打印驱动（1），实例名称：Ondrix Printer"));
}

// Every failing installation: an error box with the result text, page 5 with an empty printer
// box and no paper sizes, no defaults written. A package failure with Windows error 2 or 3 must
// not read as the success codes 2 and 3.
TEST_F(InstallTest, FailedInstallationsShowTheirTextInAnErrorBoxAndNeverSuccess) {
    const struct {
        const char* what;
        const char* ini;
        DWORD addDriverError;
        bool helperInstalls;
        const wchar_t* text;
    } cases[] = {
        {"helper installs nothing", kDemoIni, 0, false, L"Adding print driver failed"},
        {"package: access denied", kPackageIni, ERROR_ACCESS_DENIED, true,
         L"Installation cannot proceed, process execution error: 5"},
        {"package: error 2", kPackageIni, ERROR_FILE_NOT_FOUND, true,
         L"Installation cannot proceed, process execution error: 2"},
        {"package: error 3", kPackageIni, ERROR_PATH_NOT_FOUND, true,
         L"Installation cannot proceed, process execution error: 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        spooler.printers.clear();
        spooler.drivers.clear();
        spooler.forms.clear();
        WriteIni(c.ini);
        spooler.addDriverError = c.addDriverError;
        helper->installs = c.helperInstalls;
        Install();
        ASSERT_TRUE(PageShowing(L"ts05_Result"));
        ASSERT_EQ(1u, boxes.boxes.size()) << BoxTexts();
        EXPECT_EQ(c.text, boxes.boxes[0].text);
        EXPECT_EQ(L"Error", boxes.boxes[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.boxes[0].type);
        EXPECT_THAT(Robot::Items(Ctl(L"cbb05_PrinterName")), IsEmpty());
        EXPECT_THAT(Robot::Items(Ctl(L"cbb05_PaperSize")), IsEmpty());
        EXPECT_NE(Robot::Text(Ctl(L"lbl05_StepInfo")).substr(0, 17), L"Printer installed");
        EXPECT_TRUE(Logged(std::wstring(L"[ INFO] 驱动安装失败：") + c.text));
        EXPECT_FALSE(Logged(L"驱动安装成功"));
        EXPECT_EQ(100, Progress());
    }
}

TEST_F(InstallTest, NoSectionForThePrintersResolutionStopsOnTheInstallingPage) {
    WriteIni("[Driver01]\nPrinterType=VKT\nPrinterName=Ondrix Label Printer 300\nDPI=300\n");
    Install();
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(L"Incorrect printer resolution(203) parameter", boxes.boxes[0].text);
    EXPECT_EQ(L"Error", boxes.boxes[0].caption);
    EXPECT_TRUE(PageShowing(L"ts04_Install"));
    EXPECT_FALSE(Robot::Enabled(Ctl(L"btn_Next")));
    EXPECT_FALSE(Robot::Visible(Ctl(L"btn_Prev")));
    EXPECT_THAT(helper->offline, IsEmpty());
    EXPECT_FALSE(Logged(L"已选择USB"));
}

TEST_F(InstallTest, DefaultsThatCannotBeWrittenEndTheClickWithThePaperBoxEmpty) {
    spooler.withLabelBlock = false;
    Install();
    ASSERT_TRUE(PageShowing(L"ts05_Result"));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(Application::Title(), boxes.boxes[0].caption);
    EXPECT_EQ(0u, boxes.boxes[0].text.find(L"Set printer fail: ")) << WideToUtf8(boxes.boxes[0].text);
    EXPECT_THAT(Robot::Items(Ctl(L"cbb05_PrinterName")), ElementsAre(L"Ondrix Printer"));
    EXPECT_THAT(Robot::Items(Ctl(L"cbb05_PaperSize")), IsEmpty());
    EXPECT_EQ(90, Progress());
}

TEST_F(InstallTest, CtrlDoubleClickOnThePictureInstallsThePackageOnUsb001Silently) {
    GoToPortPage();
    ASSERT_TRUE(Robot::Type(Ctl(L"edt03_PrinterDriverName"), L"Hidden One"));
    ASSERT_TRUE(Robot::DoubleClick(Ctl(L"img1")));
    EXPECT_TRUE(spooler.printers.empty()) << "without Ctrl nothing happens";

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    const bool clicked = Robot::DoubleClick(Ctl(L"img1"));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ASSERT_TRUE(clicked);
    ASSERT_EQ(1u, spooler.printers.size());
    EXPECT_EQ(L"Hidden One", spooler.printers[0].name);
    EXPECT_EQ(L"USB001", spooler.printers[0].port);
    EXPECT_EQ(L"Ondrix Label Printer 203", spooler.printers[0].driver);
    EXPECT_TRUE(PageShowing(L"ts03_Port"));
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
}

TEST_F(InstallTest, ResultTextsByCode) {
    Open();
    const struct {
        long long code;
        const wchar_t* text;
    } cases[] = {
        {1, L"Printer installed: P, port: USB001"},
        {2, L"Printer installed: P, port: USB001, please restart the computer"},
        {3, L"Printer installed: P, port: USB001"},
        {-1, L"Installation cannot proceed, process execution error: 1234"},
        {-2, L"Adding print driver failed"},
        {-2147483647LL, L"Online installation failed, signature authorization not obtained!"},
        {(long long)HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), L"Installation cannot proceed, process execution error: 5"},
        {0, L"Unknow rrror"},
        {7, L"Unknow rrror"},
        {0x100000001LL, L"Unknow rrror"},  // low half 1, yet no success
    };
    for (const auto& c : cases) {
        SetLastError(1234);
        EXPECT_EQ(c.text, InstallResultText(c.code, L"P", L"USB001")) << c.code;
    }
}

// The helper-library installation on its own: copy names, the port default, the outcome.
class CopyNameTest : public ::testing::Test {
protected:
    struct TLang : ISystemInfo {
        LANGID id = 0x0409;
        LANGID UserDefaultLangID() override { return id; }
        std::wstring TempPath() override { return L"C:\\"; }
    };
    struct THelper : IUsbHelper {
        std::set<std::wstring> printers;
        std::vector<std::wstring> installedAs;
        bool installs = true;
        int USBPrinterEnum() override { return 0; }
        std::wstring GetPrinterFileName(int) override { return L""; }
        void ReadPrinterID(int, std::wstring&, std::wstring&) override {}
        bool Drv_IsWow64() override { return true; }
        bool Drv_IsIsExistDriverInstance(const std::wstring& name) override { return printers.count(name) > 0; }
        void Drv_OfflineInstallPrinterDriver(const std::wstring&, const std::wstring&, const std::wstring& name,
                                             const std::wstring& port) override {
            installedAs.push_back(name + L"@" + port);
            if (installs) printers.insert(name);
        }
    };
    void SetUp() override {
        m_saved = Services();
        Services().usb = &helper;
        Services().system = &lang;
    }
    void TearDown() override { Services() = m_saved; }
    THelper helper;
    TLang lang;
    TServices m_saved{};
};

TEST_F(CopyNameTest, NameInUseGetsTheFirstFreeCopyNumberInTheUsersLanguage) {
    const struct {
        const char* what;
        LANGID lang;
        std::wstring name;
        int copiesInUse;  // "name" plus so many copies exist already
        std::wstring expected;
    } cases[] = {
        {"free name", 0x0409, L"Ondrix Printer", -1, L"Ondrix Printer"},
        {"English", 0x0409, L"Ondrix Printer", 0, L"Ondrix Printer(copy 1)"},
        {"English, two copies in use", 0x0409, L"Ondrix Printer", 2, L"Ondrix Printer(copy 3)"},
        {"Chinese", 0x0804, L"Ondrix Printer", 0, L"Ondrix Printer (\x526F\x672C 1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        helper.printers.clear();
        helper.installedAs.clear();
        lang.id = c.lang;
        const std::wstring suffix = c.lang == 0x0409 ? L"(copy %d)" : L" (\x526F\x672C %d)";
        if (c.copiesInUse >= 0) helper.printers.insert(c.name);
        for (int i = 1; i <= c.copiesInUse; ++i) helper.printers.insert(c.name + FormatW(suffix.c_str(), i));
        TTDriverInfo info;
        info.DriverName = L"Driver";
        info.DriverInstanceName = c.name;
        info.PortName = L"USB002";
        EXPECT_EQ(3, InstallDriverCopy(info));
        EXPECT_EQ(c.expected, info.DriverInstanceName);
        EXPECT_THAT(helper.installedAs, ElementsAre(c.expected + L"@USB002"));
    }
}

TEST_F(CopyNameTest, AllCopiesInUseKeepsTheNameAndAnEmptyPortBecomesLpt1) {
    helper.printers.insert(L"P");
    for (int i = 1; i <= 64; ++i) helper.printers.insert(FormatW(L"P(copy %d)", i));
    helper.installs = false;
    TTDriverInfo info;
    info.DriverInstanceName = L"P";
    // The name exists, so it is reported installed although the library added nothing.
    EXPECT_EQ(3, InstallDriverCopy(info));
    EXPECT_EQ(L"P", info.DriverInstanceName);
    EXPECT_EQ(L"LPT1:", info.PortName);

    helper.printers.clear();
    info.DriverInstanceName = L"Q";
    EXPECT_EQ(-2, InstallDriverCopy(info)) << "nothing installed";
}
}  // namespace
