#include "TLoggerUnit.h"
#include "Lib_Error.h"
#include "TLogLogUnit.h"
#include "TStringUnit.h"
#include <algorithm>
#include <memory>

namespace {
// The root logger is always the first entry.
std::unique_ptr<std::vector<std::unique_ptr<TLogger>>> g_registry;
TLogger* g_root = nullptr;  // the registry's first entry, reached on every record
const TLevel* g_startingLevel = LevelALL;
}  // namespace

TLogger::~TLogger() { TLogLog::Debug(L"Logger destroyed - name=" + FName); }

TLogger* TLogger::GetInstance() { return g_root; }

void TLogger::PrepareRegistry() {
    if (!g_registry) g_registry = std::make_unique<std::vector<std::unique_ptr<TLogger>>>();
    if (g_registry->empty()) {
        g_registry->push_back(std::make_unique<TLogger>(L"ROOT", LevelALL));
        g_root = g_registry->front().get();
    }
}

TLogger* TLogger::GetInstance(const std::wstring& AName) {
    PrepareRegistry();
    for (auto& logger : *g_registry)
        if (SameText(logger->FName, AName)) return logger.get();
    g_registry->push_back(std::make_unique<TLogger>(AName, g_startingLevel));
    TLogLog::Debug(L"Logger created - name=" + AName + L", level=" + LevelNameOf(g_startingLevel));
    return g_registry->back().get();
}

void TLogger::FreeInstances() {
    g_root = nullptr;
    if (g_registry) {
        // Destroyed in order, root first.
        for (auto& logger : *g_registry) logger.reset();
        g_registry.reset();
    }
    TLogLog::CloseInternalLog();
}

void TLogger::SetStartingLevel(const TLevel* ALevel) { g_startingLevel = ALevel; }
const TLevel* TLogger::GetStartingLevel() { return g_startingLevel; }

void TLogger::SetLevel(const TLevel* ALevel) {
    FLevel = ALevel;
    TLogLog::Debug(L"TLogger.SetLevel: " + LevelNameOf(ALevel));
}

void TLogger::AddAppender(const TAppenderRef& AAppender) {
    if (!AAppender || std::find(FAppenders.begin(), FAppenders.end(), AAppender) != FAppenders.end()) return;
    FAppenders.push_back(AAppender);
    TLogLog::Debug(L"Appender added to " + FName + L", named " + AAppender->GetName());
}

void TLogger::RemoveAllAppenders() {
    FAppenders.clear();
    TLogLog::Debug(L"TLogger.RemoveAllAppenders");
}

void TLogger::Log(const TLoggingEvent& AEvent) {
    // Raises "Level is Nil" for a logger without a level.
    if (AEvent.GetLevel()->IsGreaterOrEqual(FLevel)) CallAppenders(AEvent);
}

void TLogger::CallAppenders(const TLoggingEvent& AEvent) {
    for (const TAppenderRef& appender : FAppenders) appender->DoAppend(AEvent);
}

void TLogger::LogText(const TLevel* ALevel, const std::wstring& AMsg) {
    if (!FLevel) throw EKovrinError(L"Level is Nil");
    if (!ALevel->IsGreaterOrEqual(FLevel)) return;  // no event for a message that is dropped anyway
    TLoggingEvent event(ALevel, &AMsg, &FName);  // both outlive the call
    CallAppenders(event);
}

void TLogger::Fatal(const std::wstring& AMsg) { LogText(LevelFATAL, AMsg); }
void TLogger::Error(const std::wstring& AMsg) { LogText(LevelERROR, AMsg); }
void TLogger::Warn(const std::wstring& AMsg) { LogText(LevelWARN, AMsg); }
void TLogger::Info(const std::wstring& AMsg) { LogText(LevelINFO, AMsg); }
void TLogger::Debug(const std::wstring& AMsg) { LogText(LevelDEBUG, AMsg); }
void TLogger::Trace(const std::wstring& AMsg) { LogText(LevelTRACE, AMsg); }
