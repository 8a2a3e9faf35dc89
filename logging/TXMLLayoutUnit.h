// XML layout: one kvlog:event element per record, no root element.
#pragma once
#include "TLayoutUnit.h"

class TXMLLayout : public TLayout {
public:
    std::wstring Format(const TLoggingEvent& AEvent) override;
    std::wstring GetContentType() const override { return L"text/xml"; }
    bool IgnoresException() const override { return false; }
    const wchar_t* ClassName() const override { return L"TXMLLayout"; }
};
