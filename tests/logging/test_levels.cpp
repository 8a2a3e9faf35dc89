// Level table, logger registry, level filtering and the internal log.
#include "LogFixture.h"
#include "Lib_Error.h"
#include "TLevelUnit.h"
#include "TLogLogUnit.h"
#include "TLoggerUnit.h"
#include <climits>
#include <memory>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(LevelTable, NamesValuesAndLookup) {
    struct Case { const TLevel* level; const wchar_t* name; int value; };
    const Case cases[] = {{LevelOFF, L"OFF", INT_MAX},   {LevelFATAL, L"FATAL", 60000}, {LevelERROR, L"ERROR", 50000},
                          {LevelWARN, L"WARN", 40000},   {LevelINFO, L"INFO", 30000},   {LevelDEBUG, L"DEBUG", 20000},
                          {LevelTRACE, L"TRACE", 10000}, {LevelALL, L"ALL", INT_MIN}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.level->GetName(), c.name);
        EXPECT_EQ(c.level->GetValue(), c.value);
        EXPECT_EQ(LevelFromName(c.name), c.level);
    }
    EXPECT_EQ(LevelFromName(L"warn"), LevelWARN);
    EXPECT_EQ(LevelFromName(L"Off"), LevelOFF);
    EXPECT_EQ(LevelFromName(L"WARNING"), nullptr);
    EXPECT_EQ(LevelFromName(L""), nullptr);
}

TEST(LevelTable, SignedComparisonAndAbsentLevel) {
    EXPECT_TRUE(LevelOFF->IsGreaterOrEqual(LevelFATAL));
    EXPECT_FALSE(LevelALL->IsGreaterOrEqual(LevelTRACE));  // a wrap-around would say otherwise
    EXPECT_TRUE(LevelTRACE->IsGreaterOrEqual(LevelALL));
    EXPECT_TRUE(LevelINFO->IsGreaterOrEqual(LevelINFO));
    try {
        LevelINFO->IsGreaterOrEqual(nullptr);
        FAIL() << "no error for an absent level";
    } catch (const EKovrinError& e) {
        EXPECT_EQ(e.Message(), L"Level is Nil");
    }
}

using LoggerTest = LogFixture;

TEST_F(LoggerTest, LoggerLevelFiltersMessages) {
    struct Case { const TLevel* level; std::vector<std::wstring> passed; };
    const Case cases[] = {
        {LevelINFO, {L"FATAL:f", L"ERROR:e", L"WARN:w", L"INFO:i"}},
        {LevelOFF, {}},
        {LevelALL, {L"FATAL:f", L"ERROR:e", L"WARN:w", L"INFO:i", L"DEBUG:d", L"TRACE:t"}},
        {LevelTRACE, {L"FATAL:f", L"ERROR:e", L"WARN:w", L"INFO:i", L"DEBUG:d", L"TRACE:t"}},
    };
    for (const Case& c : cases) {
        TLogger logger(L"x", c.level);
        auto appender = std::make_shared<TRecordingAppender>();
        logger.AddAppender(appender);
        logger.Fatal(L"f");
        logger.Error(L"e");
        logger.Warn(L"w");
        logger.Info(L"i");
        logger.Debug(L"d");
        logger.Trace(L"t");
        EXPECT_EQ(appender->Seen, c.passed) << c.level->GetName().c_str();
    }
}

TEST_F(LoggerTest, LoggerWithoutLevelFails) {
    TLogger logger(L"x", LevelINFO);
    logger.SetLevel(nullptr);
    try {
        logger.Info(L"lost");
        FAIL() << "no error";
    } catch (const EKovrinError& e) {
        EXPECT_EQ(e.Message(), L"Level is Nil");
    }
}

TEST_F(LoggerTest, RegistryNamesIgnoreCaseAndRootComesFirst) {
    EXPECT_EQ(TLogger::GetInstance(), nullptr);
    TLogger::SetStartingLevel(LevelWARN);
    TLogger* a = TLogger::GetInstance(L"Installer");
    TLogger* root = TLogger::GetInstance();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"ROOT");
    EXPECT_EQ(root->GetLevel(), LevelALL);
    EXPECT_EQ(TLogger::GetInstance(L"root"), root);
    EXPECT_EQ(TLogger::GetInstance(L"INSTALLER"), a);
    EXPECT_EQ(a->GetLevel(), LevelWARN);
}

TEST_F(LoggerTest, NamedLoggerWritesOnlyToItsOwnAppenders) {
    auto rootAppender = std::make_shared<TRecordingAppender>();
    auto namedAppender = std::make_shared<TRecordingAppender>();
    TLogger::GetInstance(L"named")->AddAppender(namedAppender);
    TLogger::GetInstance()->AddAppender(rootAppender);
    TLogger::GetInstance(L"named")->Info(L"n");
    EXPECT_THAT(namedAppender->Seen, ElementsAre(L"INFO:n"));
    EXPECT_THAT(rootAppender->Seen, IsEmpty());
}

TEST_F(LoggerTest, AddingTheSameAppenderTwiceKeepsOne) {
    TLogger logger(L"x", LevelALL);
    auto appender = std::make_shared<TRecordingAppender>();
    logger.AddAppender(appender);
    logger.AddAppender(appender);
    logger.Info(L"once");
    EXPECT_THAT(appender->Seen, ElementsAre(L"INFO:once"));
    logger.RemoveAllAppenders();
    logger.Info(L"none");
    EXPECT_EQ(appender->Seen.size(), 1u);
}

TEST_F(LoggerTest, InternalLogIsBufferedAnsiWithPrefixes) {
    TLogLog::Debug(L"dropped while closed");
    std::wstring path = File(L"kvlog.log");
    TLogLog::OpenInternalLog(path);
    TLogLog::Debug(L"one");
    TLogLog::Info(L"two");
    TLogLog::Warn(L"three");
    TLogLog::Error(L"four");
    TLogLog::Fatal(L"five");
    EXPECT_EQ(ReadBytes(path), "") << "short lines wait in the buffer";
    std::wstring longLine(200, L'x');
    TLogLog::Info(longLine);
    EXPECT_EQ(ReadBytes(path).size() % 128, 0u) << "whole buffers reach the disk";
    TLogLog::CloseInternalLog();
    EXPECT_EQ(ReadBytes(path), "DEBUG: one\r\nINFO: two\r\nWARN: three\r\nERROR: four\r\nFATAL: five\r\nINFO: " +
                                   std::string(200, 'x') + "\r\n");
}

TEST(LoggingEvent, RealClockGivesTheLocalTime) {
    auto ticks = [](const SYSTEMTIME& t) {
        FILETIME ft;
        SystemTimeToFileTime(&t, &ft);
        return (long long)((ULONGLONG)ft.dwHighDateTime << 32 | ft.dwLowDateTime);
    };
    SYSTEMTIME before;
    GetLocalTime(&before);
    TLoggingEvent first(LevelINFO, L"m", L"ROOT");
    TLoggingEvent second(LevelINFO, L"m", L"ROOT");
    SYSTEMTIME after;
    GetLocalTime(&after);
    EXPECT_GE(ticks(first.GetStartTime()), ticks(before) - 10000);  // within the clocks' millisecond
    EXPECT_LE(ticks(second.GetStartTime()), ticks(after) + 10000);
    EXPECT_LE(ticks(first.GetStartTime()), ticks(second.GetStartTime()));
    EXPECT_EQ(first.GetStartTime().wDayOfWeek, after.wDayOfWeek);
}
