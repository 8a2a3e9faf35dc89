// Builds loggers, appenders and layouts from a log configuration file.
#pragma once
#include "TAppenderUnit.h"
#include "TLoggerUnit.h"
#include "TPropertiesUnit.h"
#include <memory>
#include <string>

// Never fails: problems with the file go to the internal log, and what was applied stays.
void ConfigureFromFile(const std::wstring& AFileName);
void ConfigureFromProperties(const TProperties& AProps);
void ConfigureRootLogger(const TProperties& AProps);
void ConfigureLoggers(const TProperties& AProps);
void ParseLogger(const TProperties& AProps, TLogger* ALogger, const std::wstring& AValue, const std::wstring& AName);
TAppenderRef ParseAppender(const TProperties& AProps, const std::wstring& AAppenderName);
TAppenderRef InstantiateAppender(const std::wstring& AClassName, const TProperties& AProps,
                                 const std::wstring& APrefix);
std::unique_ptr<TLayout> InstantiateLayout(const std::wstring& AClassName, const TProperties& AProps,
                                           const std::wstring& APrefix);
