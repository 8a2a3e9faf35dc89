#include "FakeUsbHelper.h"
#include "Lib_Error.h"
#include "Lib_Lang.h"
#include "Lib_String.h"
#include "TestUtil.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {
const LANGID kEnglish = 0x0409, kChinesePRC = 0x0804;

// The shipped Lang.dat, copied beside the test program by the build.
std::string ShippedLangDat() { return ReadBytes(ExtractFilePath(ProgramPath()) + L"Lang.dat"); }

class LangTest : public ::testing::Test {
protected:
    void SetUp() override {
        shipped = ShippedLangDat();
        ASSERT_FALSE(shipped.empty());
        SetProgramPathForTest(program.File(L"Kovrin.exe"));
        system.tempPath = temp.Path() + L"\\";
        CreateDirectoryW(temp.File(L"Kovrin").c_str(), nullptr);
        Services().system = &system;
    }
    void TearDown() override { SetProgramPathForTest(L""); }
    std::wstring Beside() const { return program.File(L"Lang.dat"); }
    std::wstring InTemp() const { return temp.Path() + L"\\Kovrin\\Lang.dat"; }
    std::wstring Text(const wchar_t* section, const wchar_t* key) { return LangText(section, key); }

    std::string shipped;
    TServicesScope scope;
    TFakeSystemInfo system;
    TTempDir program, temp;
};

// The shipped file as UTF-16 text without its byte-order mark.
std::wstring ShippedText(const std::string& bytes) {
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
}
}  // namespace

TEST_F(LangTest, ShippedFileForm) {
    ASSERT_GE(shipped.size(), 4u);
    EXPECT_EQ(shipped.substr(0, 2), std::string("\xFF\xFE", 2));
    std::wstring text = ShippedText(shipped);
    // Every line ends in CR LF.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\n') continue;
        ASSERT_TRUE(i > 0 && text[i - 1] == L'\r') << "bare LF at " << i;
    }
    const wchar_t* order[] = {L"[Config]", L"[Notice]", L"[Notice_VKT]", L"[UI_VKT]", L"[InstallFinished]",
                              L"[InstallStart]", L"[UI_Native]"};
    size_t last = 0;
    for (const wchar_t* s : order) {
        size_t at = text.find(s);
        ASSERT_NE(at, std::wstring::npos) << s;
        EXPECT_GT(at, last) << s;
        last = at;
    }
    for (const wchar_t* c : {L"; btn_NextClick\r\n", L"; SetPrinterWiFi_NetPort\r\n", L"; CheckUSBPrinter\r\n",
                             L"; lst03_USBPrinterListClick\r\n"})
        EXPECT_NE(text.find(c), std::wstring::npos) << c;
}

