#include "Lib_String.h"
#include "Lib_Error.h"
#include <windows.h>
#include <cstdarg>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {
std::string Narrow(UINT cp, const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(cp, 0, s.data(), (int)s.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(cp, 0, s.data(), (int)s.size(), &out[0], n, nullptr, nullptr);
    return out;
}
std::wstring Widen(UINT cp, const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), &out[0], n);
    return out;
}
std::wstring g_programPath;
}  // namespace

std::string WideToUtf8(const std::wstring& s) { return Narrow(CP_UTF8, s); }
std::wstring Utf8ToWide(const std::string& s) { return Widen(CP_UTF8, s); }
std::string WideToAnsi(const std::wstring& s) { return Narrow(CP_ACP, s); }
std::wstring AnsiToWide(const std::string& s) { return Widen(CP_ACP, s); }

std::wstring FormatW(const wchar_t* fmt, ...) {
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list ap;
        va_start(ap, fmt);
        int n = _vsnwprintf(buf.data(), buf.size(), fmt, ap);
        va_end(ap);
        if (n >= 0 && (size_t)n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

std::wstring ExtractFilePath(const std::wstring& path) {
    auto pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? std::wstring() : path.substr(0, pos + 1);
}
std::wstring ExtractFileDir(const std::wstring& path) {
    auto pos = path.find_last_of(L"\\/:");
    if (pos == std::wstring::npos) return {};
    // Keep "C:\" whole, as the root has no parent to strip to.
    if (pos > 0 && path[pos] != L':' && path[pos - 1] != L':') return path.substr(0, pos);
    return path.substr(0, pos + 1);
}
std::wstring ExtractFileName(const std::wstring& path) {
    auto pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}
std::wstring ChangeFileExt(const std::wstring& path, const std::wstring& ext) {
    auto dot = path.find_last_of(L".\\/:");
    if (dot == std::wstring::npos || path[dot] != L'.') return path + ext;
    return path.substr(0, dot) + ext;
}
std::wstring IncludeTrailingBackslash(const std::wstring& dir) {
    if (!dir.empty() && dir.back() == L'\\') return dir;
    return dir + L"\\";
}
bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
bool DirectoryExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
bool ForceDirectories(const std::wstring& dirIn) {
    std::wstring dir = dirIn;
    while (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/')) dir.pop_back();
    if (dir.empty() || DirectoryExists(dir)) return true;
    std::wstring parent = ExtractFileDir(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return CreateDirectoryW(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring ProgramPath() {
    if (!g_programPath.empty()) return g_programPath;
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), (DWORD)buf.size());
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}
void SetProgramPathForTest(const std::wstring& path) { g_programPath = path; }

namespace {
int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}
}  // namespace

int HexToBytes(const std::wstring& hex, unsigned char* buffer, int capacity) {
    std::wstring digits;
    for (wchar_t c : hex)
        if (c != L' ') digits += c;
    const int pairs = (int)(digits.size() / 2);
    if (pairs > capacity) return -pairs;
    std::vector<unsigned char> bytes(pairs);
    for (int i = 0; i < pairs; ++i) {
        int hi = HexDigit(digits[2 * i]), lo = HexDigit(digits[2 * i + 1]);
        if (hi < 0 || lo < 0)
            throw EKovrinError(L"'" + digits.substr(2 * i, 2) + L"' is not a valid hexadecimal byte");
        bytes[i] = (unsigned char)(hi * 16 + lo);
    }
    // Stored only once every pair is known good, so a bad text leaves the buffer untouched.
    if (pairs > 0) memcpy(buffer, bytes.data(), pairs);
    return pairs;
}

std::wstring TextToHex(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) out += FormatW(L"%.2X", (unsigned)c);
    return out;
}
