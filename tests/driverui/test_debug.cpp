// Debug output: bounded wide buffer, growing narrow buffer, levels.
#include "DriverUiHost.h"
#include "debug.h"
#include <gtest/gtest.h>

TEST(DebugOutput, WideMessagesAreCutAt260Characters) {
    TSinkCapture sink;
    std::wstring longText(300, L'x');
    EXPECT_EQ(DebugPrintW(L"%ls", longText.c_str()), TRUE);
    EXPECT_EQ(DebugPrintW(L"UI:  %d [%ls]\r\n", 7, L"Label"), TRUE);
    ASSERT_EQ(sink.Lines().size(), 2u);
    EXPECT_EQ(sink.Lines()[0], std::wstring(260, L'x'));
    EXPECT_EQ(sink.Lines()[1], L"UI:  7 [Label]\r\n");
}

TEST(DebugOutput, WideMessageOfExactlyTheBufferSizeIsWhole) {
    TSinkCapture sink;
    std::wstring text(260, L'y');
    DebugPrintW(L"%ls", text.c_str());
    ASSERT_EQ(sink.Lines().size(), 1u);
    EXPECT_EQ(sink.Lines()[0], text);
}

TEST(DebugOutput, NarrowMessagesGrowTheirBuffer) {
    TSinkCapture sink;
    std::string longText(5000, 'z');
    EXPECT_EQ(DebugPrintA("%s!", longText.c_str()), TRUE);
    EXPECT_EQ(DebugPrintA("short %d\r\n", 3), TRUE);
    ASSERT_EQ(sink.NarrowLines().size(), 2u);
    EXPECT_EQ(sink.NarrowLines()[0], longText + "!");
    EXPECT_EQ(sink.NarrowLines()[1], "short 3\r\n");
}

TEST(DebugOutput, NullFormatWritesNothing) {
    TSinkCapture sink;
    EXPECT_EQ(DebugPrintW(nullptr), FALSE);
    EXPECT_EQ(DebugPrintA(nullptr), FALSE);
    EXPECT_TRUE(sink.Lines().empty());
    EXPECT_TRUE(sink.NarrowLines().empty());
}

TEST(DebugOutput, LevelsBelowDebugLevelAreDropped) {
    TSinkCapture sink;
    EXPECT_EQ(DebugLevel, 1u);  // every message is written
    DbgW(DBG_VERBOSE, L"verbose");
    DebugLevel = DBG_WARNING;
    DbgW(DBG_VERBOSE, L"dropped");
    DbgW(DBG_TERSE, L"dropped");
    DbgW(DBG_WARNING, L"warning");
    DbgA(DBG_TERSE, "dropped");
    DbgA(DBG_ERROR, "error");
    DebugLevel = DBG_VERBOSE;
    EXPECT_EQ(sink.Lines(), (std::vector<std::wstring>{L"verbose", L"warning"}));
    EXPECT_EQ(sink.NarrowLines(), (std::vector<std::string>{"error"}));
}

TEST(DebugOutput, BrokenInvariantIsReportedNotFatal) {
    TSinkCapture sink;
    OemAssert(true, L"0 == m_cRef", L"lpdriverui\\intrface", 64);
    EXPECT_TRUE(sink.Lines().empty());
    OemAssert(false, L"0 == m_cRef", L"lpdriverui\\intrface", 64);
    ASSERT_EQ(sink.Lines().size(), 1u);
    EXPECT_EQ(sink.Lines()[0], L"UI:  Assertion failed: 0 == m_cRef, file lpdriverui\\intrface, line 64\r\n");
}
