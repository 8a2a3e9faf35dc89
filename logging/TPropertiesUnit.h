// The properties store of the log configuration, and the text-file rules it shares with
// the facade: a UTF-8 or UTF-16 byte-order mark selects that encoding, ANSI otherwise;
// lines split at CR LF, LF or CR.
#pragma once
#include <string>
#include <utility>
#include <vector>

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

std::wstring DecodeText(const std::string& ABytes, TTextEncoding* AEncoding = nullptr);
// The text in that encoding, with its byte-order mark.
std::string EncodeText(const std::wstring& AText, TTextEncoding AEncoding);
// A line break at the very end gives no extra empty line.
std::vector<std::wstring> SplitLines(const std::wstring& AText);
std::wstring JoinLines(const std::vector<std::wstring>& ALines);  // CR LF after every line

class TProperties {
public:
    // Replaces the entries with those of the file text.
    void Load(const std::string& ABytes);
    // The value of the first entry with that key (case-insensitive).
    std::wstring GetProperty(const std::wstring& AKey) const { return GetProperty(AKey, L""); }
    std::wstring GetProperty(const std::wstring& AKey, const std::wstring& ADefaultValue) const;
    std::vector<std::wstring> GetPropertyNames() const;
    size_t Count() const { return FEntries.size(); }

private:
    std::vector<std::pair<std::wstring, std::wstring>> FEntries;
};
