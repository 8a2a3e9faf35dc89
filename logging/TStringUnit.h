// String helpers of the logging library and the tokenizer that splits logger values.
#pragma once
#include <string>
#include <vector>

// Splits a text at any of the delimiter characters; empty pieces give no token.
class TStringTokenizer {
public:
    TStringTokenizer(const std::wstring& AStr, const std::wstring& ADelim);
    bool HasMoreTokens() const { return FPos < FTokens.size(); }
    std::wstring NextToken();  // empty once all tokens are taken
    int CountTokens() const { return (int)(FTokens.size() - FPos); }

private:
    std::vector<std::wstring> FTokens;
    size_t FPos = 0;
};

// Removes characters with codes up to 32 at both ends.
std::wstring Trim(const std::wstring& s);
// Case-insensitive comparison in the user's locale.
bool SameText(const std::wstring& a, const std::wstring& b);
bool StartsWith(const std::wstring& s, const std::wstring& prefix);  // case-sensitive
// A signed 32-bit decimal integer; raises EKovrinError for any other text.
int StrToInt(const std::wstring& s);
// "Text (code): system message" for a Windows error code.
std::wstring SystemErrorMessage(unsigned long code);
