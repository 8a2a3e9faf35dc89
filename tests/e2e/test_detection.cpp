// USB detection behind Next on the connect page, against the simulated helper library
// and the printer simulator.
#include "Lib_Lang.h"
#include "Lib_String.h"
#include "WizardFixture.h"
#include <algorithm>

TEST(ManufacturerKeys, FirstKeyInTableOrderCaseSensitive) {
    const struct {
        const wchar_t* deviceId;
        const wchar_t* key;
    } cases[] = {
        {L"MFG:Ondrix;MDL:M1;", L"MFG:Ondrix"},
        {L"MFG:Halvo;MDL:H2;", L"MFG:Halvo"},
        {L"MFG:Ondrix;OEMMFG:VKT;", L"OEMMFG:VKT"},  // both: the table's first wins
        {L"mfg:ondrix;", nullptr},
        {L"OEMMFG:vkt;", nullptr},
        {L"MFG:Epson;", nullptr},
        {L"", nullptr},
    };
    for (const auto& c : cases) {
        const wchar_t* got = MatchManufacturerKey(c.deviceId);
        EXPECT_EQ(c.key ? std::wstring(c.key) : L"(none)", got ? std::wstring(got) : L"(none)") << c.deviceId;
    }
}

namespace {
struct TDetectionCase {
    const char* name;
    const char* scenario;
    const wchar_t* deviceId;
    const wchar_t* text;     // section|key of the message, or null for none
    const wchar_t* caption;  // the caption as the user reads it
    bool movesOn;
    int dpi;
    const wchar_t* logLine;  // a line the log must hold
};

const TDetectionCase kCases[] = {
    {"ready at 203 dpi", "Resolution=203\nStatus=0x12\n", L"MFG:Ondrix;MDL:M1;", nullptr, nullptr, true, 203,
     L"[ WARN] 获取到的dpi=203"},
    {"ready at 300 dpi", "Resolution=300\nStatus=0x12\n", L"OEMMFG:VKT;", nullptr, nullptr, true, 300,
     L"[ INFO] 获取打印机状态返回=0 （-1=端口打开错误；1=通讯错误；2、3=缺纸或错误）"},
    {"no answer to the status request", "Resolution=203\nSilent=status\n", L"MFG:Halvo;",
     L"Notice_VKT|ErrorOnCommunication", L"Error on communication", false, 0, nullptr},
    {"cover open", "Resolution=203\nStatus=0x16\n", L"MFG:Ondrix;", L"Notice_VKT|MakeSureInstalledPaper",
     L"No paper detected", false, 0, nullptr},
    {"paper end", "Resolution=203\nStatus=0x32\n", L"MFG:Ondrix;", L"Notice_VKT|MakeSureInstalledPaper",
     L"No paper detected", false, 0, nullptr},
    {"offline with 300 dpi", "Resolution=300\nStatus=0x1A\n", L"MFG:Ondrix;", nullptr, nullptr, false, 300,
     L"[ WARN] 获取到的dpi=300"},
    {"ready at 600 dpi", "Resolution=600\nStatus=0x12\n", L"MFG:Ondrix;", L"Notice_VKT|MakeSureInstalledPaper",
     L"Error on read info", true, 600, L"[ WARN] 获取到的dpi=600"},
    {"key in the wrong case", "Resolution=203\nStatus=0x12\n", L"mfg:ONDRIX;", L"Notice_VKT|OpenUSBFail",
     L"No printer detected", false, 0, L"[ WARN] 没有找到有效的打印机！"},
};

std::wstring Lang(const std::wstring& sectionKey) {
    const size_t bar = sectionKey.find(L'|');
    return LangText(sectionKey.substr(0, bar), sectionKey.substr(bar + 1));
}
}  // namespace

