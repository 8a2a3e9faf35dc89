#include "Lib_PrinterCmd.h"
#include "Lib_Error.h"
#include "Lib_Services.h"
#include "Lib_String.h"
#include "Lib_UsbPrinter.h"
#include <climits>
#include <cstring>
#include <vector>

namespace {
const int kCommandCapacity = 64;
const DWORD kReplySize = 4096;
const DWORD kWriteTimeoutMs = 3000;
const DWORD kReadTimeoutMs = 3000;
const DWORD kFlushTimeoutMs = 50;
const int kWiFiAttempts = 7;

const wchar_t kCmdResolution[] = L"1D284802003930";
const wchar_t kCmdStatus[] = L"100402";
const wchar_t kCmdWiFiBegin[] = L"1D284802003630";
const wchar_t kCmdWiFiStep09[] = L"1B09";
const wchar_t kCmdWiFiStep33[] = L"1B3300";
const wchar_t kCmdCredentials[] = L"1B30";
const wchar_t kCmdAddressMode[] = L"1B31";
const wchar_t kCmdStaticAddress[] = L"1B3400";
const wchar_t kCmdApply[] = L"1B15";
const wchar_t kCmdWiFiQuery[] = L"1D284802003631";

// Waits around the reads of a reply that may come in pieces: a clock pause or a read delay
// before the first read and before each further one.
struct TReplyWaits {
    DWORD sleepFirst, delayFirst, sleepNext, delayNext;
};

// One transaction: the device is open for exactly the lifetime of this object.
class TTransaction {
public:
    explicit TTransaction(const std::wstring& path)
        : m_channel(PrinterChannel()), m_clock(*Services().clock), m_open(m_channel.Open(path)) {
        memset(m_reply, 0, sizeof m_reply);
    }
    ~TTransaction() {
        if (m_open) m_channel.Close();
    }
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    bool IsOpen() const { return m_open; }
    IClock& Clock() { return m_clock; }
    const unsigned char* Reply() const { return m_reply; }
    void ClearReply() { memset(m_reply, 0, sizeof m_reply); }

    // Discards whatever the printer still had to say from an earlier exchange.
    void Flush(DWORD delayMs) {
        unsigned char scratch[kReplySize];
        for (int i = 0; i < 2; ++i) m_channel.Read(scratch, kReplySize, kFlushTimeoutMs, delayMs);
    }

    // True when the whole command went out. A command beyond the 64-byte buffer is not sent.
    bool Send(const std::wstring& hex) {
        unsigned char command[kCommandCapacity];
        int n = HexToBytes(hex, command, kCommandCapacity);
        if (n <= 0) return false;
        return m_channel.Write(command, (DWORD)n, kWriteTimeoutMs, 0) >= (DWORD)n;
    }

    // One read into the start of the reply buffer.
    DWORD ReadFront(DWORD delayMs) { return m_channel.Read(m_reply, kReplySize, kReadTimeoutMs, delayMs); }

    // Reads until a read brings nothing, each piece appended behind the last; returns the total.
    DWORD ReadReply(const TReplyWaits& w) {
        Pause(w.sleepFirst);
        DWORD total = m_channel.Read(m_reply, kReplySize, kReadTimeoutMs, w.delayFirst);
        DWORD last = total;
        while (last > 0 && total < kReplySize) {
            Pause(w.sleepNext);
            last = m_channel.Read(m_reply + total, kReplySize - total, kReadTimeoutMs, w.delayNext);
            total += last;
        }
        return total;
    }

private:
    void Pause(DWORD ms) {
        if (ms > 0) m_clock.Sleep(ms);
    }

