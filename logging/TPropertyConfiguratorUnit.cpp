#include "TPropertyConfiguratorUnit.h"
#include "Lib_Error.h"
#include "Lib_String.h"
#include "THTMLLayoutUnit.h"
#include "TLogLogUnit.h"
#include "TOptionConverterUnit.h"
#include "TPatternLayoutUnit.h"
#include "TPrintWriterUnit.h"
#include "TRollingFileAppenderUnit.h"
#include "TSimpleLayoutUnit.h"
#include "TStringUnit.h"
#include "TXMLLayoutUnit.h"
#include <vector>

namespace {
const wchar_t kAppenderPrefix[] = L"kvlog.appender.";
const wchar_t kLoggerPrefix[] = L"kvlog.logger.";

// The appenders made during one configuration run, so that loggers naming the same
// appender share it.
std::vector<TAppenderRef> g_appenderTable;

bool IsTrue(const std::wstring& value) { return SameText(value, L"true"); }

std::wstring CurrentDirectory() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    n = GetCurrentDirectoryW(n, &dir[0]);
    dir.resize(n);
    return dir;
}
}  // namespace

void ConfigureFromFile(const std::wstring& AFileName) {
    TLogger::SetStartingLevel(LevelALL);
    TLogger::PrepareRegistry();
    TProperties props;
    try {
        props.Load(ReadFileBytes(AFileName));
        ConfigureFromProperties(props);
    } catch (const std::exception& e) {
        g_appenderTable.clear();
        TLogLog::Error(L"Could not read configuration file [" + AFileName + L"] " + ErrorMessageOf(e));
        TLogLog::Error(L"Ignoring configuration file [" + AFileName + L"]");
    }
}

void ConfigureFromProperties(const TProperties& AProps) {
    g_appenderTable.clear();
    if (IsTrue(AProps.GetProperty(L"kvlog.debug")))
        TLogLog::OpenInternalLog(IncludeTrailingBackslash(CurrentDirectory()) + L"kvlog.log");
    if (const TLevel* threshold = LevelFromName(AProps.GetProperty(L"kvlog.threshold")))
        TLogger::SetStartingLevel(threshold);
    ConfigureRootLogger(AProps);
    ConfigureLoggers(AProps);
    g_appenderTable.clear();
    TLogLog::Debug(L"Finished configuring.");
}

void ConfigureRootLogger(const TProperties& AProps) {
    TLogLog::Info(L"Configuring root logger.");
    std::wstring value = TOptionConverter::FindAndSubst(L"kvlog.rootLogger", AProps);
    if (!value.empty())
        ParseLogger(AProps, TLogger::GetInstance(), value, L"ROOT");
    else
        TLogLog::Debug(L"Could not find root logger information.");
}

void ConfigureLoggers(const TProperties& AProps) {
    const size_t prefixLength = wcslen(kLoggerPrefix);
    for (const std::wstring& key : AProps.GetPropertyNames()) {
        if (!StartsWith(key, kLoggerPrefix)) continue;
        std::wstring name = key.substr(prefixLength);
        std::wstring value = TOptionConverter::FindAndSubst(key, AProps);
        ParseLogger(AProps, TLogger::GetInstance(name), value, name);
    }
}

void ParseLogger(const TProperties& AProps, TLogger* ALogger, const std::wstring& AValue, const std::wstring& AName) {
    TLogLog::Debug(L"Parsing for [" + AName + L"] with value=[" + AValue + L"].");
    TStringTokenizer tokens(AValue, L",");
    if (!AValue.empty() && AValue[0] != L',') {
        std::wstring levelName = Trim(tokens.NextToken());
        TLogLog::Debug(L"Level token is [" + levelName + L"].");
        if (!levelName.empty()) ALogger->SetLevel(LevelFromName(levelName));
        TLogLog::Info(L"Category " + AName + L" set to " + LevelNameOf(ALogger->GetLevel()));
    }
    ALogger->RemoveAllAppenders();
    while (tokens.HasMoreTokens()) {
        std::wstring appenderName = Trim(tokens.NextToken());
        if (appenderName.empty()) continue;
        TLogLog::Debug(L"Parsing appender named \"" + appenderName + L"\".");
        if (TAppenderRef appender = ParseAppender(AProps, appenderName)) ALogger->AddAppender(appender);
    }
}

