// User texts in English or Chinese from Lang.dat (UTF-16 INI with ".EN"/".CN" keys).
#pragma once
#include <string>

void ReadIniText(const std::wstring& section, const std::wstring& key, const std::wstring& def, std::wstring& text,
                 const std::wstring& fileName);
std::wstring GetLangSuffix(const std::wstring& filePath);
bool IsChineseUI();
void GetLangText(const std::wstring& section, const std::wstring& key, const std::wstring& def, std::wstring& text,
                 const std::wstring& fileName = L"Lang.dat");
// Convenience for the flows: the text with no default.
std::wstring LangText(const std::wstring& section, const std::wstring& key);
