// The printer transactions against a scripted printer on virtual time: every byte sent,
// every time-out, delay and pause, every retry.
#include "Lib_Error.h"
#include "Lib_PrinterCmd.h"
#include "Lib_String.h"
#include "ScriptedPrinter.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>

namespace {
const std::wstring kPath = L"\\\\?\\usb#vid_1fc9&pid_2016#a1#{28d78fad}";
const std::string kOpen = "open \\\\?\\usb#vid_1fc9&pid_2016#a1#{28d78fad}";

using TLines = std::vector<std::string>;
TLines operator+(TLines a, const TLines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const char kResolution[] = "1D284802003930";
const char kStatus[] = "100402";
const char kWiFiBegin[] = "1D284802003630";
const char kApply[] = "1B15";
const char kQuery[] = "1D284802003631";

class PrinterLink : public ::testing::Test {
protected:
    TScriptedLink link;
    TScriptedPrinter& printer = link.printer;
    TLines& trace = link.trace;
};

// ---- hex conversions ----

TEST(HexToBytes, ConvertsPairsIgnoringSpacesAndCase) {
    struct Case {
        const wchar_t* hex;
        int capacity;
        int result;
        std::string bytes;
    } cases[] = {
        {L"1D284802003930", 64, 7, std::string("\x1D\x28\x48\x02\x00\x39\x30", 7)},
        {L"1b 30 0a", 64, 3, "\x1B\x30\x0A"},
        {L"10040", 64, 2, "\x10\x04"},  // the unpaired last digit is dropped
        {L"", 64, 0, ""},
        {L"AABB", 2, 2, "\xAA\xBB"},
        {L"AABBCC", 2, -3, ""},  // too long: nothing stored
    };
    for (const Case& c : cases) {
        unsigned char buf[64];
        memset(buf, 0xEE, sizeof buf);
        EXPECT_EQ(HexToBytes(c.hex, buf, c.capacity), c.result) << WideToUtf8(c.hex);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), c.bytes.size()), c.bytes) << WideToUtf8(c.hex);
        EXPECT_EQ(buf[c.bytes.size()], 0xEE) << "nothing written past the pairs: " << WideToUtf8(c.hex);
    }
}

TEST(HexToBytes, RejectsNonHexDigitsWithoutStoring) {
    unsigned char buf[4] = {1, 2, 3, 4};
    EXPECT_THROW(HexToBytes(L"10ZZ", buf, 4), EKovrinError);
    EXPECT_EQ(buf[0], 1);
}

TEST(TextToHex, GivesEachCodeInUpperCaseWithAtLeastTwoDigits) {
    EXPECT_EQ(TextToHex(L"abc"), L"616263");
    EXPECT_EQ(TextToHex(L"\x01\x0A\xE9"), L"010AE9");
    EXPECT_EQ(TextToHex(L"\x4E2D"), L"4E2D");
    EXPECT_EQ(TextToHex(L""), L"");
}

// ---- GetPrinterDpi ----

TEST_F(PrinterLink, DpiReadsTheFirstTwoReplyBytesLittleEndian) {
    struct Case {
        std::string reply;
        int dpi;
    } cases[] = {{"\xCB\x00", 203}, {"\x2C\x01", 300}, {"\x58\x02\x99", 600}, {"\xCB", 203}};
    for (const Case& c : cases) {
        trace.clear();
        printer.Answer(kResolution, {c.reply});
        EXPECT_EQ(GetPrinterDpi(kPath), c.dpi) << Hex(c.reply);
        EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(0) +
                             TLines{WriteLine(kResolution), ReadLine(4096, 3000, 0, (DWORD)c.reply.size()), "close"}));
    }
}

TEST_F(PrinterLink, DpiDiscardsStaleInputBeforeAsking) {
    printer.pending = {"\x2C\x01", "\x2C\x01"};
    printer.Answer(kResolution, {std::string("\xCB\x00", 2)});
    EXPECT_EQ(GetPrinterDpi(kPath), 203);
}

