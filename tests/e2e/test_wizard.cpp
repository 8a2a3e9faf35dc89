// The wizard window as a user meets it: pages, buttons, the port page's fields.
#include "Application.h"
#include "InstallAssist.h"
#include "Lib_Lang.h"
#include "Lib_String.h"
#include "WizardFixture.h"
#include <commctrl.h>

namespace {
std::string SourceFile(const char* relative) { return ReadBytes(Utf8(KOVRIN_SOURCE_DIR) + L"\\" + Utf8(relative)); }
}  // namespace

TEST_F(WizardTest, OpensOnTheTermsPageWithNextDisabledAndFollowsTheAcceptBox) {
    Open();
    EXPECT_EQ(L"Ondrix Printer Setup", Robot::Text(form->Handle()));
    RECT rc;
    GetClientRect(form->Handle(), &rc);
    EXPECT_EQ(616, rc.right);
    EXPECT_EQ(439, rc.bottom);
    EXPECT_TRUE(PageShowing(L"ts01_Licence"));
    for (const wchar_t* page : {L"ts02_Connect", L"ts03_Port", L"ts04_Install", L"ts05_Result"})
        EXPECT_FALSE(PageShowing(page));
    // The row of tab buttons sits above the visible area.
    RECT pgc, context;
    GetWindowRect(Ctl(L"pgc1"), &pgc);
    GetWindowRect(Ctl(L"pnlContext"), &context);
    EXPECT_EQ(-30, pgc.top - context.top);

    HWND next = Ctl(L"btn_Next");
    EXPECT_FALSE(Robot::Enabled(next));
    EXPECT_EQ(L"Next", Robot::Text(next));
    EXPECT_EQ(L"Cancel", Robot::Text(Ctl(L"btn_Prev")));
    EXPECT_FALSE(Robot::Checked(Ctl(L"chk01_Accept")));

    ASSERT_TRUE(Robot::Click(Ctl(L"chk01_Accept")));
    EXPECT_TRUE(Robot::Enabled(next));
    ASSERT_TRUE(Robot::Click(Ctl(L"chk01_Accept")));
    EXPECT_FALSE(Robot::Enabled(next));
    EXPECT_FALSE(Robot::Click(next)) << "a disabled button takes no click";
    EXPECT_TRUE(PageShowing(L"ts01_Licence"));

    ASSERT_TRUE(Robot::Click(Ctl(L"chk01_Accept")));
    ASSERT_TRUE(Robot::Click(next));
    EXPECT_TRUE(PageShowing(L"ts02_Connect"));
    EXPECT_FALSE(PageShowing(L"ts01_Licence"));
    EXPECT_TRUE(Robot::Enabled(next));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WizardTest, CreationWritesTheEmbeddedFilesIntoTheTemporaryFolder) {
    // An older copy is overwritten.
    ForceDirectories(dir.Path() + L"\\temp\\Kovrin");
    WriteBytes(dir.Path() + L"\\temp\\Kovrin\\Lang.dat", "old");
    Open();
    EXPECT_EQ(dir.Path() + L"\\temp\\Kovrin", form->m_TempDir);
    const struct {
        const wchar_t* written;
        const char* source;
    } files[] = {{L"ShowIcon.png", "SetupUI\\assets\\ShowIcon.png"},
                 {L"HideIcon.png", "SetupUI\\assets\\HideIcon.png"},
                 {L"load.gif", "SetupUI\\assets\\load.gif"},
                 {L"Lang.dat", "SetupUI\\Lang.dat"}};
    for (const auto& f : files) {
        const std::string source = SourceFile(f.source);
        ASSERT_FALSE(source.empty()) << f.source;
        EXPECT_EQ(source, ReadBytes(form->m_TempDir + L"\\" + f.written)) << f.source;
    }
    EXPECT_EQ(L"", Robot::Text(Ctl(L"lbl04_StepInfo")));
    // The language table now answers from the written copy.
    EXPECT_EQ(L"Printer installer", LangText(L"Config", L"AppTitle"));
}

TEST_F(WizardTest, ACreationErrorShowsTheErrorBoxAndTheWindowOpensAllTheSame) {
    // A file where the temporary folder should be: nothing can be written into it.
    WriteBytes(dir.Path() + L"\\temp\\Kovrin", "in the way");
    Open();
    ASSERT_EQ(1u, boxes.boxes.size());
    const Robot::TMessageBox& box = boxes.boxes[0];
    EXPECT_EQ(Application::Title(), box.caption);
    EXPECT_NE(std::wstring::npos, box.text.find(L"ShowIcon.png")) << box.text;
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), box.type);
    EXPECT_EQ(form->Handle(), box.owner);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(PageShowing(L"ts01_Licence"));
}