TEST_F(WizardTest, DetectionOutcomes) {
    for (const TDetectionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        simulator.reset(new TSimulatorProcess(c.scenario));
        SetPrinters({{L"USB001", c.deviceId, simulator->Pipe()}});
        boxes.boxes.clear();
        Open();
        GoToConnectPage();
        DetectPrinters();
        if (c.text) {
            ASSERT_EQ(1u, boxes.boxes.size());
            EXPECT_EQ(Lang(c.text), boxes.boxes[0].text);
            EXPECT_FALSE(boxes.boxes[0].text.empty());
            EXPECT_EQ(c.caption, boxes.boxes[0].caption);
            EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.boxes[0].type);
            EXPECT_EQ(form->Handle(), boxes.boxes[0].owner);
        } else {
            EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : WideToUtf8(boxes.boxes[0].text));
        }
        EXPECT_EQ(c.movesOn, PageShowing(L"ts03_Port"));
        EXPECT_EQ(!c.movesOn, PageShowing(L"ts02_Connect"));
        EXPECT_EQ(c.dpi, form->m_dpi);
        // Next is usable again whatever the outcome.
        EXPECT_TRUE(Robot::Enabled(Ctl(L"btn_Next")));
        EXPECT_FALSE(Robot::Visible(Ctl(L"img_waiting")));
        if (c.logLine) {
            EXPECT_NE(std::wstring::npos, LogText().find(c.logLine)) << WideToUtf8(LogText());
        }
    }
}

TEST_F(WizardTest, NoPrinterOnUsbAsksToPlugItIn) {
    Open();
    GoToConnectPage();
    DetectPrinters();
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(L"No printer detected", boxes.boxes[0].caption);
    // The English text comes as three lines.
    EXPECT_EQ(0u, boxes.boxes[0].text.find(L"Please ensure that the printer is plugged in"));
    EXPECT_EQ(2, (int)std::count(boxes.boxes[0].text.begin(), boxes.boxes[0].text.end(), L'\n'));
    EXPECT_TRUE(PageShowing(L"ts02_Connect"));
    EXPECT_NE(std::wstring::npos, LogText().find(L"[ WARN] 没有找到有效的打印机！"));

    // Every run starts afresh: plugged in now, the next press moves on.
    simulator.reset(new TSimulatorProcess("Resolution=203\nStatus=0x12\n"));
    SetPrinters({{L"USB002", L"MFG:Ondrix;", simulator->Pipe()}});
    boxes.boxes.clear();
    DetectPrinters();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(PageShowing(L"ts03_Port"));
}

TEST_F(WizardTest, TwoPrintersAreListedAndOnlyTheFirstIsAsked) {
    simulator.reset(new TSimulatorProcess("Resolution=203\nStatus=0x12\n"));
    TSimulatorProcess second("Resolution=300\nStatus=0x12\n");
    SetPrinters({{L"USB003", L"MFG:Epson;", L"\\\\.\\pipe\\kovrin-e2e-nothing"},
                 {L"USB001", L"MFG:Halvo;OEMMFG:VKT;", simulator->Pipe()},
                 {L"USB002", L"MFG:Ondrix;", second.Pipe()}});
    Open();
    GoToConnectPage();
    DetectPrinters();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(PageShowing(L"ts03_Port"));
    EXPECT_EQ(203, form->m_dpi);
    EXPECT_EQ((std::vector<std::wstring>{L"OEMMFG:VKT - USB001", L"MFG:Ondrix - USB002"}),
              Robot::Items(Ctl(L"lst03_USBPrinterList")));
    ASSERT_EQ(2u, form->m_VKTPrinter.size());
    EXPECT_EQ(L"OEMMFG:VKT", form->m_VKTPrinter[0].MFG);
    EXPECT_EQ(L"USB001", form->m_VKTPrinter[0].Port);
    EXPECT_EQ(simulator->Pipe(), form->m_VKTPrinter[0].FileName);
    EXPECT_EQ(1, simulator->CommandCount("status"));
    EXPECT_EQ(1, simulator->CommandCount("resolution"));
    EXPECT_EQ(0, second.CommandCount("status"));
    EXPECT_EQ(0, second.CommandCount("resolution"));
    const std::wstring log = LogText();
    EXPECT_NE(std::wstring::npos, log.find(L"[ INFO] 已找到打印机：MFG=OEMMFG:VKT，Port=USB001"));
    EXPECT_NE(std::wstring::npos, log.find(L"[ INFO] 已找到打印机：MFG=MFG:Ondrix，Port=USB002"));
}

