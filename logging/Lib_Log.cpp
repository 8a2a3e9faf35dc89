#include "Lib_Log.h"
#include "Lib_Error.h"
#include "Lib_String.h"
#include "TLogLogUnit.h"
#include "TLoggerUnit.h"
#include "TPrintWriterUnit.h"
#include "TPropertiesUnit.h"
#include "TPropertyConfiguratorUnit.h"
#include "TStringUnit.h"
#include <windows.h>

int g_LogInfo = 0;

namespace {
std::wstring BaseName() {
    std::wstring name = ExtractFileName(ProgramPath());
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::string DefaultConfiguration() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, L"LogProperties", MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!bytes) throw EKovrinError(L"The program carries no default log configuration (resource LOGPROPERTIES).");
    return std::string(bytes, SizeofResource(module, info));
}

// The file's lines and the encoding to write them back in.
std::vector<std::wstring> ReadLines(const std::wstring& path, TTextEncoding* encoding) {
    return SplitLines(DecodeText(ReadFileBytes(path), encoding));
}

void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines, TTextEncoding encoding) {
    WriteFileBytes(path, EncodeText(JoinLines(lines), encoding));
}

// Errors of the library (a failed roll-over, "Level is Nil") reach the caller, whose
// event boundary reports them; the appender itself never writes to a closed file.
template <class F>
void Guarded(F&& write) {
    TLogger* root = g_LogInfo > 0 ? TLogger::GetInstance() : nullptr;
    if (root) write(*root);
}
}  // namespace

std::wstring TLog::ConfigFileFor(const std::wstring& log_file) {
    return ExtractFilePath(log_file) + BaseName() + L".log.properties";
}

void TLog::Init(const std::wstring& log_file) {
    std::wstring config = ConfigFileFor(log_file);
    if (!FileExists(config)) {
        WriteFileBytes(config, DefaultConfiguration());
        TTextEncoding encoding;
        std::vector<std::wstring> lines = ReadLines(config, &encoding);
        for (std::wstring& line : lines) {
            if (line.find(L"kvlog.appender.fileAppender.File") != std::wstring::npos) {
                line = L"kvlog.appender.fileAppender.File=" + log_file;
                break;
            }
        }
        WriteLines(config, lines, encoding);
    }
    try {
        ConfigureFromFile(config);
    } catch (...) {
        // Logging then works as far as the configuration got.
    }
    if (!DeleteFileW(config.c_str()))
        throw EKovrinError(L"Cannot delete file \"" + config + L"\". " + SystemErrorMessage(GetLastError()));
    Warn(L" ");
}

void TLog::UnInit() {
    Warn(L" ");
    TLogger::FreeInstances();
}

void TLog::Fatal(const std::wstring& info) { Guarded([&](TLogger& root) { root.Fatal(info); }); }
void TLog::Error(const std::wstring& info) { Guarded([&](TLogger& root) { root.Error(info); }); }
void TLog::Warn(const std::wstring& info) { Guarded([&](TLogger& root) { root.Warn(info); }); }
void TLog::Info(const std::wstring& info) { Guarded([&](TLogger& root) { root.Info(info); }); }
void TLog::Debug(const std::wstring& info) { Guarded([&](TLogger& root) { root.Debug(info); }); }
void TLog::Trace(const std::wstring& info) { Guarded([&](TLogger& root) { root.Trace(info); }); }

bool TLog::SetLogLevel(const std::wstring& log_level, bool save_config, const std::wstring& log_path) {
    const TLevel* const accepted[] = {LevelFATAL, LevelERROR, LevelWARN, LevelINFO, LevelDEBUG, LevelTRACE};
    const TLevel* level = nullptr;
    for (const TLevel* candidate : accepted)
        if (candidate->GetName() == log_level) level = candidate;
    if (!level) throw EKovrinError(L"\u65E5\u5FD7\u7EA7\u522B\u4E0D\u6B63\u786E\uFF1A" + log_level);
    TLogger* root = TLogger::GetInstance();
    if (root) root->SetLevel(level);
    if (!save_config) return root != nullptr;
    std::wstring config = log_path + BaseName() + L".log.properties";
    if (!FileExists(config)) return false;
    TTextEncoding encoding;
    std::vector<std::wstring> lines = ReadLines(config, &encoding);
    for (std::wstring& line : lines) {
        if (StartsWith(line, L"kvlog.rootLogger")) {
            line = L"kvlog.rootLogger=" + log_level + L", fileAppender";
            WriteLines(config, lines, encoding);
            return root != nullptr;
        }
    }
    return false;
}

std::wstring TLog::GetLogLevelFromConfigFile(const std::wstring& log_path) {
    std::wstring config = log_path + BaseName() + L".log.properties";
    for (const std::wstring& line : ReadLines(config, nullptr)) {
        if (!StartsWith(line, L"kvlog.rootLogger")) continue;
        size_t eq = line.find(L'=');
        std::wstring value = eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
        size_t comma = value.find(L',');
        if (comma != std::wstring::npos) return value.substr(0, comma);
    }
    return {};
}
