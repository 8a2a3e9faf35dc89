// The program-wide part of the window framework: the application title, the one
// "let messages run" helper, the message loop and the event boundary.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace Application {
// Caption of the framework's error box; set by the start-up.
std::wstring& Title();

// Runs every pending window message, then returns. A quit request stays queued
// for the message loop.
void ProcessMessages();

// The main window: its destruction ends the message loop.
void SetMainWindow(HWND hwnd);
HWND MainWindow();

// The message loop; returns when the main window has gone (or at once after Terminate).
int Run();
void Terminate();

// The framework's error box: application title, the error's message, the error icon.
void ShowException(HWND owner, const std::wstring& message);

// Every control event runs through here: an error ends the action, not the program,
// and the window stays where it was.
void Dispatch(HWND owner, const std::function<void()>& action);
}  // namespace Application
