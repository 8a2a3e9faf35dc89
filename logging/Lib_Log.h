// The setup program's only door to logging: prepares the configuration at start-up
// and hands texts to the root logger.
#pragma once
#include <string>

// Log verbosity: texts are written only while it is above 0; callers add detail above 1.
extern int g_LogInfo;

class TLog {
public:
    TLog() = delete;

    // Writes the default configuration beside log_file (unless one is there already),
    // applies it and deletes it. Raises EKovrinError when the log folder is missing or
    // cannot be written, or the configuration file cannot be deleted.
    static void Init(const std::wstring& log_file);
    static void UnInit();

    // Gated by g_LogInfo. A library error while writing (a log file that cannot be
    // reopened after a roll-over) reaches the caller once; later records are dropped.
    static void Fatal(const std::wstring& info);
    static void Error(const std::wstring& info);
    static void Warn(const std::wstring& info);
    static void Info(const std::wstring& info);
    static void Debug(const std::wstring& info);
    static void Trace(const std::wstring& info);

    // Raises EKovrinError for any name but FATAL, ERROR, WARN, INFO, DEBUG, TRACE.
    // Returns whether everything asked was done (the level set and, if asked, saved).
    static bool SetLogLevel(const std::wstring& log_level, bool save_config, const std::wstring& log_path);
    // Raises EKovrinError when the configuration file cannot be read.
    static std::wstring GetLogLevelFromConfigFile(const std::wstring& log_path);

    // The configuration file name for a log file: its folder, the program's base name
    // and ".log.properties".
    static std::wstring ConfigFileFor(const std::wstring& log_file);
};
