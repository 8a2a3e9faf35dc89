#include "ScriptedPrinter.h"
#include "Lib_PrinterCmd.h"
#include "Lib_String.h"
#include <cstdio>
#include <cstring>

std::string Hex(const std::string& bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        snprintf(b, sizeof b, "%02X", c);
        if (!out.empty()) out += ' ';
        out += b;
    }
    return out;
}

std::string Bytes(const std::string& hex) {
    std::wstring w(hex.begin(), hex.end());
    std::string out(hex.size(), '\0');
    int n = HexToBytes(w, reinterpret_cast<unsigned char*>(&out[0]), (int)out.size());
    out.resize(n > 0 ? n : 0);
    return out;
}

std::string WriteLine(const std::string& hex) { return "write " + Hex(Bytes(hex)) + " t3000 d0"; }

std::string ReadLine(DWORD count, DWORD timeoutMs, DWORD delayMs, DWORD got) {
    char b[96];
    snprintf(b, sizeof b, "read %lu t%lu d%lu -> %lu", (unsigned long)count, (unsigned long)timeoutMs,
             (unsigned long)delayMs, (unsigned long)got);
    return b;
}

std::vector<std::string> FlushLines(DWORD delayMs) {
    return {ReadLine(4096, 50, delayMs, 0), ReadLine(4096, 50, delayMs, 0)};
}

void TVirtualClock::Sleep(DWORD ms) {
    now += ms;
    m_trace.push_back("sleep " + std::to_string(ms));
}

void TScriptedPrinter::Answer(const std::string& commandHex, std::vector<std::string> pieces) {
    m_answers[Bytes(commandHex)].push_back(std::move(pieces));
}

bool TScriptedPrinter::Open(const std::wstring& path) {
    m_trace.push_back("open " + WideToUtf8(path) + (present ? "" : " -> absent"));
    return present;
}

DWORD TScriptedPrinter::Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    m_clock.now += delayMs;
    std::string piece;
    if (!pending.empty()) {
        piece = pending.front();
        pending.pop_front();
    }
    if (piece.size() > count) {
        pending.push_front(piece.substr(count));
        piece.resize(count);
    }
    if (piece.empty()) m_clock.now += timeoutMs;
    memcpy(buffer, piece.data(), piece.size());
    m_trace.push_back(ReadLine(count, timeoutMs, delayMs, (DWORD)piece.size()));
    return (DWORD)piece.size();
}

DWORD TScriptedPrinter::Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    m_clock.now += delayMs;
    const std::string bytes(static_cast<const char*>(data), count);
    m_trace.push_back("write " + Hex(bytes) + " t" + std::to_string(timeoutMs) + " d" + std::to_string(delayMs));
    for (const auto& refused : m_refused)
        if (bytes.compare(0, refused.first.size(), refused.first) == 0) return refused.second;
    auto answers = m_answers.find(bytes);
    if (answers != m_answers.end() && !answers->second.empty()) {
        for (auto& piece : answers->second.front()) pending.push_back(piece);
        answers->second.pop_front();
    }
    return count;
}

void TScriptedPrinter::Close() { m_trace.push_back("close"); }

TScriptedLink::TScriptedLink() : m_savedClock(Services().clock), m_savedChannel(&PrinterChannel()) {
    Services().clock = &clock;
    SetPrinterChannel(&printer);
}

TScriptedLink::~TScriptedLink() {
    SetPrinterChannel(m_savedChannel);
    Services().clock = m_savedClock;
}

std::vector<int> AllTransactions(const std::wstring& path) {
    std::wstring name, ip;
    bool dhcp = false;
    int state = 0;
    return {GetPrinterDpi(path), GetPrinterStatus(path), SetPrinterWiFi(path, L"n", L"", true, L"", L"", L"", 30000),
            GetPrinterWiFi(path, name, ip, dhcp, state)};
}
