#include "LogFixture.h"
#include "Lib_Log.h"
#include "Lib_String.h"
#include "TLoggerUnit.h"
#include "TLoggingEventUnit.h"

SYSTEMTIME g_fixedTime;

void SetFixedTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms) {
    g_fixedTime = SYSTEMTIME{};
    g_fixedTime.wYear = year;
    g_fixedTime.wMonth = month;
    g_fixedTime.wDay = day;
    g_fixedTime.wHour = hour;
    g_fixedTime.wMinute = minute;
    g_fixedTime.wSecond = second;
    g_fixedTime.wMilliseconds = ms;
    // Day of week from the calendar, so that day names stay true to the date.
    FILETIME ft;
    SystemTimeToFileTime(&g_fixedTime, &ft);
    FileTimeToSystemTime(&ft, &g_fixedTime);
}

const TFormatSettings& TestSettings() {
    static const TFormatSettings fs = [] {
        TFormatSettings s;
        const wchar_t* longMonths[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                       L"July",    L"August",   L"September", L"October", L"November", L"December"};
        const wchar_t* longDays[] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
        for (int i = 0; i < 12; ++i) {
            s.LongMonthNames[i] = longMonths[i];
            s.ShortMonthNames[i] = s.LongMonthNames[i].substr(0, 3);
        }
        for (int i = 0; i < 7; ++i) {
            s.LongDayNames[i] = longDays[i];
            s.ShortDayNames[i] = s.LongDayNames[i].substr(0, 3);
        }
        s.DateSeparator = L"/";
        s.TimeSeparator = L":";
        s.ShortDateFormat = L"dd/mm/yyyy";
        s.LongDateFormat = L"dddd, d mmmm yyyy";
        s.ShortTimeFormat = L"hh:nn";
        s.LongTimeFormat = L"hh:nn:ss";
        s.TimeAMString = L"AM";
        s.TimePMString = L"PM";
        s.EraName = L"A.D.";
        return s;
    }();
    return fs;
}

void LogFixture::SetUp() {
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    m_oldDir = cwd;
    SetCurrentDirectoryW(m_dir.Path().c_str());  // kvlog.log goes to the current directory
    SetFixedTime(2025, 3, 7, 14, 5, 9, 123);
    SetLocalTimeSource([](SYSTEMTIME* t) { *t = g_fixedTime; });
    SetFormatSettings(&TestSettings());
    SetProgramPathForTest(m_dir.File(L"Kovrin.exe"));
    g_LogInfo = 0;
}

void LogFixture::TearDown() {
    TLogger::FreeInstances();
    TLogger::SetStartingLevel(LevelALL);
    SetLocalTimeSource(nullptr);
    SetFormatSettings(nullptr);
    SetProgramPathForTest(L"");
    g_LogInfo = 0;
    SetCurrentDirectoryW(m_oldDir.c_str());
}

std::wstring BlockFolder(const std::wstring& folder) {
    static int counter = 0;
    std::wstring moved = folder + L".moved" + std::to_wstring(++counter);
    MoveFileW(folder.c_str(), moved.c_str());
    WriteBytes(folder, "in the way");
    return moved;
}
