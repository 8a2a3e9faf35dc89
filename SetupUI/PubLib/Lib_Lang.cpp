#include "Lib_Lang.h"
#include "Lib_Error.h"
#include "Lib_Services.h"
#include "Lib_String.h"
#include <windows.h>
#include <vector>

namespace {
bool IsChineseLangId(LANGID id) { return id == 1028 || id == 2052 || id == 3076 || id == 4100; }

std::wstring ExpandFileName(const std::wstring& name) {
    for (size_t i = 0; i < name.size(); ++i) {
        wchar_t c = name[i];
        bool driveColon = (c == L':' && i == 1);
        if (c < 32 || wcschr(L"<>\"|?*", c) || (c == L':' && !driveColon))
            throw EKovrinError(FormatW(L"The file name \"%s\" is not a valid path.", name.c_str()));
    }
    std::vector<wchar_t> buf(32768);
    DWORD n = GetFullPathNameW(name.c_str(), (DWORD)buf.size(), buf.data(), nullptr);
    if (n == 0 || n >= buf.size()) throw EKovrinError(FormatW(L"Cannot expand the file name \"%s\".", name.c_str()));
    return std::wstring(buf.data(), n);
}

void ExpandLineBreaks(std::wstring& s) {
    size_t pos = 0;
    while ((pos = s.find(L"\\r\\n", pos)) != std::wstring::npos) {
        s.replace(pos, 4, L"\r\n");
        pos += 2;
    }
}
}  // namespace

void ReadIniText(const std::wstring& section, const std::wstring& key, const std::wstring& def, std::wstring& text,
                 const std::wstring& fileName) {
    text.clear();
    if (section.empty() || key.empty()) return;
    std::wstring path = ExpandFileName(fileName);
    if (!FileExists(path)) path = ExtractFilePath(ProgramPath()) + fileName;
    if (!FileExists(path)) return;
    wchar_t buf[1024] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(), buf, 1024, path.c_str());
    text = buf;
    ExpandLineBreaks(text);
}

bool IsChineseUI() { return IsChineseLangId(Services().system->UserDefaultLangID()); }

std::wstring GetLangSuffix(const std::wstring& filePath) {
    std::wstring lang;
    ReadIniText(L"Config", L"Lang", L"", lang, filePath);
    if (!lang.empty()) return L"." + lang;
    return IsChineseUI() ? L".CN" : L".EN";
}

void GetLangText(const std::wstring& section, const std::wstring& key, const std::wstring& def, std::wstring& text,
                 const std::wstring& fileName) {
    text.clear();
    if (section.empty() || key.empty()) return;
    const std::wstring program = ProgramPath();
    // Beside the program first, then the copy the wizard wrote to its temporary folder.
    const std::wstring first = ExtractFilePath(program) + fileName;
    ReadIniText(section, key + GetLangSuffix(first), L"", text, first);
    if (!text.empty()) return;
    std::wstring base = ChangeFileExt(ExtractFileName(program), L"");
    const std::wstring second = Services().system->TempPath() + base + L"\\" + fileName;
    ReadIniText(section, key + GetLangSuffix(second), L"", text, second);
    if (text.empty()) text = def;
}

std::wstring LangText(const std::wstring& section, const std::wstring& key) {
    std::wstring t;
    GetLangText(section, key, L"", t);
    return t;
}