TEST_F(WizardTest, ShowingPrefillsTheAddressFieldsAndConfigIniAsksForTheTestNetwork) {
    const struct {
        bool marker;
        const wchar_t *name, *password, *ip;
    } cases[] = {
        {false, L"", L"", L"192.168.0.1"},
        {true, L"GNESRH7328", L"q5823719460.", L"192.168.0.98"},
    };
    for (const auto& c : cases) {
        if (c.marker) WriteBytes(programFolder + L"\\config.ini", "");
        Open();
        EXPECT_EQ(c.name, Robot::Text(Ctl(L"edt03_WiFi_NetWorkName")));
        EXPECT_EQ(c.password, Robot::Text(Ctl(L"edt03_WiFi_Password")));
        EXPECT_EQ(c.ip, Robot::Text(Ctl(L"edt03_WiFi_IPAddress")));
        EXPECT_EQ(L"255.255.255.0", Robot::Text(Ctl(L"edt03_WiFi_Mask")));
        EXPECT_EQ(L"192.168.0.1", Robot::Text(Ctl(L"edt03_WiFi_Gateway")));
        // The fills ran the field rule, which leaves Next alone while USB is chosen.
        EXPECT_FALSE(Robot::Enabled(Ctl(L"btn_Next")));
        EXPECT_EQ(2u, g_DriverInfo.size());
    }
}

TEST_F(WizardTest, TheLicenceLinkOpensTheAddressOfTheFirstDriverRecord) {
    Open();
    ASSERT_TRUE(Robot::Click(Ctl(L"pnl_License")));
    ASSERT_EQ(1u, shell.opened.size());
    EXPECT_EQ(L"https://www.ondrix.example/license", shell.opened[0]);
}

TEST_F(WizardTest, TheLicenceLinkDoesNothingWithoutADriverRecord) {
    WriteIni("[Setting]\nLicence_Url=https://www.ondrix.example/license\n[Driver01]\nPrinterType=VKT\n");
    Open();
    EXPECT_TRUE(g_DriverInfo.empty());
    ASSERT_TRUE(Robot::Click(Ctl(L"pnl_License")));
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WizardTest, CancelClosesTheWindowOnEveryPageThatShowsIt) {
    for (int page = 1; page <= 3; ++page) {
        if (page == 3)
            GoToPortPage();
        else
            Open();
        if (page == 2) GoToConnectPage();
        HWND window = form->Handle();
        ASSERT_TRUE(Robot::Click(Ctl(L"btn_Prev"))) << page;
        EXPECT_TRUE(Robot::WaitUntil([&] { return !IsWindow(window); }, 5000)) << page;
    }
}

TEST_F(WizardTest, TheCloseBoxClosesTheWindow) {
    Open();
    HWND window = form->Handle();
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(Robot::WaitUntil([&] { return !IsWindow(window); }, 5000));
}

// ---- port page ----

TEST_F(WizardTest, WiFiFieldRuleDecidesNextWhileWiFiIsChosen) {
    GoToPortPage();
    HWND next = Ctl(L"btn_Next");
    EXPECT_TRUE(Robot::Enabled(next));
    EXPECT_FALSE(Robot::Visible(Ctl(L"pnl03_WiFiPrinterList")));
    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_WiFi")));
    EXPECT_TRUE(Robot::Visible(Ctl(L"pnl03_WiFiPrinterList")));
    EXPECT_FALSE(Robot::Enabled(next)) << "no network name";

    struct Step {
        const char* what;
        const wchar_t* control;  // typed into, or clicked when text is null
        const wchar_t* text;
        bool nextEnabled;
    };
    const Step steps[] = {
        {"network name", L"edt03_WiFi_NetWorkName", L"KovrinLab", true},
        {"7-character password", L"edt03_WiFi_Password", L"1234567", false},
        {"8-character password", L"edt03_WiFi_Password", L"12345678", true},
        {"empty password", L"edt03_WiFi_Password", L"", true},
        {"static address", L"rb03_WiFi_Static", nullptr, true},
        {"empty gateway", L"edt03_WiFi_Gateway", L"", false},
        {"back to DHCP", L"rb03_WiFi_DHCP", nullptr, true},
        {"empty network name", L"edt03_WiFi_NetWorkName", L"", false},
        {"network name again", L"edt03_WiFi_NetWorkName", L"KovrinLab", true},
        {"the printer name plays no part", L"edt03_PrinterDriverName", L"", true},
    };
    for (const Step& s : steps) {
        if (s.text)
            ASSERT_TRUE(Robot::Type(Ctl(s.control), s.text)) << s.what;
        else
            ASSERT_TRUE(Robot::Click(Ctl(s.control))) << s.what;
        EXPECT_EQ(s.nextEnabled, Robot::Enabled(next)) << s.what;
    }
    // DHCP disables the three address fields but keeps what they hold.
    EXPECT_FALSE(Robot::Enabled(Ctl(L"edt03_WiFi_Gateway")));
    EXPECT_EQ(L"", Robot::Text(Ctl(L"edt03_WiFi_Gateway")));
    EXPECT_EQ(L"192.168.0.1", Robot::Text(Ctl(L"edt03_WiFi_IPAddress")));

    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_USB")));
    EXPECT_TRUE(Robot::Enabled(next));
    EXPECT_FALSE(Robot::Visible(Ctl(L"pnl03_WiFiPrinterList")));
    ASSERT_TRUE(Robot::Type(Ctl(L"edt03_PrinterDriverName"), L"Ondrix Printer"));
    EXPECT_TRUE(Robot::Enabled(next)) << "the rule does nothing while USB is chosen";
}

