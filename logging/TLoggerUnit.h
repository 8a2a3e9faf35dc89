// Loggers and their process-wide registry. A logger passes an event to its own
// appenders when the event is at least as severe as its level; there is no inheritance.
#pragma once
#include "TAppenderUnit.h"
#include "TLevelUnit.h"
#include <string>
#include <vector>

using TAppendersCollection = std::vector<TAppenderRef>;

class TLogger {
public:
    TLogger(const std::wstring& AName, const TLevel* ALevel) : FName(AName), FLevel(ALevel) {}
    ~TLogger();
    TLogger(const TLogger&) = delete;
    TLogger& operator=(const TLogger&) = delete;

    // The root logger, or nullptr while there is no registry.
    static TLogger* GetInstance();
    // The logger of that name (case-insensitive), made at the starting level if missing.
    // Makes the registry and its root logger first when needed.
    static TLogger* GetInstance(const std::wstring& AName);
    // Makes the registry with its root logger "ROOT" if there is none.
    static void PrepareRegistry();
    // Frees every logger (closing their appenders), the registry, and the internal log.
    static void FreeInstances();
    static void SetStartingLevel(const TLevel* ALevel);
    static const TLevel* GetStartingLevel();

    void SetLevel(const TLevel* ALevel);  // nullptr: no level
    const TLevel* GetLevel() const { return FLevel; }
    const std::wstring& GetName() const { return FName; }
    void AddAppender(const TAppenderRef& AAppender);
    void RemoveAllAppenders();
    const TAppendersCollection& GetAppenders() const { return FAppenders; }

    // Raises "Level is Nil" when the logger has no level.
    void Log(const TLoggingEvent& AEvent);
    void Fatal(const std::wstring& AMsg);
    void Error(const std::wstring& AMsg);
    void Warn(const std::wstring& AMsg);
    void Info(const std::wstring& AMsg);
    void Debug(const std::wstring& AMsg);
    void Trace(const std::wstring& AMsg);

private:
    void LogText(const TLevel* ALevel, const std::wstring& AMsg);
    void CallAppenders(const TLoggingEvent& AEvent);

    std::wstring FName;
    const TLevel* FLevel;
    TAppendersCollection FAppenders;
};
