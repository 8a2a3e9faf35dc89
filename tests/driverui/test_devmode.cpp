// The label settings block: driver data file look-up, defaults, conversion and merge.
#include "DriverUiHost.h"
#include "TestUtil.h"
#include "debug.h"
#include "devmode.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

std::wstring Upper(std::wstring s) {
    CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

OEMLABELDEV Block(SHORT type, SHORT speed, SHORT density, SHORT hor, SHORT ver, SHORT rotate,
                  DWORD size = sizeof(OEMLABELDEV), DWORD signature = OEM_SIGNATURE) {
    OEMLABELDEV dev = {size, signature, 1, type, speed, density, hor, ver, rotate};
    return dev;
}

// The defaults of the installed labels.dat.
const OEMLABELDEV kFileDefaults = Block(2, 2, 7, -2, 4, 1);

void ExpectFields(const OEMLABELDEV& got, const OEMLABELDEV& want) {
    EXPECT_EQ(got.dwSize, want.dwSize);
    EXPECT_EQ(got.dwSignature, want.dwSignature);
    EXPECT_EQ(got.dwVersion, want.dwVersion);
    EXPECT_EQ(got.sPaperType, want.sPaperType);
    EXPECT_EQ(got.sSpeed, want.sSpeed);
    EXPECT_EQ(got.sDensity, want.sDensity);
    EXPECT_EQ(got.sPadHor, want.sPadHor);
    EXPECT_EQ(got.sPadVer, want.sPadVer);
    EXPECT_EQ(got.sRotate, want.sRotate);
}

class PluginDevMode : public ::testing::Test {
protected:
    void SetUp() override {
        Printers();
        ui = CreatePluginObject();
        ASSERT_NE(ui, nullptr);
        publicDm = PublicDevmode(Printers().withData);
        param.cbSize = sizeof(param);
        param.pPublicDMIn = &publicDm;
        param.pOEMDMIn = &in;
        param.pOEMDMOut = &out;
        param.cbBufSize = 0xBEEF;
    }
    void TearDown() override {
        if (ui)
            ui->Release();
    }
    IPrintOemUI* ui = nullptr;
    DEVMODEW publicDm = {};
    OEMDMPARAM param = {};
    OEMLABELDEV in = {};
    OEMLABELDEV out = {};
};

}  // namespace

TEST(LabelBlock, LayoutIsFixed) {
    OEMLABELDEV dev = Block(0x0102, 0x0304, 0x0506, -1, 0x0708, 0x090A);
    unsigned char bytes[24];
    std::memcpy(bytes, &dev, 24);
    const unsigned char want[24] = {24, 0, 0, 0, 0x53, 0x44, 0x50, 0x57, 1, 0, 0, 0,
                                    2, 1, 4, 3, 6, 5, 0xFF, 0xFF, 8, 7, 0x0A, 9};
    EXPECT_EQ(0, std::memcmp(bytes, want, 24));
}

TEST(DriverDataFile, MatchIsMadeInUpperCaseAnywhereInThePath) {
    struct Case {
        std::wstring files;  // '|' separates the list's strings
        bool found;
        std::wstring path;
    } cases[] = {
        {L"C:\\d\\vkt.ini|C:\\d\\labels.dat|C:\\d\\other.dat", true, L"C:\\D\\LABELS.DAT"},
        {L"C:\\d\\data.dat.bak", true, L"C:\\D\\DATA.DAT.BAK"},
        {L"C:\\data.d\\x.ini|C:\\d\\logo.bmp", false, L"untouched"},
        {L"", false, L"untouched"},
        {L"C:\\my.database\\x.ini", true, L"C:\\MY.DATABASE\\X.INI"},
    };
    for (const Case& c : cases) {
        std::wstring list = c.files;
        for (auto& ch : list)
            if (ch == L'|')
                ch = L'\0';
        list.append(2, L'\0');
        WCHAR path[DATA_FILE_CCH] = L"untouched";
        EXPECT_EQ(PickDriverDataFile(&list[0], path), c.found) << Utf8("case");
        EXPECT_EQ(std::wstring(path), c.path);
    }
}

TEST(DriverDataFile, LongPathIsCutTo255Characters) {
    std::wstring list = L"C:\\" + std::wstring(300, L'a') + L".dat";
    list.append(2, L'\0');
    WCHAR path[DATA_FILE_CCH + 8];
    std::fill(std::begin(path), std::end(path), L'#');
    EXPECT_TRUE(PickDriverDataFile(&list[0], path));
    EXPECT_EQ(std::wstring(path).size(), 255u);
    EXPECT_EQ(path[DATA_FILE_CCH], L'#');  // nothing written past the 256 characters
}

