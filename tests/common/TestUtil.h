// Small fixtures shared by the test programs: a private temporary folder and file writers.
#pragma once
#include <windows.h>
#include <string>

class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::wstring& Path() const { return m_path; }  // without trailing backslash
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
// UTF-16 LE with BOM, "\n" turned into CR LF: the form of Lang.dat and of Unicode INI files.
void WriteUtf16File(const std::wstring& path, const std::wstring& text);
// ANSI text with CR LF line ends.
void WriteAnsiFile(const std::wstring& path, const std::string& text);
void DeleteTree(const std::wstring& path);
std::wstring Utf8(const char* s);  // a UTF-8 literal as UTF-16
