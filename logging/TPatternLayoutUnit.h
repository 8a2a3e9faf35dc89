// Pattern layout: a pattern of conversions (%m %p %e %L %d{...} %n) and the date format
// that the d conversion writes, with names and separators from the user's locale.
#pragma once
#include "TLayoutUnit.h"
#include <string>
#include <vector>

// Locale values the date format uses. Formats use the date format's own letters.
struct TFormatSettings {
    std::wstring ShortMonthNames[12], LongMonthNames[12];
    std::wstring ShortDayNames[7], LongDayNames[7];  // Sunday first
    std::wstring DateSeparator, TimeSeparator;
    std::wstring ShortDateFormat, LongDateFormat, ShortTimeFormat, LongTimeFormat;
    std::wstring TimeAMString, TimePMString;
    std::wstring EraName;
};

// The user's regional settings, read once at first use; tests may put fixed ones in place
// (nullptr goes back to the user's).
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings* ASettings);
TFormatSettings LocaleFormatSettings(LCID ALocale);

void AppendDateTime(std::wstring& AOut, const std::wstring& AFormat, const SYSTEMTIME& ATime,
                    const TFormatSettings& ASettings);
std::wstring FormatDateTime(const std::wstring& AFormat, const SYSTEMTIME& ATime,
                            const TFormatSettings& ASettings = FormatSettings());

class TPatternLayout : public TLayout {
public:
    TPatternLayout();
    explicit TPatternLayout(const std::wstring& APattern);  // empty gives "%m%n"
    std::wstring Format(const TLoggingEvent& AEvent) override;
    void FormatTo(const TLoggingEvent& AEvent, std::wstring& AOut) override;
    bool IgnoresException() const override { return false; }
    const wchar_t* ClassName() const override { return L"TPatternLayout"; }
    const std::wstring& GetDateFormat() const { return FDateFormatString; }

private:
    struct TPiece {
        wchar_t Conversion;  // 0 for literal text
        std::wstring Text;   // the literal text
        bool LeftAlign;
        int Width;      // -1: none
        int Precision;  // -1: none
    };
    void Parse(const std::wstring& APattern);

    std::vector<TPiece> FFormatString;  // the converted pattern
    std::wstring FDateFormatString;
    bool FHasDate = false;
    // The last time written and its text.
    std::wstring FDate;
    SYSTEMTIME FDateTime{};
    const TFormatSettings* FDateSettings = nullptr;
    bool FDateValid = false;
};