TEST_F(PrinterLink, DpiRetriesTwiceAfterASecond) {
    printer.Answer(kResolution, {"", "", "\x2C\x01"});
    EXPECT_EQ(GetPrinterDpi(kPath), 300);
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(0) +
                         TLines{WriteLine(kResolution), ReadLine(4096, 3000, 0, 0), "sleep 1000",
                                ReadLine(4096, 3000, 0, 0), "sleep 1000", ReadLine(4096, 3000, 0, 2), "close"}));
}

TEST_F(PrinterLink, DpiWithoutAnswerIsZeroWhichNoCallerTakesForAResolution) {
    EXPECT_EQ(GetPrinterDpi(kPath), 0);
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(0) +
                         TLines{WriteLine(kResolution), ReadLine(4096, 3000, 0, 0), "sleep 1000",
                                ReadLine(4096, 3000, 0, 0), "sleep 1000", ReadLine(4096, 3000, 0, 0), "close"}));
}

TEST_F(PrinterLink, DpiCommandNotWrittenIsMinusTwo) {
    printer.RefuseWrite(kResolution, 6);  // one byte short
    EXPECT_EQ(GetPrinterDpi(kPath), -2);
    EXPECT_EQ(trace.back(), "close");
    EXPECT_EQ(trace[trace.size() - 2], WriteLine(kResolution));
}

// ---- GetPrinterStatus ----

TEST_F(PrinterLink, StatusDecodesTheFirstByteCoverBeforePaper) {
    struct Case {
        std::string reply;
        int status;
    } cases[] = {{"\x12", 0}, {"\x16", 2}, {"\x32", 3}, {"\x36", 2}, {"\x52", 4}, {std::string("\0", 1), 4}, {"", 1}};
    for (const Case& c : cases) {
        trace.clear();
        if (!c.reply.empty()) printer.Answer(kStatus, {c.reply});
        EXPECT_EQ(GetPrinterStatus(kPath), c.status) << Hex(c.reply);
    }
}

TEST_F(PrinterLink, StatusWaitsASecondThenReadsUntilSilence) {
    printer.Answer(kStatus, {"\x16", "\x12"});
    EXPECT_EQ(GetPrinterStatus(kPath), 2) << "the first byte decides";
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(0) +
                         TLines{WriteLine(kStatus), "sleep 1000", ReadLine(4096, 3000, 0, 1), "sleep 200",
                                ReadLine(4095, 3000, 0, 1), "sleep 200", ReadLine(4094, 3000, 0, 0), "close"}));
}

TEST_F(PrinterLink, StatusSilenceIsOneAfterASingleRead) {
    EXPECT_EQ(GetPrinterStatus(kPath), 1);
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(0) +
                         TLines{WriteLine(kStatus), "sleep 1000", ReadLine(4096, 3000, 0, 0), "close"}));
}

TEST_F(PrinterLink, StatusCommandNotWrittenIsOne) {
    printer.RefuseWrite(kStatus);
    printer.Answer(kStatus, {"\x12"});
    EXPECT_EQ(GetPrinterStatus(kPath), 1);
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(0) + TLines{WriteLine(kStatus), "close"}));
}

TEST_F(PrinterLink, StatusReplyNeverRunsPastTheBuffer) {
    printer.Answer(kStatus, {std::string(4000, '\x12'), std::string(200, '\x12'), "\x12"});
    EXPECT_EQ(GetPrinterStatus(kPath), 0);
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(0) +
                         TLines{WriteLine(kStatus), "sleep 1000", ReadLine(4096, 3000, 0, 4000), "sleep 200",
                                ReadLine(96, 3000, 0, 96), "close"}))
        << "a full buffer ends the reply";
}

// ---- every transaction on a device that cannot be opened ----

TEST_F(PrinterLink, AbsentDeviceIsMinusOneWithoutAnyExchange) {
    printer.present = false;
    EXPECT_EQ(AllTransactions(kPath), std::vector<int>(4, -1));
    EXPECT_EQ(trace, TLines(4, kOpen + " -> absent")) << "no read, write or close on a handle never opened";
}

// ---- SetPrinterWiFi ----

