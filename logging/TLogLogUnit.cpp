#include "TLogLogUnit.h"
#include "Lib_String.h"
#include "TPrintWriterUnit.h"

namespace {
const size_t kBufferSize = 128;

struct TInternalLog {
    std::unique_ptr<TFileStream> file;
    std::string buffer;

    void Flush() {
        if (file && !buffer.empty()) file->Write(buffer.data(), buffer.size());
        buffer.clear();
    }
    void Write(const char* prefix, const std::wstring& msg) {
        if (!file) return;
        buffer += prefix;
        buffer += WideToAnsi(msg);
        buffer += "\r\n";
        size_t whole = buffer.size() / kBufferSize * kBufferSize;
        if (whole) {
            file->Write(buffer.data(), whole);
            buffer.erase(0, whole);
        }
    }
};

TInternalLog& Log() {
    static TInternalLog log;
    return log;
}
}  // namespace

void TLogLog::Debug(const std::wstring& AMsg) { Log().Write("DEBUG: ", AMsg); }
void TLogLog::Info(const std::wstring& AMsg) { Log().Write("INFO: ", AMsg); }
void TLogLog::Warn(const std::wstring& AMsg) { Log().Write("WARN: ", AMsg); }
void TLogLog::Error(const std::wstring& AMsg) { Log().Write("ERROR: ", AMsg); }
void TLogLog::Fatal(const std::wstring& AMsg) { Log().Write("FATAL: ", AMsg); }

void TLogLog::OpenInternalLog(const std::wstring& AFileName) {
    CloseInternalLog();
    Log().file = std::make_unique<TFileStream>(AFileName, TFileStream::TMode::Create);
    FOpen = true;
}

void TLogLog::CloseInternalLog() {
    Log().Flush();
    Log().file.reset();
    FOpen = false;
}
