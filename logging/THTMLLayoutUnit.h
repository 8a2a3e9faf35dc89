// HTML layout: a document header, one table row per record, and a footer.
#pragma once
#include "TLayoutUnit.h"

class THTMLLayout : public TLayout {
public:
    std::wstring Format(const TLoggingEvent& AEvent) override;
    std::wstring GetContentType() const override { return L"text/html"; }
    std::wstring GetHeader() const override;
    std::wstring GetFooter() const override;
    bool IgnoresException() const override { return false; }
    const wchar_t* ClassName() const override { return L"THTMLLayout"; }
    // Stored only: the header carries a fixed title.
    void SetTitle(const std::wstring& ATitle);
    const std::wstring& GetTitle() const { return FTitle; }

private:
    std::wstring FTitle = L"Kvlog Log Messages";
};