class WiFiSettings : public PrinterLink {
protected:
    void SetUp() override { printer.Answer(kWiFiBegin, {"OK"}); }
    TLines Opening(DWORD answered = 2) {
        return TLines{kOpen} + FlushLines(50) + TLines{WriteLine(kWiFiBegin), ReadLine(4096, 3000, 500, answered)};
    }
};

TEST_F(WiFiSettings, DhcpSendsNoStaticAddressAndAppliesAtOnce) {
    printer.Answer(kApply, {"O"});
    EXPECT_EQ(SetPrinterWiFi(kPath, L"abc", L"", true, L"127.0.0.5", L"255.0.0.0", L"127.0.0.1", 30000), 0);
    EXPECT_EQ(trace, (Opening() + TLines{WriteLine("1B09"), WriteLine("1B3300"), WriteLine("1B3003616263" "00"),
                                        WriteLine("1B3101"), WriteLine(kApply), "sleep 500",
                                        ReadLine(4096, 3000, 0, 1), "close"}));
}

TEST_F(WiFiSettings, StaticSendsTheThreeAddressFields) {
    printer.Answer(kApply, {"O"});
    EXPECT_EQ(SetPrinterWiFi(kPath, L"Lab", L"secret12", false, L"127.0.0.5", L"255.0.0.0", L"127.0.0.1", 30000), 0);
    const TLines expected = {WriteLine("1B30" "03" "4C6162" "08" "7365637265743132"), WriteLine("1B3100"),
                             WriteLine("1B3400" "09" "3132372E302E302E35" "09" "3235352E302E302E30"
                                       "09" "3132372E302E302E31"),
                             WriteLine(kApply)};
    EXPECT_EQ(TLines(trace.begin() + 7, trace.begin() + 11), expected);
}

TEST_F(WiFiSettings, SendsLatin1CharactersAsOneByteEach) {
    printer.Answer(kApply, {"O"});
    EXPECT_EQ(SetPrinterWiFi(kPath, L"caf\xE9", L"\xFF", true, L"", L"", L"", 30000), 0);
    EXPECT_EQ(trace[7], WriteLine("1B30" "04" "636166E9" "01" "FF"));
}

TEST_F(WiFiSettings, RefusesCharactersBeyondOneByteBeforeOpening) {
    const std::wstring wide = L"\x4E2D\x6587";  // would go out as 4E 2D 65 87, shifting the fields
    EXPECT_EQ(SetPrinterWiFi(kPath, wide, L"", true, L"", L"", L"", 30000), kWiFiTextNotSendable);
    EXPECT_EQ(SetPrinterWiFi(kPath, L"Lab", L"pass\x20AC" L"word", true, L"", L"", L"", 30000), kWiFiTextNotSendable);
    EXPECT_EQ(SetPrinterWiFi(kPath, L"Lab", L"", false, L"127.0.0.\xFF11", L"", L"", 30000), kWiFiTextNotSendable);
    EXPECT_TRUE(trace.empty()) << "the printer is left untouched";
}

TEST_F(WiFiSettings, AddressFieldsDoNotMatterWithDhcp) {
    printer.Answer(kApply, {"O"});
    // Left-over text in the unused address fields is never sent, so it cannot refuse the settings.
    EXPECT_EQ(SetPrinterWiFi(kPath, L"Lab", L"pw", true, L"\xFF11", L"\x4E2D", L"", 30000), 0);
    EXPECT_EQ(trace[7], WriteLine("1B30" "03" "4C6162" "02" "7077"));
}

TEST_F(WiFiSettings, CredentialsBeyondTheCommandBufferFailAtStageFour) {
    printer.Answer(kApply, {"O"});
    // 1B 30, two length bytes and 60 characters fill the 64-byte buffer exactly.
    EXPECT_EQ(SetPrinterWiFi(kPath, std::wstring(30, L'n'), std::wstring(30, L'p'), true, L"", L"", L"", 30000), 0);
    trace.clear();
    printer.Answer(kWiFiBegin, {"OK"});
    EXPECT_EQ(SetPrinterWiFi(kPath, std::wstring(31, L'n'), std::wstring(30, L'p'), true, L"", L"", L"", 30000), 4);
    EXPECT_EQ(trace, (Opening() + TLines{WriteLine("1B09"), WriteLine("1B3300"), "close"})) << "nothing of it is sent";
}

