// Simple layout: "LEVEL - message".
#pragma once
#include "TLayoutUnit.h"

class TSimpleLayout : public TLayout {
public:
    std::wstring Format(const TLoggingEvent& AEvent) override;
    const wchar_t* ClassName() const override { return L"TSimpleLayout"; }
};
