#include "TLevelUnit.h"
#include "Lib_Error.h"
#include "TStringUnit.h"
#include <climits>

namespace {
const TLevel g_off(L"OFF", INT_MAX);
const TLevel g_fatal(L"FATAL", 60000);
const TLevel g_error(L"ERROR", 50000);
const TLevel g_warn(L"WARN", 40000);
const TLevel g_info(L"INFO", 30000);
const TLevel g_debug(L"DEBUG", 20000);
const TLevel g_trace(L"TRACE", 10000);
const TLevel g_all(L"ALL", INT_MIN);
const TLevel* const g_table[] = {&g_off, &g_fatal, &g_error, &g_warn, &g_info, &g_debug, &g_trace, &g_all};
}  // namespace

const TLevel* const LevelOFF = &g_off;
const TLevel* const LevelFATAL = &g_fatal;
const TLevel* const LevelERROR = &g_error;
const TLevel* const LevelWARN = &g_warn;
const TLevel* const LevelINFO = &g_info;
const TLevel* const LevelDEBUG = &g_debug;
const TLevel* const LevelTRACE = &g_trace;
const TLevel* const LevelALL = &g_all;

void TLevel::ThrowNil() { throw EKovrinError(L"Level is Nil"); }

const TLevel* LevelFromName(const std::wstring& AName) {
    for (const TLevel* level : g_table)
        if (SameText(level->GetName(), AName)) return level;
    return nullptr;
}

std::wstring LevelNameOf(const TLevel* ALevel) { return ALevel ? ALevel->GetName() : L"Nil"; }