TEST(WiFiOpening, AnswerIsAwaitedUpToThreeReads) {
    struct Case {
        std::vector<std::string> pieces;
        int result;
    } cases[] = {{{"OK"}, 0}, {{"", "!"}, 0}, {{"", "", "!"}, 0}, {{"", "", "", "late"}, 1}};
    for (const Case& c : cases) {
        TScriptedLink link;
        link.printer.Answer(kWiFiBegin, c.pieces);
        link.printer.Answer(kApply, {"O"});
        EXPECT_EQ(SetPrinterWiFi(kPath, L"a", L"", true, L"", L"", L"", 30000), c.result);
        TLines expected = TLines{kOpen} + FlushLines(50) + TLines{WriteLine(kWiFiBegin)};
        for (size_t i = 0; i < c.pieces.size() && i < 3; ++i)
            expected.push_back(ReadLine(4096, 3000, 500, (DWORD)c.pieces[i].size()));
        expected.push_back(c.result == 1 ? "close" : WriteLine("1B09"));
        EXPECT_EQ(TLines(link.trace.begin(), link.trace.begin() + expected.size()), expected);
    }
}

TEST(WiFiApply, LooksOnlyAtItsOwnReply) {
    // The opening answer "xxOK" stays in the buffer behind the shorter apply reply "NG".
    TScriptedLink link;
    link.printer.Answer(kWiFiBegin, {"xxOK"});
    link.printer.Answer(kApply, {"NG"});
    EXPECT_EQ(SetPrinterWiFi(kPath, L"a", L"", true, L"", L"", L"", 30000), -99);
}

TEST_F(WiFiSettings, ApplyAnswerDecidesTheResult) {
    struct Case {
        std::string reply;
        int result;
    } cases[] = {
        {"O", 0}, {"OK", 0}, {"xOK", 0}, {"NG", -99}, {"OKx", 0}, {"KOK", 0}, {std::string("\0OK", 3), 0}, {"xO", -99},
        {std::string("x\0OK", 4), -99},  // the reply text ends at the zero byte
    };
    for (const Case& c : cases) {
        printer.Answer(kWiFiBegin, {"OK"});
        printer.Answer(kApply, {c.reply});
        EXPECT_EQ(SetPrinterWiFi(kPath, L"a", L"", true, L"", L"", L"", 30000), c.result) << Hex(c.reply);
    }
}

TEST_F(WiFiSettings, SilenceAfterApplyEndsWhenTheTimeOutHasPassed) {
    EXPECT_EQ(SetPrinterWiFi(kPath, L"a", L"", true, L"", L"", L"", 30000), 10);
    TLines expected = Opening() + TLines{WriteLine("1B09"), WriteLine("1B3300"), WriteLine("1B300161" "00"),
                                         WriteLine("1B3101"), WriteLine(kApply)};
    // Each round is a 500 ms pause and a 3000 ms read: 9 rounds pass 30000 ms.
    for (int i = 0; i < 9; ++i) expected = expected + TLines{"sleep 500", ReadLine(4096, 3000, 0, 0)};
    EXPECT_EQ(trace, (expected + TLines{"close"}));
}

TEST_F(WiFiSettings, NoTimeOutWaitsUntilThePrinterAnswers) {
    std::vector<std::string> late(40, "");
    late.push_back("xOK");
    printer.Answer(kApply, late);
    EXPECT_EQ(SetPrinterWiFi(kPath, L"a", L"", true, L"", L"", L"", 0), 0);
    EXPECT_EQ(trace[trace.size() - 2], ReadLine(4096, 3000, 0, 3));
}

