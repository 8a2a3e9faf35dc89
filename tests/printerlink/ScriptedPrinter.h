// A scripted printer on virtual time. Every call the transactions make (open, each write
// with its bytes, each read with its size, time-out and delay, each clock pause, close)
// lands in one trace, so a test compares the whole exchange at once.
#pragma once
#include "Lib_Services.h"
#include "Lib_UsbPrinter.h"
#include <deque>
#include <map>
#include <string>
#include <vector>

std::string Hex(const std::string& bytes);  // "1B 30 03"
std::string Bytes(const std::string& hex);  // "1B3003" or "1B 30 03" -> bytes

class TVirtualClock : public IClock {
public:
    explicit TVirtualClock(std::vector<std::string>& trace) : m_trace(trace) {}
    void Sleep(DWORD ms) override;
    ULONGLONG TickCount() override { return now; }
    ULONGLONG now = 5000000;

private:
    std::vector<std::string>& m_trace;
};

class TScriptedPrinter : public IPrinterChannel {
public:
    TScriptedPrinter(std::vector<std::string>& trace, TVirtualClock& clock) : m_trace(trace), m_clock(clock) {}

    // The next write of exactly these bytes (hex) makes the following reads deliver the
    // pieces, one per read; an empty piece is a read that times out. Answers for the same
    // command are used in the order given.
    void Answer(const std::string& commandHex, std::vector<std::string> pieces);
    // A write whose bytes begin with this hex reports `accepted` bytes instead of all of them.
    void RefuseWrite(const std::string& prefixHex, DWORD accepted = 0) { m_refused[Bytes(prefixHex)] = accepted; }

    bool present = true;              // false: the device cannot be opened
    std::deque<std::string> pending;  // what the next reads deliver (stale data, for instance)

    bool Open(const std::wstring& path) override;
    DWORD Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) override;
    DWORD Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) override;
    void Close() override;

private:
    std::vector<std::string>& m_trace;
    TVirtualClock& m_clock;
    std::map<std::string, std::deque<std::vector<std::string>>> m_answers;
    std::map<std::string, DWORD> m_refused;
};

// Puts a scripted printer and the virtual clock in place for one test.
class TScriptedLink {
public:
    TScriptedLink();
    ~TScriptedLink();
    TScriptedLink(const TScriptedLink&) = delete;
    TScriptedLink& operator=(const TScriptedLink&) = delete;

    std::vector<std::string> trace;
    TVirtualClock clock{trace};
    TScriptedPrinter printer{trace, clock};

private:
    IClock* m_savedClock;
    IPrinterChannel* m_savedChannel;
};

// Trace lines, as the scripted printer writes them.
std::string WriteLine(const std::string& hex);  // write with the protocol's 3000 ms and no delay
std::string ReadLine(DWORD count, DWORD timeoutMs, DWORD delayMs, DWORD got);
std::vector<std::string> FlushLines(DWORD delayMs);

// The codes of the four transactions on one device path, in the order dpi, status, set, read-back.
std::vector<int> AllTransactions(const std::wstring& path);
