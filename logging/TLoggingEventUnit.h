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
    // Refers to the caller's texts instead of copying them, which must outlive the event:
    // a logger's synchronous call spares two copies per record this way.
    TLoggingEvent(const TLevel* ALevel, const std::wstring* AMsg, const std::wstring* ALoggerName);
    // The texts may be the event's own: it stays where it was made.
    TLoggingEvent(const TLoggingEvent&) = delete;
    TLoggingEvent& operator=(const TLoggingEvent&) = delete;

    const TLevel* GetLevel() const { return FLevel; }
    const std::wstring& GetMessage() const { return *FMsg; }
    const SYSTEMTIME& GetStartTime() const { return FStartTime; }
    const TEventError* GetException() const { return FException.get(); }
    const std::wstring& GetLoggerName() const { return *FLoggerName; }

private:
    void Stamp();

    const TLevel* FLevel;
    std::wstring FOwnMsg, FOwnLoggerName;  // the copies, unless the caller's texts are used
    const std::wstring* FMsg;
    const std::wstring* FLoggerName;
    SYSTEMTIME FStartTime;
    std::unique_ptr<TEventError> FException;
};

// The clock that stamps events: GetLocalTime, or a fixed time in tests (nullptr restores it).
using TLocalTimeSource = void (*)(SYSTEMTIME* ATime);
void SetLocalTimeSource(TLocalTimeSource ASource);