TEST_F(LangTest, ShippedTextsInBothLanguages) {
    WriteBytes(InTemp(), shipped);
    struct Case {
        const wchar_t *section, *key;
        const char *en, *cn;
    } cases[] = {
        {L"Config", L"AppTitle", "Printer installer", "打印驱动安装"},
        {L"Notice", L"Error_Title", "Error", "出错了"},
        {L"Notice", L"NoPrinterDetected", "No printer detected", "没找到有效打印机"},
        {L"Notice_VKT", L"IncorrectResolution_d", "Incorrect printer resolution(%d) parameter",
         "打印机的分辨率（%d）不对应"},
        {L"Notice_VKT", L"OpenUSBFail",
         "Please ensure that the printer is plugged in to your computer \r\nand you see text on the screen of the "
         "printer. \r\nIf not, press and hold the POWER button to  turn the printer on.",
         "请确保打印机已连接电脑，并且打印机屏幕已开。\r\n否则请按住电源按键，打开打印机。"},
        {L"Notice_VKT", L"CommunicationFailure",
         "Communication failure, unable to obtain printer information.\r\nPlease turn on the printer power again",
         "通信失败，无法获取打印机信息。\\ r \\请重新打开打印机电源"},
        {L"UI_VKT", L"lbl04_StepInfo_04", "Checking port:", "正在检查端口："},
        {L"UI_VKT", L"lbl04_StepInfo_05", "Installing net port:", "正在安装打印端口："},
        {L"UI_VKT", L"lbl04_Title_03", "Add net port fail:", "添加网络端口失败："},
        {L"InstallFinished", L"UnknowError", "Unknow rrror", "未知错误"},
        {L"InstallFinished", L"InstallationOK2_ss", "Printer installed: %s, port: %s, please restart the computer",
         "打印机已安装：%s，端口：%s，请重新启动电脑"},
        {L"Config", L"PrinterDriverSuffix_d", "(Copy %d)", "(副本 %d)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.en);
        system.langId = kEnglish;
        EXPECT_EQ(Text(c.section, c.key), Utf8(c.en));
        system.langId = kChinesePRC;
        EXPECT_EQ(Text(c.section, c.key), Utf8(c.cn));
    }
    system.langId = kEnglish;
    std::wstring usbFail = Text(L"Notice_VKT", L"OpenUSBFail");
    EXPECT_EQ(std::count(usbFail.begin(), usbFail.end(), L'\n'), 2);
    EXPECT_EQ(Text(L"UI_VKT", L"lbl04_StepInfo_04") + L"192.168.0.98", L"Checking port:192.168.0.98");
}

TEST_F(LangTest, EveryKeyHasBothLanguages) {
    WriteBytes(InTemp(), shipped);
    std::wstring text = ShippedText(shipped);
    size_t pos = 0;
    std::wstring section;
    int keys = 0;
    while (pos < text.size()) {
        size_t end = text.find(L"\r\n", pos);
        std::wstring line = text.substr(pos, end - pos);
        pos = end == std::wstring::npos ? text.size() : end + 2;
        if (line.size() > 2 && line[0] == L'[') section = line.substr(1, line.size() - 2);
        size_t en = line.find(L".EN=");
        if (en == std::wstring::npos) continue;
        ++keys;
        std::wstring key = line.substr(0, en);
        wchar_t buf[8];
        EXPECT_GT(GetPrivateProfileStringW(section.c_str(), (key + L".CN").c_str(), L"", buf, 8, InTemp().c_str()), 0u)
            << "no Chinese text for " << std::string(key.begin(), key.end());
    }
    EXPECT_GT(keys, 0);
    // Keys no flow reads still ship, in both languages.
    for (const wchar_t* k : {L"Config|PrinterDriverSuffix_d", L"Notice|Warning_Title", L"InstallFinished|RegisteredAssortedINF",
                             L"InstallStart|AlreadyInstalled_AddCopy_s", L"InstallStart|USBNoPrinterDetected",
                             L"InstallStart|PrinterDriverInstallOnPort_ss", L"UI_Native|FormMain_Native", L"UI_Native|btn_Exit"}) {
        std::wstring s(k);
        std::wstring section = s.substr(0, s.find(L'|')), key = s.substr(s.find(L'|') + 1);
        for (const wchar_t* suffix : {L".EN", L".CN"}) {
            wchar_t buf[8];
            EXPECT_GT(GetPrivateProfileStringW(section.c_str(), (key + suffix).c_str(), L"", buf, 8, InTemp().c_str()), 0u)
                << std::string(key.begin(), key.end());
        }
    }
}

TEST_F(LangTest, LanguageChoice) {
    struct Case {
        LANGID id;
        bool chinese;
    } cases[] = {{1028, true}, {2052, true}, {3076, true}, {4100, true}, {0x0409, false}, {0x1404, false}, {0, false}};
    WriteBytes(InTemp(), shipped);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        system.langId = c.id;
        EXPECT_EQ(IsChineseUI(), c.chinese);
        EXPECT_EQ(GetLangSuffix(InTemp()), c.chinese ? L".CN" : L".EN");
    }
}

