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
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Terminate() { g_terminated = true; }

int Run() {
    if (g_terminated) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
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