TEST_F(WiFiSettings, AStepNotWrittenEndsWithItsStageCode) {
    struct Case {
        const char* refused;
        bool dhcp;
        int stage;
    } cases[] = {
        {kWiFiBegin, true, 1}, {"1B09", true, 2}, {"1B3300", true, 3}, {"1B30", true, 4},
        {"1B31", true, 5},     {"1B3400", false, 6}, {kApply, true, 10},
    };
    for (const Case& c : cases) {
        TScriptedLink fresh;
        fresh.printer.Answer(kWiFiBegin, {"OK"});
        fresh.printer.Answer(kApply, {"O"});
        fresh.printer.RefuseWrite(c.refused, 1);
        EXPECT_EQ(SetPrinterWiFi(kPath, L"a", L"b", c.dhcp, L"127.0.0.2", L"255.0.0.0", L"127.0.0.1", 30000), c.stage)
            << c.refused;
        ASSERT_GE(fresh.trace.size(), 2u);
        EXPECT_EQ(fresh.trace[fresh.trace.size() - 2].rfind("write " + Hex(Bytes(c.refused)), 0), 0u)
            << "the refused step is the last one tried: " << c.refused;
        EXPECT_EQ(fresh.trace.back(), "close");
    }
}

// ---- GetPrinterWiFi ----

class WiFiReadBack : public PrinterLink {
protected:
    std::wstring name = L"-", ip = L"-";
    bool dhcp = false;
    int state = -7;
    int Query() { return GetPrinterWiFi(kPath, name, ip, dhcp, state); }
    static std::string Reply(const std::string& fields) { return "\x1D\x31" + fields + "\r\n"; }
    static TLines Attempt(DWORD got) {
        TLines lines = FlushLines(50) + TLines{WriteLine(kQuery), ReadLine(4096, 3000, 1000, got)};
        if (got > 0) lines.push_back(ReadLine(4096 - got, 3000, 200, 0));
        return lines;
    }
};

TEST_F(WiFiReadBack, EightFieldsGiveStateFromFourAndAddressFromFive) {
    const std::string reply = Reply("Lab,WPA2,6,1,1,127.0.0.9,255.0.0.0,127.0.0.1");
    printer.Answer(kQuery, {reply});
    EXPECT_EQ(Query(), 0);
    EXPECT_EQ(name, L"Lab");
    EXPECT_EQ(ip, L"127.0.0.9");
    EXPECT_TRUE(dhcp);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(trace, (TLines{kOpen} + Attempt((DWORD)reply.size()) + TLines{"close"}));
}

TEST_F(WiFiReadBack, FieldsCountFromTheEndAndEmptyOnesCount) {
    struct Case {
        std::string fields;
        std::wstring name, ip;
        bool dhcp;
        int state;
    } cases[] = {
        {"Net,a,b,0,x,y,2,127.0.0.7,m,g", L"Net", L"127.0.0.7", false, 2},
        {"Net,,,01,,-3,127.0.0.8,,", L"Net", L"127.0.0.8", false, -3},
        {",a,b,1,c,+4,127.0.0.2,m,g", L"", L"127.0.0.2", true, 4},
        {"My\r\nNet,a,b,1,1,127.0.0.3,m,g\r\n", L"MyNet", L"127.0.0.3", true, 1},  // CR LF pairs vanish
    };
    for (const Case& c : cases) {
        printer.Answer(kQuery, {Reply(c.fields)});
        EXPECT_EQ(Query(), 0) << c.fields;
        EXPECT_EQ(name, c.name) << c.fields;
        EXPECT_EQ(ip, c.ip) << c.fields;
        EXPECT_EQ(dhcp, c.dhcp) << c.fields;
        EXPECT_EQ(state, c.state) << c.fields;
    }
}

TEST_F(WiFiReadBack, ReplyInPiecesIsAppended) {
    printer.Answer(kQuery, {"\x1D\x31Lab,WPA2,6,0,", "1,127.0.0.4,255.0.0.0,", "127.0.0.1"});
    EXPECT_EQ(Query(), 0);
    EXPECT_EQ(ip, L"127.0.0.4");
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(50) +
                         TLines{WriteLine(kQuery), ReadLine(4096, 3000, 1000, 15), ReadLine(4081, 3000, 200, 22),
                                ReadLine(4059, 3000, 200, 9), ReadLine(4050, 3000, 200, 0), "close"}));
}

