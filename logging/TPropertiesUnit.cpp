#include "TPropertiesUnit.h"
#include "Lib_String.h"
#include "TStringUnit.h"

std::wstring DecodeText(const std::string& ABytes, TTextEncoding* AEncoding) {
    TTextEncoding enc = TTextEncoding::Ansi;
    std::wstring text;
    if (ABytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        enc = TTextEncoding::Utf8;
        text = Utf8ToWide(ABytes.substr(3));
    } else if (ABytes.size() >= 2 && (ABytes.compare(0, 2, "\xFF\xFE") == 0 || ABytes.compare(0, 2, "\xFE\xFF") == 0)) {
        bool little = ABytes[0] == '\xFF';
        enc = little ? TTextEncoding::Utf16LE : TTextEncoding::Utf16BE;
        for (size_t i = 2; i + 1 < ABytes.size(); i += 2) {
            unsigned char a = (unsigned char)ABytes[i], b = (unsigned char)ABytes[i + 1];
            text += little ? wchar_t(a | b << 8) : wchar_t(a << 8 | b);
        }
    } else {
        text = AnsiToWide(ABytes);
    }
    if (AEncoding) *AEncoding = enc;
    return text;
}

std::string EncodeText(const std::wstring& AText, TTextEncoding AEncoding) {
    switch (AEncoding) {
    case TTextEncoding::Utf8: return "\xEF\xBB\xBF" + WideToUtf8(AText);
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: {
        bool little = AEncoding == TTextEncoding::Utf16LE;
        std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
        for (wchar_t c : AText) {
            char lo = char(c & 0xFF), hi = char((c >> 8) & 0xFF);
            out += little ? lo : hi;
            out += little ? hi : lo;
        }
        return out;
    }
    default: return WideToAnsi(AText);
    }
}

std::vector<std::wstring> SplitLines(const std::wstring& AText) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < AText.size()) {
        size_t cut = AText.find_first_of(L"\r\n", start);
        if (cut == std::wstring::npos) {
            lines.push_back(AText.substr(start));
            break;
        }
        lines.push_back(AText.substr(start, cut - start));
        start = cut + (AText.compare(cut, 2, L"\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::wstring JoinLines(const std::vector<std::wstring>& ALines) {
    std::wstring out;
    for (const auto& line : ALines) out += line + L"\r\n";
    return out;
}

void TProperties::Load(const std::string& ABytes) {
    FEntries.clear();
    for (const std::wstring& line : SplitLines(DecodeText(ABytes))) {
        if (line.empty() || line[0] == L'#') continue;  // "#" counts only at the first character
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;
        FEntries.emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
}

std::wstring TProperties::GetProperty(const std::wstring& AKey, const std::wstring& ADefaultValue) const {
    for (const auto& entry : FEntries)
        if (SameText(entry.first, AKey)) return entry.second;
    return ADefaultValue;
}

std::vector<std::wstring> TProperties::GetPropertyNames() const {
    std::vector<std::wstring> names;
    for (const auto& entry : FEntries) names.push_back(entry.first);
    return names;
}
