// Debug output of the plug-in: levelled trace lines to the debugger, with a replaceable sink.
#pragma once
#include <windows.h>
#include <cstdarg>

// Message levels; a message is written when DebugLevel is at most its level.
enum : DWORD { DBG_VERBOSE = 1, DBG_TERSE = 2, DBG_WARNING = 3, DBG_ERROR = 4 };

extern DWORD DebugLevel;

// Wide text is cut to this many characters; longer messages are truncated.
const size_t DEBUG_BUFFER_CCH = 260;
// Narrow text starts in a buffer this size and doubles until it fits.
const size_t DEBUG_BUFFER_A_START = 1024;

BOOL DebugPrintW(PCWSTR format, ...);
BOOL DebugPrintA(PCSTR format, ...);
BOOL vDebugPrintW(PCWSTR format, va_list args);
BOOL vDebugPrintA(PCSTR format, va_list args);

// Level-tested forms used by every caller.
void DbgW(DWORD level, PCWSTR format, ...);
void DbgA(DWORD level, PCSTR format, ...);

// Reports a broken invariant without stopping the host process.
void OemAssert(bool ok, PCWSTR expression, PCWSTR source, int line);

// Where finished lines go: OutputDebugStringW/A unless a test installs its own.
typedef void (*DebugSinkW)(PCWSTR text);
typedef void (*DebugSinkA)(PCSTR text);
void SetDebugSinks(DebugSinkW sinkW, DebugSinkA sinkA);  // null restores the debugger output
void DebugOutW(PCWSTR text);                             // unformatted, no level test
