// The library's own diagnostic log ("kvlog.log"): ANSI lines with a level prefix,
// written through a small buffer. Closed at start; messages are dropped while closed.
#pragma once
#include <string>

class TLogLog {
public:
    static void Debug(const std::wstring& AMsg);
    static void Info(const std::wstring& AMsg);
    static void Warn(const std::wstring& AMsg);
    static void Error(const std::wstring& AMsg);
    static void Fatal(const std::wstring& AMsg);
    // Creates the file empty; raises EKovrinError when it cannot. An open log is closed first.
    static void OpenInternalLog(const std::wstring& AFileName);
    static void CloseInternalLog();  // writes what the buffer still holds
    static bool IsOpen() { return FOpen; }  // inline: asked on every record

private:
    static inline bool FOpen = false;
};
