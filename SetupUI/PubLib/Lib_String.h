// Text conversions in one place: UTF-16 inside, UTF-8 for the log file,
// the ANSI code page for command output and log configuration lines.
#pragma once
#include <string>

std::string WideToUtf8(const std::wstring& s);
std::wstring Utf8ToWide(const std::string& s);
std::string WideToAnsi(const std::wstring& s);
std::wstring AnsiToWide(const std::string& s);

// printf-style formatting into a std::wstring (format uses the Windows wide conventions: %s = wide).
std::wstring FormatW(const wchar_t* fmt, ...);

std::wstring ExtractFileDir(const std::wstring& path);      // without trailing backslash
std::wstring ExtractFilePath(const std::wstring& path);     // with trailing backslash
std::wstring ExtractFileName(const std::wstring& path);
std::wstring ChangeFileExt(const std::wstring& path, const std::wstring& ext);
std::wstring IncludeTrailingBackslash(const std::wstring& dir);
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
bool ForceDirectories(const std::wstring& dir);              // creates missing parents too

// Full path of the running program; tests may set it to place the program folder.
std::wstring ProgramPath();
void SetProgramPathForTest(const std::wstring& path);

// Hex text of printer commands. HexToBytes drops spaces and stores the digits in pairs
// (a last, unpaired digit is ignored); when the pairs exceed the capacity it stores nothing
// and returns the negated pair count. A pair that is not hexadecimal raises EKovrinError.
int HexToBytes(const std::wstring& hex, unsigned char* buffer, int capacity);
// Each character's code in upper-case hexadecimal, at least two digits.
std::wstring TextToHex(const std::wstring& text);