TEST_F(WizardTest, PortPageEditsTakeAtMostTheirLength) {
    GoToPortPage();
    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_WiFi")));
    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_WiFi_Static")));
    const struct {
        const wchar_t* edit;
        size_t length;
    } cases[] = {{L"edt03_PrinterDriverName", 32}, {L"edt03_WiFi_NetWorkName", 32}, {L"edt03_WiFi_Password", 32},
                 {L"edt03_WiFi_IPAddress", 15},    {L"edt03_WiFi_Mask", 15},        {L"edt03_WiFi_Gateway", 15}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Robot::Type(Ctl(c.edit), std::wstring(40, L'7'))) << c.edit;
        EXPECT_EQ(c.length, Robot::Text(Ctl(c.edit)).size()) << c.edit;
    }
}

TEST_F(WizardTest, StaticAddressEnablesTheAddressFields) {
    GoToPortPage();
    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_WiFi")));
    for (const wchar_t* edit : {L"edt03_WiFi_IPAddress", L"edt03_WiFi_Mask", L"edt03_WiFi_Gateway"})
        EXPECT_FALSE(Robot::Enabled(Ctl(edit)));
    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_WiFi_Static")));
    for (const wchar_t* edit : {L"edt03_WiFi_IPAddress", L"edt03_WiFi_Mask", L"edt03_WiFi_Gateway"})
        EXPECT_TRUE(Robot::Enabled(Ctl(edit)));
}

TEST_F(WizardTest, TheEyeShowsAndMasksThePassword) {
    GoToPortPage();
    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_WiFi")));
    HWND password = Ctl(L"edt03_WiFi_Password");
    ASSERT_TRUE(Robot::Type(password, L"secret-key"));
    EXPECT_EQ(L'*', (wchar_t)SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0));
    ASSERT_TRUE(Robot::Click(Ctl(L"img03_ViewPassword")));
    EXPECT_EQ(0, SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0)) << "shown in clear";
    ASSERT_TRUE(Robot::Click(Ctl(L"img03_ViewPassword")));
    EXPECT_EQ(L'*', (wchar_t)SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0));
    EXPECT_EQ(L"secret-key", Robot::Text(password));
}

TEST_F(WizardTest, TabMovesBetweenTheWiFiFields) {
    GoToPortPage();
    ASSERT_TRUE(Robot::Click(Ctl(L"rb03_WiFi")));
    HWND name = Ctl(L"edt03_WiFi_NetWorkName");
    SetFocus(name);
    // Queued as the keyboard queues it, so the window's own message loop handles it.
    PostMessageW(name, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(name, WM_KEYUP, VK_TAB, 0xC00F0001);
    Application::ProcessMessages();  // the wizard's own "let messages run"
    EXPECT_EQ(GetFocus(), Ctl(L"edt03_WiFi_Password"));
    EXPECT_EQ(L"", Robot::Text(name)) << "no tab character typed into the field";
}

TEST_F(WizardTest, AnEmptyOrTakenPrinterNameIsRefusedOnThePortPage) {
    GoToPortPage();
    usb->installed.insert(L"Ondrix Printer");
    const struct {
        const wchar_t* name;
    } refused[] = {{L""}, {L"Ondrix Printer"}};
    for (const auto& c : refused) {
        boxes.boxes.clear();
        ASSERT_TRUE(Robot::Type(Ctl(L"edt03_PrinterDriverName"), c.name));
        ASSERT_TRUE(Robot::Click(Ctl(L"btn_Next")));
        ASSERT_EQ(1u, boxes.boxes.size()) << c.name;
        EXPECT_EQ(L"Duplicate printer name", boxes.boxes[0].caption);
        EXPECT_EQ(L"Please choose a unique name for this printer and try again.", boxes.boxes[0].text);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.boxes[0].type);
        EXPECT_TRUE(PageShowing(L"ts03_Port")) << c.name;
    }
    boxes.boxes.clear();
    ASSERT_TRUE(Robot::Type(Ctl(L"edt03_PrinterDriverName"), L"Ondrix Printer 2"));
    // No driver section: the accepted name reaches the installing page and the installation
    // (test_install follows it) stops there before touching the spooler.
    g_DriverInfo.clear();
    ASSERT_TRUE(Robot::Click(Ctl(L"btn_Next")));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(L"Incorrect printer resolution(203) parameter", boxes.boxes[0].text);
    EXPECT_TRUE(PageShowing(L"ts04_Install"));
    EXPECT_FALSE(Robot::Visible(Ctl(L"btn_Prev")));
    EXPECT_FALSE(Robot::Enabled(Ctl(L"btn_Next")));
    EXPECT_EQ(0, SendMessageW(Ctl(L"pb04_Installing"), PBM_GETPOS, 0, 0));
}