TEST_F(LangTest, ConfigLangOverridesTheSystem) {
    WriteUtf16File(Beside(), L"[Config]\nLang=EN\n[Notice]\nError_Title.EN=Error\nError_Title.CN=X\n");
    system.langId = kChinesePRC;
    EXPECT_EQ(Text(L"Notice", L"Error_Title"), L"Error");
    EXPECT_TRUE(IsChineseUI());
    EXPECT_EQ(GetLangSuffix(Beside()), L".EN");

    WriteUtf16File(Beside(), L"[Config]\nLang=XX\n[Notice]\nError_Title.EN=Error\n");
    EXPECT_EQ(Text(L"Notice", L"Error_Title"), L"");
}

TEST_F(LangTest, EachCopyHasItsOwnLanguage) {
    // Beside the program: forced to Chinese but lacking the key; the temporary copy follows the system.
    WriteUtf16File(Beside(), L"[Config]\nLang=CN\n[Notice]\nWarning_Title.CN=W\n");
    WriteBytes(InTemp(), shipped);
    system.langId = kEnglish;
    EXPECT_EQ(Text(L"Notice", L"Error_Title"), L"Error");
    EXPECT_EQ(Text(L"Notice", L"Warning_Title"), L"W");
}

TEST_F(LangTest, PerKeyFallbackToTemporaryCopy) {
    WriteUtf16File(Beside(), L"[Notice]\nError_Title.EN=Beside\n");
    WriteBytes(InTemp(), shipped);
    system.langId = kEnglish;
    EXPECT_EQ(Text(L"Notice", L"Error_Title"), L"Beside");
    EXPECT_EQ(Text(L"Notice", L"NoPrinterDetected"), L"No printer detected");
}

TEST_F(LangTest, MissingFilesAndEmptyArguments) {
    std::wstring t = L"stale";
    GetLangText(L"Notice", L"Error_Title", L"dflt", t);
    EXPECT_EQ(t, L"dflt");
    GetLangText(L"", L"Error_Title", L"dflt", t);
    EXPECT_EQ(t, L"");
    t = L"stale";
    ReadIniText(L"Notice", L"", L"d", t, Beside());
    EXPECT_EQ(t, L"");
    ReadIniText(L"Notice", L"Error_Title.EN", L"d", t, Beside());
    EXPECT_EQ(t, L"") << "no file: the default is not used either";
}

TEST_F(LangTest, NothingIsCached) {
    WriteUtf16File(Beside(), L"[Notice]\nError_Title.EN=One\n");
    EXPECT_EQ(Text(L"Notice", L"Error_Title"), L"One");
    WriteUtf16File(Beside(), L"[Notice]\nError_Title.EN=Two\n");
    EXPECT_EQ(Text(L"Notice", L"Error_Title"), L"Two");
}

TEST_F(LangTest, ReadIniTextExpandsOnlyTheFourCharacterEscape) {
    WriteUtf16File(Beside(), L"[S]\nA=x\\r\\ny\\r\\n\nB=x\\ny\nC=" + std::wstring(1100, L'c') + L"\n");
    std::wstring t;
    ReadIniText(L"S", L"A", L"", t, Beside());
    EXPECT_EQ(t, L"x\r\ny\r\n");
    ReadIniText(L"S", L"B", L"", t, Beside());
    EXPECT_EQ(t, L"x\\ny");
    ReadIniText(L"S", L"C", L"", t, Beside());
    EXPECT_EQ(t.size(), 1023u);
    ReadIniText(L"S", L"Missing", L"def", t, Beside());
    EXPECT_EQ(t, L"def");
}

TEST_F(LangTest, BareFileNameIsLookedUpBesideTheProgram) {
    WriteUtf16File(program.File(L"Other.dat"), L"[S]\nA=found\n");
    std::wstring t;
    ReadIniText(L"S", L"A", L"", t, L"Other.dat");  // not in the current directory
    EXPECT_EQ(t, L"found");
}

TEST_F(LangTest, InvalidFileNameRaisesError) {
    std::wstring t;
    EXPECT_THROW(ReadIniText(L"S", L"A", L"", t, L"La|ng?.dat"), EKovrinError);
}
