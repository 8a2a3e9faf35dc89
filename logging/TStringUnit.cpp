#include "TStringUnit.h"
#include "Lib_Error.h"
#include <windows.h>

TStringTokenizer::TStringTokenizer(const std::wstring& AStr, const std::wstring& ADelim) {
    size_t start = 0;
    for (;;) {
        size_t cut = AStr.find_first_of(ADelim, start);
        size_t end = cut == std::wstring::npos ? AStr.size() : cut;
        if (end > start) FTokens.push_back(AStr.substr(start, end - start));
        if (cut == std::wstring::npos) break;
        start = cut + 1;
    }
}

std::wstring TStringTokenizer::NextToken() {
    if (!HasMoreTokens()) return {};
    return FTokens[FPos++];
}

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ') ++b;
    while (e > b && s[e - 1] <= L' ') --e;
    return s.substr(b, e - b);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), (int)a.size(), b.data(), (int)b.size()) ==
           CSTR_EQUAL;
}

bool StartsWith(const std::wstring& s, const std::wstring& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

int StrToInt(const std::wstring& s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
    if (i == s.size()) throw EKovrinError(L"'" + s + L"' is not a valid integer value");
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') throw EKovrinError(L"'" + s + L"' is not a valid integer value");
        v = v * 10 + (s[i] - L'0');
        if (v > 2147483648LL) throw EKovrinError(L"'" + s + L"' is not a valid integer value");
    }
    if (negative) v = -v;
    if (v > 2147483647LL) throw EKovrinError(L"'" + s + L"' is not a valid integer value");
    return (int)v;
}

std::wstring SystemErrorMessage(unsigned long code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring msg = n && text ? Trim(std::wstring(text, n)) : std::wstring();
    if (text) LocalFree(text);
    if (msg.empty()) msg = L"System error " + std::to_wstring(code);
    return msg;
}
