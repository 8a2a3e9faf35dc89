#include "FakeUsbHelper.h"
#include "InstallAssist.h"
#include "Lib_String.h"
#include "TestUtil.h"
#include <gtest/gtest.h>

namespace {
class LoadDriverInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        Services().usb = &usb;
        SetProgramPathForTest(dir.File(L"Kovrin.exe"));
    }
    void TearDown() override { SetProgramPathForTest(L""); }
    void WriteIni(const std::string& text) { WriteAnsiFile(dir.File(L"Kovrin.ini"), text); }
    std::wstring Folder() const { return dir.Path(); }

    TServicesScope scope;
    TFakeUsbHelper usb;
    TTempDir dir;
};

std::string Sections(int first, int last) {
    std::string s;
    for (int i = first; i <= last; ++i) {
        char buf[96];
        snprintf(buf, sizeof buf, "[Driver%.2d]\nPrinterName=P%d\nDPI=%d\n", i, i, i);
        s += buf;
    }
    return s;
}
}  // namespace

TEST_F(LoadDriverInfoTest, ReadsEveryFieldWithPathRules) {
    WriteIni(
        "[Setting]\nLogo=img\\logo.png\nBG=bg.png\nLicence_Url=https://example.invalid/terms\nLogInfo=0\n"
        "[Driver01]\nPrinterName=Label 203\nPrinterType=VKT\nDPI=203\nDriverInstanceName=My Label\nHWID=USB\\VID_1\n"
        "Inf_32=drv\\a32.inf\nInf_64=drv\\a64.inf\nInf02_32=b.inf\nInf03_32=\nInf04_32=d.inf\nPrinterImage=p.png\n"
        "Manual=m.pdf\nOnlineInstaller32=setup32.exe\nOnlineInstaller64=setup64.exe\nDriverInstallType=1\n"
        "Unidrv_DataFile=unidrv.gpd\nUnidrv_DriverFile=unidrv.dll\nDriver_DataFile=vkt.gpd\n"
        "Driver_DriverFile=VKTDriverUI.dll\nDriver_Forms=40x30,40000,30000\nAssistantConfig=x=1\n");
    LoadDriverInfo();
    ASSERT_EQ(g_DriverInfo.size(), 1u);
    const TTDriverInfo& r = g_DriverInfo[0];
    const std::wstring f = Folder();
    EXPECT_EQ(g_ProgramFolder, f);
    EXPECT_EQ(r.LogoFile, f + L"\\img\\logo.png");
    EXPECT_EQ(r.BGFile, f + L"\\bg.png");
    EXPECT_EQ(r.Licence_Url, L"https://example.invalid/terms");
    EXPECT_EQ(r.DriverName, L"Label 203");
    EXPECT_EQ(r.PrinterType, L"VKT");
    EXPECT_EQ(r.VKT_DPI, 203);
    EXPECT_EQ(r.DriverInstanceName, L"My Label");
    EXPECT_EQ(r.HWID, L"USB\\VID_1");
    EXPECT_EQ(r.Inf, f + L"\\drv\\a32.inf");
    EXPECT_EQ(r.Inf02, f + L"\\b.inf");
    EXPECT_EQ(r.Inf03, L"");
    EXPECT_EQ(r.Inf04, f + L"\\d.inf");
    EXPECT_EQ(r.Inf05, L"");
    EXPECT_EQ(r.PrinterFile, f + L"\\p.png");
    EXPECT_EQ(r.Manual, f + L"\\m.pdf");
    EXPECT_EQ(r.OnlineInstaller, f + L"\\setup32.exe");
    EXPECT_EQ(r.DriverInstallType, 1);
    EXPECT_EQ(r.Unidrv_DataFile, L"unidrv.gpd");
    EXPECT_EQ(r.Unidrv_DriverFile, L"unidrv.dll");
    EXPECT_EQ(r.Driver_DataFile, L"vkt.gpd");
    EXPECT_EQ(r.Driver_DriverFile, L"VKTDriverUI.dll");
    EXPECT_EQ(r.Driver_Forms, L"40x30,40000,30000");
    EXPECT_EQ(r.AssistantConfig, L"x=1");
    EXPECT_EQ(r.PortName, L"");
    EXPECT_EQ(r.Info, L"");
}