TEST(DriverDataFile, FoundThroughTheSpooler) {
    const TTestPrinters& p = Printers();
    struct Case {
        std::wstring printer;
        bool found;
        std::wstring path;
    } cases[] = {
        {p.withData, true, Upper(p.driverDir + L"\\3\\labels.dat")},
        {p.withBakData, true, Upper(p.driverDir + L"\\3\\data.dat.bak")},
        {p.withoutData, false, L"untouched"},
        {L"No Such Printer", false, L"untouched"},
        {L"", false, L"untouched"},
    };
    for (const Case& c : cases) {
        WCHAR path[DATA_FILE_CCH] = L"untouched";
        EXPECT_EQ(FindDriverDataFile(c.printer.c_str(), path), c.found) << Utf8("printer");
        EXPECT_EQ(std::wstring(path), c.path);
    }
}

TEST(PaperDefaults, KeysAreReadLikeWtoiAndCutTo16Bits) {
    struct Case {
        const char* paper;  // body of the [Paper] section
        OEMLABELDEV want;
    } cases[] = {
        {"Type=2\nSpeed=3\nDensity=8\nPad_hor=-2\nPad_ver=4\nRotate=1\n", Block(2, 2, 7, -2, 4, 1)},
        {"Speed=0\nDensity=0\n", Block(0, 0, 0, 0, 0, 0)},
        {"", Block(0, 0, 0, 0, 0, 0)},                       // missing keys
        {"Speed=1\nDensity=1\n", Block(0, 0, 0, 0, 0, 0)},
        {"Speed=5\nDensity=15\n", Block(0, 4, 14, 0, 0, 0)},
        {"Speed=-3\nDensity=-1\n", Block(0, 0, 0, 0, 0, 0)},  // never below 0
        {"Type=  7abc\nPad_hor=+12mm\nPad_ver=abc\nRotate=9\n", Block(7, 0, 0, 12, 0, 9)},
        {"Type=70000\nPad_hor=-32769\nRotate=65535\n", Block(4464, 0, 0, 32767, 0, -1)},
        // 65535 and 32767 after the cut: the sign is that of the stored 16-bit value.
        {"Speed=65536\nDensity=32768\n", Block(0, 0, 32767, 0, 0, 0)},
    };
    TTempDir dir;
    std::wstring file = dir.File(L"paper.dat");
    for (const Case& c : cases) {
        WriteAnsiFile(file, std::string("[Paper]\n") + c.paper);
        OEMLABELDEV got = Block(-9, -9, -9, -9, -9, -9);
        ReadPaperDefaults(file.c_str(), &got);
        ExpectFields(got, c.want);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << c.paper;
            break;
        }
    }
}

TEST(PaperDefaults, MissingFileGivesZeros) {
    OEMLABELDEV got = Block(5, 5, 5, 5, 5, 5);
    ReadPaperDefaults(L"C:\\no\\such\\file.dat", &got);
    ExpectFields(got, Block(0, 0, 0, 0, 0, 0));
    got = Block(5, 5, 5, 5, 5, 5);
    ReadPaperDefaults(L"", &got);
    ExpectFields(got, Block(0, 0, 0, 0, 0, 0));
}

TEST(PaperDefaults, MissingArgumentsFillNothing) {
    TSinkCapture sink;
    OEMLABELDEV in = Block(1, 1, 1, 1, 1, 1), out = in;
    EXPECT_EQ(fill_default_oemdev(nullptr, &out), 0u);
    EXPECT_EQ(fill_default_oemdev(L"x", nullptr), 0u);
    EXPECT_TRUE(sink.Has(L"ERROR: fill_default_oemdev(), ERROR_INVALID_PARAMETER.\r\n"));
    EXPECT_EQ(convert_devmode(nullptr, &in, &out), 0u);
    EXPECT_EQ(convert_devmode(L"x", nullptr, &out), 0u);
    EXPECT_EQ(convert_devmode(L"x", &in, nullptr), 0u);
    EXPECT_TRUE(sink.Has(L"ERROR: convert_devmode(), ERROR_INVALID_PARAMETER.\r\n"));
    ExpectFields(out, Block(1, 1, 1, 1, 1, 1));
    EXPECT_EQ(SetOemDevHeader(nullptr), 0);
}

TEST(PaperDefaults, ConvertOntoItselfKeepsTheInput) {
    OEMLABELDEV dev = Block(1, 3, 9, 5, 6, 2);
    EXPECT_EQ(convert_devmode(Printers().withData.c_str(), &dev, &dev), 24u);
    ExpectFields(dev, Block(1, 3, 9, 5, 6, 2));
}

