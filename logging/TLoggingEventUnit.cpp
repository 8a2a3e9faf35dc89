#include "TLoggingEventUnit.h"

namespace {
TLocalTimeSource g_timeSource = nullptr;
}

void SetLocalTimeSource(TLocalTimeSource ASource) { g_timeSource = ASource; }

TLoggingEvent::TLoggingEvent(const TLevel* ALevel, const std::wstring& AMsg, const std::wstring& ALoggerName,
                             const TEventError* AException)
    : FLevel(ALevel), FMsg(AMsg), FStartTime(), FLoggerName(ALoggerName) {
    if (g_timeSource)
        g_timeSource(&FStartTime);
    else
        GetLocalTime(&FStartTime);
    if (AException) FException = std::make_unique<TEventError>(*AException);
}
