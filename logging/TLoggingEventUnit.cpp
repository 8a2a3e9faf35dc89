#include "TLoggingEventUnit.h"

namespace {
TLocalTimeSource g_timeSource = nullptr;

// The local time from the system time and a zone offset read once a minute: the
// offset only changes at whole hours, and a full conversion per record is costly.
void CurrentLocalTime(SYSTEMTIME* ATime) {
    static ULONGLONG s_minute = ~0ULL;
    static LONGLONG s_offset = 0;
    static ULONGLONG s_millisecond = ~0ULL;
    static SYSTEMTIME s_time;
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    ULONGLONG now = (ULONGLONG)utc.dwHighDateTime << 32 | utc.dwLowDateTime;
    if (now / 600000000ULL != s_minute) {
        FILETIME local;
        if (!FileTimeToLocalFileTime(&utc, &local)) {
            GetLocalTime(ATime);
            return;
        }
        s_offset = (LONGLONG)((ULONGLONG)local.dwHighDateTime << 32 | local.dwLowDateTime) - (LONGLONG)now;
        s_minute = now / 600000000ULL;
        s_millisecond = ~0ULL;
    }
    // Many records share a millisecond: its broken-down time is kept.
    ULONGLONG shifted = now + s_offset;
    if (shifted / 10000 != s_millisecond) {
        FILETIME local{(DWORD)shifted, (DWORD)(shifted >> 32)};
        if (!FileTimeToSystemTime(&local, &s_time)) {
            GetLocalTime(ATime);
            return;
        }
        s_millisecond = shifted / 10000;
    }
    *ATime = s_time;
}
}  // namespace

void SetLocalTimeSource(TLocalTimeSource ASource) { g_timeSource = ASource; }

TLoggingEvent::TLoggingEvent(const TLevel* ALevel, const std::wstring& AMsg, const std::wstring& ALoggerName,
                             const TEventError* AException)
    : FLevel(ALevel), FOwnMsg(AMsg), FOwnLoggerName(ALoggerName), FMsg(&FOwnMsg), FLoggerName(&FOwnLoggerName),
      FStartTime() {
    Stamp();
    if (AException) FException = std::make_unique<TEventError>(*AException);
}

TLoggingEvent::TLoggingEvent(const TLevel* ALevel, const std::wstring* AMsg, const std::wstring* ALoggerName)
    : FLevel(ALevel), FMsg(AMsg), FLoggerName(ALoggerName), FStartTime() {
    Stamp();
}

void TLoggingEvent::Stamp() {
    if (g_timeSource)
        g_timeSource(&FStartTime);
    else
        CurrentLocalTime(&FStartTime);
}