    IPrinterChannel& m_channel;
    IClock& m_clock;
    bool m_open;
    unsigned char m_reply[kReplySize];
};

// Length byte and one byte per character; callers have checked the characters fit a byte.
std::wstring Field(const std::wstring& text) { return FormatW(L"%.2X", (unsigned)text.size()) + TextToHex(text); }

bool FitsInBytes(const std::wstring& text) {
    for (wchar_t c : text)
        if (c > 255) return false;
    return true;
}

// Reply text from byte `from` up to the first zero byte, within the bytes received.
std::string ReplyText(const unsigned char* reply, DWORD size, DWORD from) {
    if (from >= size) return {};
    const char* begin = reinterpret_cast<const char*>(reply) + from;
    const void* zero = memchr(begin, 0, size - from);
    return std::string(begin, zero ? static_cast<const char*>(zero) : begin + (size - from));
}

std::vector<std::string> SplitFields(std::string text) {
    for (size_t p; (p = text.find("\r\n")) != std::string::npos;) text.erase(p, 2);
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

int DecimalOrRaise(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool ok = i < text.size() && text.size() - i <= 10;
    long long value = 0;
    for (; ok && i < text.size(); ++i) {
        ok = text[i] >= '0' && text[i] <= '9';
        value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    if (!ok || value < INT_MIN || value > INT_MAX)
        throw EKovrinError(L"'" + AnsiToWide(text) + L"' is not a valid integer value");
    return (int)value;
}
}  // namespace

int GetPrinterDpi(const std::wstring& devicePath) {
    TTransaction t(devicePath);
    if (!t.IsOpen()) return -1;
    t.Flush(0);
    t.ClearReply();
    if (!t.Send(kCmdResolution)) return -2;
    DWORD got = t.ReadFront(0);
    for (int retry = 0; retry < 2 && got == 0; ++retry) {
        t.Clock().Sleep(1000);
        got = t.ReadFront(0);
    }
    // No answer at all reads as 0 dpi, which no caller mistakes for a resolution.
    if (got == 0) return 0;
    return t.Reply()[0] | (t.Reply()[1] << 8);
}

int GetPrinterStatus(const std::wstring& devicePath) {
    TTransaction t(devicePath);
    if (!t.IsOpen()) return -1;
    t.Flush(0);
    t.ClearReply();
    if (!t.Send(kCmdStatus)) return 1;
    if (t.ReadReply({1000, 0, 200, 0}) == 0) return 1;
    const unsigned char b = t.Reply()[0];
    if (b == 0x12) return 0;
    if (b & 0x04) return 2;  // cover open wins over paper end
    if (b & 0x20) return 3;
    return 4;
}

int SetPrinterWiFi(const std::wstring& devicePath, const std::wstring& networkName, const std::wstring& password,
                   bool dhcp, const std::wstring& ipAddress, const std::wstring& mask, const std::wstring& gateway,
                   int timeoutMs) {
    // A character beyond one byte would go out as extra digits and shift every byte after it.
    // The address fields go out only without DHCP, so only then do they matter.
    for (const std::wstring* text : {&networkName, &password})
        if (!FitsInBytes(*text)) return kWiFiTextNotSendable;
    if (!dhcp)
        for (const std::wstring* text : {&ipAddress, &mask, &gateway})
            if (!FitsInBytes(*text)) return kWiFiTextNotSendable;

    TTransaction t(devicePath);
    if (!t.IsOpen()) return -1;
    t.Flush(50);
    if (!t.Send(kCmdWiFiBegin)) return 1;
    DWORD got = 0;
    for (int i = 0; i < 3 && got == 0; ++i) got = t.ReadFront(500);
    if (got == 0) return 1;
    if (!t.Send(kCmdWiFiStep09)) return 2;
    if (!t.Send(kCmdWiFiStep33)) return 3;
    if (!t.Send(kCmdCredentials + Field(networkName) + Field(password))) return 4;
    if (!t.Send(std::wstring(kCmdAddressMode) + (dhcp ? L"01" : L"00"))) return 5;
    if (!dhcp && !t.Send(kCmdStaticAddress + Field(ipAddress) + Field(mask) + Field(gateway))) return 6;
    if (!t.Send(kCmdApply)) return 10;

    const ULONGLONG start = t.Clock().TickCount();
    for (;;) {
        t.Clock().Sleep(500);
        got = t.ReadFront(0);
        if (got > 0) {
            if (t.Reply()[0] == 'O') return 0;
            // Only this reply's own bytes: the buffer may still hold the opening answer behind them.
            return ReplyText(t.Reply(), got, 1).find("OK") != std::string::npos ? 0 : -99;
        }
        if (timeoutMs > 0 && t.Clock().TickCount() - start > (ULONGLONG)timeoutMs) return 10;
    }
}

int GetPrinterWiFi(const std::wstring& devicePath, std::wstring& networkName, std::wstring& ipAddress, bool& dhcp,
                   int& state) {
    TTransaction t(devicePath);
    if (!t.IsOpen()) return -1;
    for (int attempt = 0; attempt < kWiFiAttempts; ++attempt) {
        t.Flush(50);
        t.ClearReply();
        if (!t.Send(kCmdWiFiQuery)) continue;
        const DWORD got = t.ReadReply({0, 1000, 0, 200});
        if (got == 0) continue;
        const std::vector<std::string> f = SplitFields(ReplyText(t.Reply(), got, 2));
        const size_t n = f.size();
        if (n < 8) continue;
        const int newState = DecimalOrRaise(f[n - 4]);
        networkName = AnsiToWide(f[0]);
        dhcp = f[3] == "1";
        state = newState;
        ipAddress = AnsiToWide(f[n - 3]);
        if (f[n - 3] != "0.0.0.0") return 0;
        t.Clock().Sleep(1500);
    }
    return 1;
}
