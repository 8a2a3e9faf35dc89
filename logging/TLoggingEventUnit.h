// One message on its way from a logger to the appenders.
#pragma once
#include "TLevelUnit.h"
#include <windows.h>
#include <memory>
#include <string>

// An error attached to a message: its class name and its message.
struct TEventError {
    std::wstring ClassName;
    std::wstring Message;
};

class TLoggingEvent {
public:
    // The time is the current local time, read through the clock below.
    TLoggingEvent(const TLevel* ALevel, const std::wstring& AMsg, const std::wstring& ALoggerName,
                  const TEventError* AException = nullptr);
    const TLevel* GetLevel() const { return FLevel; }
    const std::wstring& GetMessage() const { return FMsg; }
    const SYSTEMTIME& GetStartTime() const { return FStartTime; }
    const TEventError* GetException() const { return FException.get(); }
    const std::wstring& GetLoggerName() const { return FLoggerName; }

private:
    const TLevel* FLevel;
    std::wstring FMsg;
    SYSTEMTIME FStartTime;
    std::unique_ptr<TEventError> FException;
    std::wstring FLoggerName;
};

// The clock that stamps events: GetLocalTime, or a fixed time in tests (nullptr restores it).
using TLocalTimeSource = void (*)(SYSTEMTIME* ATime);
void SetLocalTimeSource(TLocalTimeSource ASource);
