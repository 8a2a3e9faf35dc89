// Base of the layouts that turn an event into the text of one record.
#pragma once
#include "TLoggingEventUnit.h"
#include <string>

class TLayout {
public:
    virtual ~TLayout() = default;
    virtual std::wstring Format(const TLoggingEvent& AEvent) = 0;
    // The same text as Format, into a buffer the caller keeps: once it has grown, a
    // record costs no allocation.
    virtual void FormatTo(const TLoggingEvent& AEvent, std::wstring& AOut) { AOut = Format(AEvent); }
    virtual std::wstring GetContentType() const { return L"text/plain"; }
    virtual std::wstring GetHeader() const { return {}; }
    virtual std::wstring GetFooter() const { return {}; }
    virtual bool IgnoresException() const { return true; }
    virtual const wchar_t* ClassName() const = 0;  // for the internal log
};

// The event time packed as a FAT date-time (two-second resolution); 0 outside 1980..2107.
int PackedTimeStamp(const SYSTEMTIME& ATime);
