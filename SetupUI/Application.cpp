#include "Application.h"
#include "Lib_Error.h"
#include "Lib_Services.h"

namespace Application {
namespace {
bool g_terminated = false;
HWND g_mainWindow = nullptr;
}  // namespace

void SetMainWindow(HWND hwnd) { g_mainWindow = hwnd; }
HWND MainWindow() { return g_mainWindow; }

namespace {
// Tab, Shift+Tab and the arrow keys move between the window's controls as in a dialog.
void DispatchOne(MSG& msg) {
    if (g_mainWindow && IsWindow(g_mainWindow) && IsDialogMessageW(g_mainWindow, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}
}  // namespace

std::wstring& Title() {
    static std::wstring title;
    return title;
}

void ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        DispatchOne(msg);
    }
}

void Terminate() { g_terminated = true; }

int Run() {
    if (g_terminated) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
    return 0;
}

void ShowException(HWND owner, const std::wstring& message) {
    Services().messageBoxes->Show(owner, message, Title(), MB_OK | MB_ICONERROR);
}

void Dispatch(HWND owner, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        ShowException(owner, ErrorMessageOf(e));
    }
}
}  // namespace Application