TEST_F(WiFiReadBack, IncompleteOrMissingRepliesMoveOnToTheNextAttempt) {
    printer.RefuseWrite(kQuery);  // attempt 1: not written
    EXPECT_EQ(Query(), 1);
    EXPECT_EQ(trace.size(), 1u + 7 * 3 + 1) << "seven attempts of flush and write, no reads";
    trace.clear();
    TScriptedLink fresh;
    const std::string short7 = Reply("Lab,a,b,1,1,127.0.0.9,m");
    const std::string good = Reply("Lab,a,b,1,1,127.0.0.9,m,g");
    fresh.printer.Answer(kQuery, {""});     // no byte at all
    fresh.printer.Answer(kQuery, {short7});  // seven fields
    fresh.printer.Answer(kQuery, {good});
    EXPECT_EQ(Query(), 0);
    EXPECT_EQ(fresh.trace, (TLines{kOpen} + Attempt(0) + Attempt((DWORD)short7.size()) +
                               Attempt((DWORD)good.size()) + TLines{"close"}))
        << "no pause between such attempts";
}

TEST_F(WiFiReadBack, SevenAttemptsWithoutAddressGiveOneAndKeepTheLastReply) {
    const std::string noAddress = Reply("Lab,a,b,1,0,0.0.0.0,0.0.0.0,0.0.0.0");
    TLines expected{kOpen};
    for (int i = 0; i < 7; ++i) {
        printer.Answer(kQuery, {noAddress});
        expected = expected + Attempt((DWORD)noAddress.size()) + TLines{"sleep 1500"};
    }
    EXPECT_EQ(Query(), 1);
    EXPECT_EQ(ip, L"0.0.0.0");
    EXPECT_EQ(name, L"Lab");
    EXPECT_EQ(state, 0);
    EXPECT_EQ(trace, (expected + TLines{"close"}));
}

TEST_F(WiFiReadBack, AddressAppearingOnTheThirdAttempt) {
    printer.Answer(kQuery, {Reply("Lab,a,b,1,0,0.0.0.0,m,g")});
    printer.Answer(kQuery, {Reply("Lab,a,b,1,0,0.0.0.0,m,g")});
    printer.Answer(kQuery, {Reply("Lab,a,b,1,1,127.0.0.6,m,g")});
    EXPECT_EQ(Query(), 0);
    EXPECT_EQ(ip, L"127.0.0.6");
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "sleep 1500"), 2);
}

TEST_F(WiFiReadBack, SilenceLeavesTheOutValuesAlone) {
    EXPECT_EQ(Query(), 1);
    EXPECT_EQ(name, L"-");
    EXPECT_EQ(ip, L"-");
    EXPECT_EQ(state, -7);
}

TEST_F(WiFiReadBack, StateThatIsNotDecimalRaisesAfterClosing) {
    for (const char* bad : {"x1", "", "1a", " 1", "0x1", "-", "99999999999"}) {
        trace.clear();
        printer.Answer(kQuery, {Reply(std::string("Lab,a,b,1,") + bad + ",127.0.0.9,m,g")});
        try {
            Query();
            ADD_FAILURE() << "no error for state '" << bad << "'";
        } catch (const EKovrinError& e) {
            EXPECT_NE(e.Message().find(L"is not a valid integer value"), std::wstring::npos);
        }
        EXPECT_EQ(trace.back(), "close") << bad;
        EXPECT_EQ(ip, L"-") << "the out values stay as they were";
    }
}

TEST_F(WiFiReadBack, FullBufferWithoutTerminatorStaysInBounds) {
    std::string reply = "\x1D\x31Lab,a,b,1,1,127.0.0.5,m,";
    reply += std::string(4096 - reply.size(), 'g');
    printer.Answer(kQuery, {reply, "never read"});
    EXPECT_EQ(Query(), 0);
    EXPECT_EQ(ip, L"127.0.0.5");
    EXPECT_EQ(trace, (TLines{kOpen} + FlushLines(50) + TLines{WriteLine(kQuery), ReadLine(4096, 3000, 1000, 4096), "close"}));
}
}  // namespace
