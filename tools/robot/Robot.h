// The UI robot: drives real windows as a user would. Finds controls by their name in the
// wizard's control table or by ID, clicks, types, reads text and state, takes screenshots,
// and answers message boxes: in the same process through the message-box service, in
// another process by finding the box window.
#pragma once
#include "Lib_Services.h"
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace Robot {
// A control below root (at any depth) by ID or by its name in the wizard's control table;
// nullptr when there is none.
HWND Find(HWND root, int id);
HWND Find(HWND root, const wchar_t* name);

// The first visible top-level window of that caption, of the process pid (0: any),
// waited for up to timeoutMs.
HWND WaitForWindow(const std::wstring& caption, DWORD pid, DWORD timeoutMs);

std::wstring Text(HWND control);
bool Enabled(HWND control);
bool Visible(HWND control);  // shown, with every parent shown too
bool Checked(HWND control);
// Items of a list box or combo box.
std::vector<std::wstring> Items(HWND control);

// A click as the user makes it, refused (false) on a control the user cannot reach
// (hidden or disabled). Runs at once: the click's action has ended when it returns.
bool Click(HWND control);
bool DoubleClick(HWND control);
// A click queued like mouse input: it reaches the control when its thread next lets
// messages run, whatever state the control is in by then.
void PostClick(HWND control);
// Replaces the text of an edit by typing it character by character.
bool Type(HWND edit, const std::wstring& text);

// Lets the calling thread's messages run until done() holds or timeoutMs has passed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Saves what the window shows (client area) as a PNG file.
bool Screenshot(HWND window, const std::wstring& pngFile);

// A message box as the user sees it.
struct TMessageBox {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

// The message-box service of the window under test: records every box and answers
// with `answer` at once.
class TMessageBoxRecorder : public IMessageBoxes {
public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    std::vector<TMessageBox> boxes;
    int answer = IDOK;
};

// A message box of another process (pid): waited for, read, and answered with OK.
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs);
TMessageBox ReadMessageBox(HWND box);
void AnswerMessageBox(HWND box, int button = IDOK);
}  // namespace Robot