TEST_F(PluginDevMode, SizeTouchesNoBlock) {
    in = Block(1, 1, 1, 1, 1, 1, 99, 0x1111);
    out = in;
    TDebuggerCapture capture;
    EXPECT_EQ(ui->DevMode(OEMDM_SIZE, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 24u);
    ExpectFields(in, Block(1, 1, 1, 1, 1, 1, 99, 0x1111));
    ExpectFields(out, in);
    EXPECT_TRUE(capture.Has("UI:  IOEMUI::DevMode(1) entry.\r\n"));
}

TEST_F(PluginDevMode, DefaultsComeFromTheDriverDataFile) {
    EXPECT_EQ(ui->DevMode(OEMDM_DEFAULT, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 24u);
    ExpectFields(out, kFileDefaults);

    // Without a data file every key reads "0": continuous paper, speed 1, density 1.
    publicDm = PublicDevmode(Printers().withoutData);
    out = Block(9, 9, 9, 9, 9, 9, 0, 0);
    EXPECT_EQ(ui->DevMode(OEMDM_DEFAULT, &param), S_OK);
    ExpectFields(out, Block(0, 0, 0, 0, 0, 0));
}

TEST_F(PluginDevMode, ConvertTakesAtMostTheInputsSize) {
    struct Case {
        DWORD inSize;
        DWORD result;
        OEMLABELDEV want;
    } cases[] = {
        {24, 24, Block(1, 4, 14, 11, 12, 3)},
        {20, 20, Block(1, 4, 14, 11, kFileDefaults.sPadVer, kFileDefaults.sRotate)},
        {40, 24, Block(1, 4, 14, 11, 12, 3)},
        {0, 0, kFileDefaults},
        {14, 14, Block(1, kFileDefaults.sSpeed, kFileDefaults.sDensity, kFileDefaults.sPadHor,
                       kFileDefaults.sPadVer, kFileDefaults.sRotate)},
    };
    for (const Case& c : cases) {
        // Room beyond 24 bytes, as a larger block from a later version would bring.
        struct {
            OEMLABELDEV dev;
            char tail[16];
        } bigIn = {Block(1, 4, 14, 11, 12, 3, c.inSize), "later fields"};
        param.pOEMDMIn = &bigIn;
        out = Block(0, 0, 0, 0, 0, 0, 24);
        param.cbBufSize = 0xBEEF;
        EXPECT_EQ(ui->DevMode(OEMDM_CONVERT, &param), S_OK);
        EXPECT_EQ(param.cbBufSize, c.result) << c.inSize;
        ExpectFields(out, c.want);
    }
}

TEST_F(PluginDevMode, ForeignSignatureIsReplacedByDefaultsWithAWarning) {
    in = Block(1, 1, 1, 1, 1, 1, 24, 0x12345678);
    out = Block(0, 0, 0, 0, 0, 0);
    TDebuggerCapture capture;
    EXPECT_EQ(ui->DevMode(OEMDM_CONVERT, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 24u);
    ExpectFields(out, kFileDefaults);
    EXPECT_TRUE(capture.Has("Unknown DEVMODE signature, pOemDevIn ignored.\r\n"));
}

TEST_F(PluginDevMode, MergeKeepsValuesUncheckedAndTheSizeAlone) {
    in = Block(2, 4, 14, -30, 99, 7);
    out = Block(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(ui->DevMode(OEMDM_MERGE, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 0xBEEFu);
    ExpectFields(out, Block(2, 4, 14, -30, 99, 7));

    // A foreign output header ends up with the plug-in's header and file defaults.
    out = Block(0, 0, 0, 0, 0, 0, 3, 0x99);
    EXPECT_EQ(ui->DevMode(OEMDM_MERGE, &param), S_OK);
    ExpectFields(out, kFileDefaults);
}

TEST_F(PluginDevMode, InvalidCallsFailWithParameterError) {
    for (DWORD mode : {0u, 5u}) {
        TDebuggerCapture capture;
        SetLastError(0);
        EXPECT_EQ(ui->DevMode(mode, &param), E_FAIL);
        EXPECT_EQ(GetLastError(), 87u);
        EXPECT_TRUE(capture.Has("ERROR: DevMode(), ERROR_INVALID_PARAMETER.\r\n"));
    }
    SetLastError(0);
    EXPECT_EQ(ui->DevMode(OEMDM_SIZE, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_EQ(param.cbBufSize, 0xBEEFu);
}

TEST_F(PluginDevMode, MissingPublicDevmodeFillsNothing) {
    param.pPublicDMIn = nullptr;
    out = Block(3, 3, 3, 3, 3, 3);
    EXPECT_EQ(ui->DevMode(OEMDM_DEFAULT, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 0u);
    ExpectFields(out, Block(3, 3, 3, 3, 3, 3));
}