TEST_F(WizardTest, DetectionShowsTheBusyDisplayWithNextDisabled) {
    simulator.reset(new TSimulatorProcess("Resolution=203\nStatus=0x12\n"));
    SetPrinters({{L"USB001", L"MFG:Ondrix;", simulator->Pipe()}});
    Open();
    GoToConnectPage();
    clock.pauses.clear();
    DetectPrinters();
    // The wizard's own two pauses open and close the run; the printer transactions'
    // waits come in between.
    ASSERT_GE(clock.pauses.size(), 2u);
    const TPause& first = clock.pauses.front();
    const TPause& last = clock.pauses.back();
    EXPECT_EQ(100u, first.ms);
    EXPECT_FALSE(first.nextEnabled);
    EXPECT_TRUE(first.busyVisible);
    EXPECT_EQ(100u, last.ms);
    EXPECT_TRUE(last.nextEnabled) << "enabled again before the last pause";
    EXPECT_TRUE(last.busyVisible) << "hidden after it";
    EXPECT_FALSE(Robot::Visible(Ctl(L"img_waiting")));
    EXPECT_TRUE(PageShowing(L"ts03_Port"));
}

TEST_F(WizardTest, NextPressedTwiceQuicklyRunsDetectionOnce) {
    simulator.reset(new TSimulatorProcess("Resolution=203\nStatus=0x12\n"));
    SetPrinters({{L"USB001", L"MFG:Ondrix;", simulator->Pipe()}});
    Open();
    GoToConnectPage();
    // Both clicks wait in the queue; the second arrives while the first one's detection
    // lets messages run.
    Robot::PostClick(Ctl(L"btn_Next"));
    Robot::PostClick(Ctl(L"btn_Next"));
    ASSERT_TRUE(Robot::WaitUntil([&] { return PageShowing(L"ts03_Port"); }, 30000));
    Robot::WaitUntil([] { return false; }, 200);
    EXPECT_EQ(1, simulator->CommandCount("status"));
    EXPECT_EQ(1, simulator->CommandCount("resolution"));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(PageShowing(L"ts03_Port")) << "the second click did not go on past page 3";
}

TEST_F(WizardTest, AnErrorDuringDetectionLeavesNextUsable) {
    // A helper library without the printer functions: binding one raises an error.
    Open();
    GoToConnectPage();
    DeleteFileW((programFolder + L"\\Tessil.ini").c_str());
    usb.reset(new TUsbHelperWithPrinters(programFolder + L"\\NoSuchLibrary.dll"));
    Services().usb = usb.get();
    DetectPrinters();
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(L"Printer installer", boxes.boxes[0].caption);
    EXPECT_NE(std::wstring::npos, boxes.boxes[0].text.find(L"NoSuchLibrary.dll"));
    EXPECT_TRUE(PageShowing(L"ts02_Connect"));
    EXPECT_TRUE(Robot::Enabled(Ctl(L"btn_Next")));
    EXPECT_FALSE(Robot::Visible(Ctl(L"img_waiting")));
}

TEST_F(WizardTest, ChoosingAPrinterInTheListAsksItsResolution) {
    simulator.reset(new TSimulatorProcess("Resolution=203\nStatus=0x12\n"));
    TSimulatorProcess second("Resolution=600\nStatus=0x12\n");
    SetPrinters({{L"USB001", L"MFG:Ondrix;", simulator->Pipe()}, {L"USB002", L"MFG:Halvo;", second.Pipe()}});
    Open();
    GoToConnectPage();
    DetectPrinters();
    ASSERT_TRUE(PageShowing(L"ts03_Port"));
    // The list's panel is hidden in this wizard, so the selection is made by code.
    HWND list = Ctl(L"lst03_USBPrinterList");
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    form->lst03_USBPrinterListClick();
    EXPECT_EQ(600, form->m_dpi);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(LangText(L"Notice_VKT", L"CommunicationFailure"), boxes.boxes[0].text);
    EXPECT_EQ(L"Error", boxes.boxes[0].caption);
    EXPECT_FALSE(Robot::Enabled(Ctl(L"btn_Next")));

    boxes.boxes.clear();
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    form->lst03_USBPrinterListClick();
    EXPECT_EQ(203, form->m_dpi);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(Robot::Enabled(Ctl(L"btn_Next")));
    EXPECT_EQ(L"USB001", form->Hint(IDC_lbl03_Title));

    // No selection: nothing is asked.
    SendMessageW(list, LB_SETCURSEL, (WPARAM)-1, 0);
    form->lst03_USBPrinterListClick();
    EXPECT_EQ(203, form->m_dpi);
    EXPECT_EQ(1, second.CommandCount("resolution"));
}
