// robot.exe walk <folder>: walks a running wizard from page 1 to page 3 as a user would
// and saves a screenshot of each page there. Message boxes on the way are read out,
// saved and answered with OK.
#include "Robot.h"
#include "Controls.h"
#include <cstdio>
#include <string>

namespace {
const wchar_t* const kCaption = L"Ondrix Printer Setup";

bool Shot(HWND window, const std::wstring& folder, const wchar_t* name) {
    const std::wstring file = folder + L"\\" + name + L".png";
    const bool ok = Robot::Screenshot(window, file);
    wprintf(L"robot: %ls %ls\n", ok ? L"saved" : L"could not save", file.c_str());
    return ok;
}

// Waits for the page to show, answering any message box that comes first.
bool WaitForPage(HWND window, DWORD pid, const wchar_t* page, const std::wstring& folder) {
    HWND sheet = Robot::Find(window, page);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (Robot::WaitUntil([&] { return Robot::Visible(sheet) || Robot::WaitForMessageBox(pid, 0); }, 60000) &&
            Robot::Visible(sheet))
            return true;
        HWND box = Robot::WaitForMessageBox(pid, 0);
        if (!box) break;
        Robot::TMessageBox m = Robot::ReadMessageBox(box);
        wprintf(L"robot: message box \"%ls\": %ls\n", m.caption.c_str(), m.text.c_str());
        Shot(box, folder, L"message");
        Robot::AnswerMessageBox(box);
        Robot::WaitUntil([&] { return !IsWindow(box); }, 5000);
    }
    wprintf(L"robot: page %ls did not show\n", page);
    return false;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || std::wstring(argv[1]) != L"walk") {
        fwprintf(stderr, L"usage: robot walk <folder>\n");
        return 2;
    }
    const std::wstring folder = argv[2];
    Controls::TGdiPlus gdiplus;
    HWND window = Robot::WaitForWindow(kCaption, 0, 60000);
    if (!window) {
        fwprintf(stderr, L"robot: no window \"%ls\"\n", kCaption);
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    Robot::WaitUntil([] { return false; }, 1000);  // let it paint

    Robot::Click(Robot::Find(window, L"chk01_Accept"));
    Robot::WaitUntil([&] { return Robot::Enabled(Robot::Find(window, L"btn_Next")); }, 5000);
    Shot(window, folder, L"page1");

    Robot::PostClick(Robot::Find(window, L"btn_Next"));
    if (!WaitForPage(window, pid, L"ts02_Connect", folder)) return 1;
    Robot::WaitUntil([] { return false; }, 500);
    Shot(window, folder, L"page2");

    Robot::PostClick(Robot::Find(window, L"btn_Next"));
    if (!WaitForPage(window, pid, L"ts03_Port", folder)) return 1;
    Robot::WaitUntil([&] { return Robot::Enabled(Robot::Find(window, L"btn_Next")); }, 5000);
    Robot::WaitUntil([] { return false; }, 500);
    Shot(window, folder, L"page3");

    Robot::Click(Robot::Find(window, L"rb03_WiFi"));
    Robot::WaitUntil([] { return false; }, 500);
    Shot(window, folder, L"page3-wifi");

    Robot::PostClick(Robot::Find(window, L"btn_Prev"));
    Robot::WaitUntil([&] { return !IsWindow(window); }, 10000);
    wprintf(L"robot: walked pages 1 to 3\n");
    return 0;
}
