// Debug output: formatting into bounded heap buffers, then the sink.
#include "debug.h"
#include <cstdio>
#include <memory>
#include <new>
#include <cwchar>

DWORD DebugLevel = DBG_VERBOSE;

namespace {
DebugSinkW g_sinkW = nullptr;
DebugSinkA g_sinkA = nullptr;

void EmitA(PCSTR text) {
    if (g_sinkA)
        g_sinkA(text);
    else
        OutputDebugStringA(text);
}
}  // namespace

void SetDebugSinks(DebugSinkW sinkW, DebugSinkA sinkA) {
    g_sinkW = sinkW;
    g_sinkA = sinkA;
}

void DebugOutW(PCWSTR text) {
    if (g_sinkW)
        g_sinkW(text);
    else
        OutputDebugStringW(text);
}

BOOL vDebugPrintW(PCWSTR format, va_list args) {
    if (!format)
        return FALSE;
    // No exception may leave the plug-in: a failed allocation just drops the line.
    std::unique_ptr<WCHAR[]> buffer(new (std::nothrow) WCHAR[DEBUG_BUFFER_CCH + 1]);
    if (!buffer)
        return FALSE;
    // At most DEBUG_BUFFER_CCH characters are written; the last slot always ends the text.
    _vsnwprintf(buffer.get(), DEBUG_BUFFER_CCH, format, args);
    buffer[DEBUG_BUFFER_CCH] = L'\0';
    DebugOutW(buffer.get());
    return TRUE;
}

BOOL vDebugPrintA(PCSTR format, va_list args) {
    if (!format)
        return FALSE;
    for (size_t size = DEBUG_BUFFER_A_START;; size *= 2) {
        std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + 1]);
        if (!buffer)
            return FALSE;
        va_list copy;
        va_copy(copy, args);
        int written = _vsnprintf(buffer.get(), size, format, copy);
        va_end(copy);
        // Either CRT convention signals a cut text: -1, or the length it would have needed.
        if (written >= 0 && static_cast<size_t>(written) < size) {
            buffer[written] = '\0';
            EmitA(buffer.get());
            return TRUE;
        }
        if (size > (static_cast<size_t>(-1) / 4))
            return FALSE;
    }
}

BOOL DebugPrintW(PCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    BOOL ok = vDebugPrintW(format, args);
    va_end(args);
    return ok;
}

BOOL DebugPrintA(PCSTR format, ...) {
    va_list args;
    va_start(args, format);
    BOOL ok = vDebugPrintA(format, args);
    va_end(args);
    return ok;
}

void DbgW(DWORD level, PCWSTR format, ...) {
    if (DebugLevel > level)
        return;
    va_list args;
    va_start(args, format);
    vDebugPrintW(format, args);
    va_end(args);
}

void DbgA(DWORD level, PCSTR format, ...) {
    if (DebugLevel > level)
        return;
    va_list args;
    va_start(args, format);
    vDebugPrintA(format, args);
    va_end(args);
}

void OemAssert(bool ok, PCWSTR expression, PCWSTR source, int line) {
    if (!ok)
        DbgW(DBG_ERROR, L"UI:  Assertion failed: %ls, file %ls, line %d\r\n", expression, source, line);
}