TAppenderRef ParseAppender(const TProperties& AProps, const std::wstring& AAppenderName) {
    for (const TAppenderRef& known : g_appenderTable)
        if (SameText(known->GetName(), AAppenderName)) return known;
    std::wstring prefix = kAppenderPrefix + AAppenderName;
    TAppenderRef appender = InstantiateAppender(AProps.GetProperty(prefix), AProps, prefix);
    if (!appender) {
        TLogLog::Error(L"Could not instantiate appender named \"" + AAppenderName + L"\".");
        return nullptr;
    }
    appender->SetName(AAppenderName);
    if (appender->RequiresLayout()) {
        std::wstring layoutPrefix = prefix + L".layout";
        if (auto layout = InstantiateLayout(AProps.GetProperty(layoutPrefix), AProps, layoutPrefix)) {
            appender->SetLayout(std::move(layout));
            TLogLog::Debug(L"Set layout for \"" + AAppenderName + L"\".");
        }
    }
    TLogLog::Debug(L"Parsed \"" + AAppenderName + L"\" options.");
    g_appenderTable.push_back(appender);
    return appender;
}

TAppenderRef InstantiateAppender(const std::wstring& AClassName, const TProperties& AProps,
                                 const std::wstring& APrefix) {
    TLogLog::Debug(L"InstantiateAppender: " + AClassName + L", " + APrefix);
    // Class names compare without case, but must carry "FileAppender" exactly so.
    if (AClassName.find(L"FileAppender") == std::wstring::npos) return nullptr;
    std::shared_ptr<TFileAppender> appender;
    if (SameText(AClassName, L"TFileAppender")) {
        appender = std::make_shared<TFileAppender>();
        TLogLog::Debug(L"TFileAppender created.");
    } else if (SameText(AClassName, L"TRollingFileAppender")) {
        auto rolling = std::make_shared<TRollingFileAppender>();
        TLogLog::Debug(L"TRollingFileAppender created.");
        std::wstring index = AProps.GetProperty(APrefix + L".MaxBackupIndex");
        if (!index.empty()) {
            rolling->SetMaxBackupIndex(StrToInt(index));
            TLogLog::Debug(AClassName + L" - MaxBackupIndex");
        }
        std::wstring size = AProps.GetProperty(APrefix + L".MaxFileSize");
        if (!size.empty()) {
            rolling->SetMaxFileSize(size);
            TLogLog::Debug(AClassName + L" - MaxFileSize");
        }
        appender = rolling;
    } else {
        return nullptr;
    }
    if (IsTrue(AProps.GetProperty(APrefix + L".Append"))) {
        appender->setAppend(true);
        TLogLog::Debug(AClassName + L" - Append");
    }
    bool appDir = IsTrue(AProps.GetProperty(APrefix + L".AppDir"));
    if (appDir) TLogLog::Debug(AClassName + L" - AppDir");
    std::wstring file = AProps.GetProperty(APrefix + L".File");
    if (!file.empty()) {
        if (appDir) file = ExtractFileDir(ProgramPath()) + L"\\" + file;
        appender->SetFile(file);
        TLogLog::Debug(AClassName + L" - " + file);
    }
    return appender;
}

std::unique_ptr<TLayout> InstantiateLayout(const std::wstring& AClassName, const TProperties& AProps,
                                           const std::wstring& APrefix) {
    TLogLog::Debug(L"InstantiateLayout: " + AClassName + L", " + APrefix);
    if (SameText(AClassName, L"TSimpleLayout")) return std::make_unique<TSimpleLayout>();
    if (SameText(AClassName, L"THTMLLayout")) {
        auto html = std::make_unique<THTMLLayout>();
        std::wstring title = AProps.GetProperty(APrefix + L".Title");
        TLogLog::Debug(L"InstantiateLayout tmp=" + title);
        html->SetTitle(title);
        return html;
    }
    if (SameText(AClassName, L"TXMLLayout")) return std::make_unique<TXMLLayout>();
    if (SameText(AClassName, L"TPatternLayout"))
        return std::make_unique<TPatternLayout>(AProps.GetProperty(APrefix + L".Pattern"));
    return nullptr;
}