TEST_F(LoadDriverInfoTest, SectionCounts) {
    struct Case {
        const char* name;
        std::string ini;
        size_t records;
    } cases[] = {
        {"gap after the first section", Sections(1, 1) + Sections(3, 3), 1},
        {"type but no name", "[Driver01]\nPrinterType=VKT\n", 0},
        {"no file content", "", 0},
        {"100 sections", Sections(1, 100), 100},
        {"101 sections", Sections(1, 101), 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteIni(c.ini);
        LoadDriverInfo();
        EXPECT_EQ(g_DriverInfo.size(), c.records);
    }
    EXPECT_EQ(g_DriverInfo.back().DriverName, L"P100");
    EXPECT_EQ(g_DriverInfo.back().VKT_DPI, 100);
}

TEST_F(LoadDriverInfoTest, MissingFileGivesNoRecords) {
    g_DriverInfo.resize(3);
    LoadDriverInfo();
    EXPECT_TRUE(g_DriverInfo.empty());
}

TEST_F(LoadDriverInfoTest, DpiValues) {
    struct Case {
        const char* line;
        int dpi;
    } cases[] = {{"DPI=300\n", 300}, {"DPI=abc\n", 0}, {"", 0}, {"DPI=\n", 0}, {"DPI=  203  \n", 203}, {"DPI=20x\n", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteIni(std::string("[Driver01]\nPrinterName=P\n") + c.line);
        LoadDriverInfo();
        ASSERT_EQ(g_DriverInfo.size(), 1u);
        EXPECT_EQ(g_DriverInfo[0].VKT_DPI, c.dpi);
    }
}

TEST_F(LoadDriverInfoTest, InstanceNameDefaultsToPrinterName) {
    WriteIni("[Driver01]\nPrinterName=Ondrix Label\n[Driver02]\nPrinterName=Two\nDriverInstanceName=\n");
    LoadDriverInfo();
    ASSERT_EQ(g_DriverInfo.size(), 2u);
    EXPECT_EQ(g_DriverInfo[0].DriverInstanceName, L"Ondrix Label");
    EXPECT_EQ(g_DriverInfo[1].DriverInstanceName, L"Two");
}

TEST_F(LoadDriverInfoTest, BitnessSelectsKeys) {
    WriteIni("[Driver01]\nPrinterName=P\nInf_32=a32.inf\nInf02_64=b64.inf\nOnlineInstaller32=s32.exe\n"
             "OnlineInstaller64=s64.exe\n");
    usb.wow64 = true;
    LoadDriverInfo();
    ASSERT_EQ(g_DriverInfo.size(), 1u);
    // Only the _32 key is set, so on 64-bit Windows Inf is the folder and a backslash.
    EXPECT_EQ(g_DriverInfo[0].Inf, Folder() + L"\\");
    EXPECT_EQ(g_DriverInfo[0].Inf02, Folder() + L"\\b64.inf");
    EXPECT_EQ(g_DriverInfo[0].OnlineInstaller, Folder() + L"\\s64.exe");

    usb.wow64 = false;
    LoadDriverInfo();
    EXPECT_EQ(g_DriverInfo[0].Inf, Folder() + L"\\a32.inf");
    EXPECT_EQ(g_DriverInfo[0].Inf02, L"");
    EXPECT_EQ(g_DriverInfo[0].OnlineInstaller, Folder() + L"\\s32.exe");
}

TEST_F(LoadDriverInfoTest, LongValuesAreCutTo511) {
    WriteIni("[Driver01]\nPrinterName=" + std::string(600, 'N') + "\nHWID=\"quoted\"\n");
    LoadDriverInfo();
    ASSERT_EQ(g_DriverInfo.size(), 1u);
    EXPECT_EQ(g_DriverInfo[0].DriverName, std::wstring(511, L'N'));
    EXPECT_EQ(g_DriverInfo[0].HWID, L"quoted");
}

TEST_F(LoadDriverInfoTest, SettingValuesRepeatInEveryRecord) {
    WriteIni("[Setting]\nLicence_Url=terms.pdf\n" + Sections(1, 3));
    LoadDriverInfo();
    ASSERT_EQ(g_DriverInfo.size(), 3u);
    for (const auto& r : g_DriverInfo) EXPECT_EQ(r.Licence_Url, L"terms.pdf");
}
