// A private folder as the current directory, a fixed clock and fixed locale values,
// and a clean logger registry after every test.
#pragma once
#include "TAppenderUnit.h"
#include "TPatternLayoutUnit.h"
#include "Lib_String.h"
#include "TestUtil.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// 2025-03-07 (a Friday) 14:05:09.123 unless a test sets another time.
extern SYSTEMTIME g_fixedTime;
void SetFixedTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms);
// English names, "/" and ":" separators.
const TFormatSettings& TestSettings();

// Moves the folder aside (open files inside stay open) and puts a file in its place, so
// that nothing can be created under the old path. Returns where the folder went.
std::wstring BlockFolder(const std::wstring& folder);

class LogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring File(const std::wstring& name) const { return m_dir.File(name); }

    TTempDir m_dir;

private:
    std::wstring m_oldDir;
};

// Collects "LEVEL:message" for every event that reaches it.
class TRecordingAppender : public TAppender {
public:
    TRecordingAppender() : TAppender(L"TRecordingAppender") { FClosed = false; }
    std::vector<std::wstring> Seen;

protected:
    void Append(const TLoggingEvent& AEvent) override {
        Seen.push_back(AEvent.GetLevel()->GetName() + L":" + AEvent.GetMessage());
    }
};
