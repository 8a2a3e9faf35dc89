// vktsim: a label printer on a named pipe, for tests and the demo. Never shipped.
//
//   vktsim.exe --pipe NAME --scenario FILE.ini [--record FILE.log] [--connections N]
//
// --pipe         serves \\.\pipe\NAME (NAME may also be given with that prefix). The wizard
//                opens it as it opens a USB printer's device path: overlapped, one open per
//                transaction. Connections are served one after another; the next pipe
//                instance is ready before the current one is served.
// --scenario     INI file, re-read at every connection, section [Printer]:
//                  Resolution=203        dots per inch, sent as two bytes, low byte first
//                  Status=0x12           the status byte (decimal or 0x hex)
//                  Silent=status,apply   commands left unanswered: status, resolution,
//                                        wifi-begin, apply, query
//                  ApplyAnswer=O         reply to the apply command: O, xOK, NG, ... as text;
//                                        none (or empty) for no reply
//                  AddressAfter=0        read-backs (since the last apply) that report 0.0.0.0
//                                        with state 0 before the address appears
//                  Address=127.0.0.1     the address reported with DHCP, or when the static
//                                        address set is not loopback; 127.0.0.0/8 or 0.0.0.0 only
//                  State=1               state field of read-backs with an address; several
//                                        values separated by | are used in turn, the last one
//                                        repeating; any text is sent as it is
//                  NetworkName=KovrinLab reported until the wizard sets one
//                  Disconnect=query      the first reply to this command is cut in the middle
//                                        and the connection dropped
// --record       log of what was received and done, UTF-8, one line per event:
//                  connect N | recv <hex> | command<TAB>name[<TAB>arg...] | reply <hex> |
//                  silent <name> | cut <hex> | close | disconnect
//                command names: status, resolution, wifi-begin, wifi-09, wifi-33,
//                credentials<TAB>name<TAB>password, mode<TAB>dhcp|static,
//                address<TAB>ip<TAB>mask<TAB>gateway, apply, query, unknown
// --connections  ends after serving N connections (0, the default: serve until killed).
//
// Read-back replies: two head bytes, then
//   name,WPA2,6,dhcp(1|0),state,address,mask,gateway CR LF
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
const char kStatus[] = "\x10\x04\x02";
const char kResolution[] = "\x1D\x28\x48\x02\x00\x39\x30";
const char kWiFiBegin[] = "\x1D\x28\x48\x02\x00\x36\x30";
const char kQuery[] = "\x1D\x28\x48\x02\x00\x36\x31";

struct TPipe {
    HANDLE h = INVALID_HANDLE_VALUE;
    TPipe() = default;
    TPipe(const TPipe&) = delete;
    TPipe& operator=(const TPipe&) = delete;
    ~TPipe() { reset(); }
    void reset(HANDLE n = INVALID_HANDLE_VALUE) {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        h = n;
    }
};

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &out[0], n, nullptr, nullptr);
    return out;
}

// The printer takes one byte per character: show each byte as that character.
std::string Latin1ToUtf8(const std::string& bytes) {
    std::wstring w;
    for (unsigned char c : bytes) w += (wchar_t)c;
    return Utf8(w);
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        snprintf(b, sizeof b, out.empty() ? "%02X" : " %02X", c);
        out += b;
    }
    return out;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t p = text.find(sep, start);
        parts.push_back(text.substr(start, p - start));
        if (p == std::string::npos) return parts;
        start = p + 1;
    }
}

// 127.0.0.0/8 only, so nothing the wizard pings leaves the machine; 0.0.0.0 means no address.
bool IsLoopbackOrNone(const std::string& address) {
    std::vector<std::string> parts = Split(address, '.');
    if (parts.size() != 4) return false;
    for (const std::string& p : parts) {
        if (p.empty() || p.size() > 3 || p.find_first_not_of("0123456789") != std::string::npos) return false;
        if (atoi(p.c_str()) > 255) return false;
    }
    return address.compare(0, 4, "127.") == 0 || address == "0.0.0.0";
}

class TRecord {
public:
    void Open(const std::wstring& path) {
        m_file.reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    void Line(const std::string& text) {
        if (m_file.h == INVALID_HANDLE_VALUE) return;
        std::string line = text + "\r\n";
        DWORD put = 0;
        WriteFile(m_file.h, line.data(), (DWORD)line.size(), &put, nullptr);
    }

private:
    TPipe m_file;
};

struct TScenario {
    int resolution = 203;
    int status = 0x12;
    std::vector<std::string> silent;
    std::string applyAnswer = "O";
    int addressAfter = 0;
    std::string address = "127.0.0.1";
    std::vector<std::string> states{"1"};
    std::string networkName = "KovrinLab";
    std::string disconnect;

    bool IsSilent(const std::string& name) const {
        for (const std::string& s : silent)
            if (s == name) return true;
        return false;
    }
};

std::string ReadIni(const std::wstring& file, const wchar_t* key, const char* def) {
    char buf[1024];
    wchar_t wbuf[1024];
    GetPrivateProfileStringW(L"Printer", key, L"\x01", wbuf, 1024, file.c_str());
    if (wcscmp(wbuf, L"\x01") == 0) return def;
    WideCharToMultiByte(CP_ACP, 0, wbuf, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

bool LoadScenario(const std::wstring& file, TScenario& s, std::string& error) {
    s = TScenario();
    s.resolution = (int)strtol(ReadIni(file, L"Resolution", "203").c_str(), nullptr, 0);
    s.status = (int)strtol(ReadIni(file, L"Status", "0x12").c_str(), nullptr, 0) & 0xFF;
    std::string silent = ReadIni(file, L"Silent", "");
    if (!silent.empty()) s.silent = Split(silent, ',');
    s.applyAnswer = ReadIni(file, L"ApplyAnswer", "O");
    if (s.applyAnswer == "none") s.applyAnswer.clear();
    s.addressAfter = atoi(ReadIni(file, L"AddressAfter", "0").c_str());
    s.address = ReadIni(file, L"Address", "127.0.0.1");
    s.states = Split(ReadIni(file, L"State", "1"), '|');
    s.networkName = ReadIni(file, L"NetworkName", "KovrinLab");
    s.disconnect = ReadIni(file, L"Disconnect", "");
    if (!IsLoopbackOrNone(s.address)) {
        error = "Address must be in 127.0.0.0/8 or 0.0.0.0: " + s.address;
        s.address = "0.0.0.0";
        return false;
    }
    return true;
}

// What the printer remembers from one connection to the next.
struct TPrinterState {
    bool networkSet = false;
    std::string networkName, password;
    bool dhcp = true;
    std::string ip, mask, gateway;
    int readBacks = 0;  // since the last apply
    size_t stateIndex = 0;
    bool disconnected = false;
};

class TPrinter {
public:
    TPrinter(const std::wstring& scenarioFile, TRecord& record) : m_scenarioFile(scenarioFile), m_record(record) {}

    // Serves one connection until the client closes it (or the scenario drops it).
    void Serve(HANDLE pipe) {
        std::string error;
        if (!LoadScenario(m_scenarioFile, m_scenario, error)) m_record.Line("error " + error);
        std::string pending;
        std::vector<char> buf(65536);
        for (;;) {
            DWORD got = 0;
            BOOL ok = ReadFile(pipe, buf.data(), (DWORD)buf.size(), &got, nullptr);
            if (!ok && GetLastError() != ERROR_MORE_DATA) break;
            if (got == 0) continue;
            std::string message(buf.data(), got);
            m_record.Line("recv " + Hex(message));
            pending += message;
            while (!pending.empty()) {
                size_t used = Handle(pipe, pending);
                if (used == 0) break;  // a command still incomplete
                if (used == std::string::npos) {
                    m_record.Line("disconnect");
                    return;
                }
                pending.erase(0, used);
            }
        }
        m_record.Line("close");
    }

private:
    static bool Starts(const std::string& in, const char* cmd, size_t len) {
        return in.compare(0, len, cmd, len) == 0;
    }
    // True when `in` could still grow into the command.
    static bool Prefix(const std::string& in, const char* cmd, size_t len) {
        return in.size() < len && std::string(cmd, len).compare(0, in.size(), in) == 0;
    }
    // Length-prefixed fields from pos; false when the bytes are not all there yet.
    static bool Fields(const std::string& in, size_t pos, int count, std::vector<std::string>& out, size_t& end) {
        out.clear();
        for (int i = 0; i < count; ++i) {
            if (pos >= in.size()) return false;
            size_t len = (unsigned char)in[pos];
            if (pos + 1 + len > in.size()) return false;
            out.push_back(in.substr(pos + 1, len));
            pos += 1 + len;
        }
        end = pos;
        return true;
    }

    // Handles the command at the front of `in`; returns the bytes used, 0 when more are
    // needed, npos when the connection was dropped.
    size_t Handle(HANDLE pipe, const std::string& in) {
        struct TFixed {
            const char* bytes;
            size_t len;
            const char* name;
        } fixed[] = {{kStatus, 3, "status"},     {kResolution, 7, "resolution"}, {kWiFiBegin, 7, "wifi-begin"},
                     {kQuery, 7, "query"},       {"\x1B\x09", 2, "wifi-09"},     {"\x1B\x33\x00", 3, "wifi-33"},
                     {"\x1B\x15", 2, "apply"}};
        for (const TFixed& f : fixed)
            if (Starts(in, f.bytes, f.len)) return Answer(pipe, f.name) ? f.len : std::string::npos;
        std::vector<std::string> v;
        size_t end = 0;
        if (Starts(in, "\x1B\x30", 2)) {
            if (!Fields(in, 2, 2, v, end)) return 0;
            m_state.networkSet = true;
            m_state.networkName = v[0];
            m_state.password = v[1];
            m_record.Line("command\tcredentials\t" + Latin1ToUtf8(v[0]) + "\t" + Latin1ToUtf8(v[1]));
            return end;
        }
        if (Starts(in, "\x1B\x31", 2)) {
            if (in.size() < 3) return 0;
            m_state.dhcp = in[2] == 1;
            m_record.Line(std::string("command\tmode\t") + (m_state.dhcp ? "dhcp" : "static"));
            return 3;
        }
        if (Starts(in, "\x1B\x34\x00", 3)) {
            if (!Fields(in, 3, 3, v, end)) return 0;
            m_state.ip = v[0];
            m_state.mask = v[1];
            m_state.gateway = v[2];
            m_record.Line("command\taddress\t" + Latin1ToUtf8(v[0]) + "\t" + Latin1ToUtf8(v[1]) + "\t" +
                          Latin1ToUtf8(v[2]));
            return end;
        }
        for (const TFixed& f : fixed)
            if (Prefix(in, f.bytes, f.len)) return 0;
        if (Prefix(in, "\x1B\x30", 2) || Prefix(in, "\x1B\x31", 2) || Prefix(in, "\x1B\x34\x00", 3)) return 0;
        m_record.Line("command\tunknown");
        return in.size();
    }

    // Replies to a fixed command; false when the connection was dropped.
    bool Answer(HANDLE pipe, const std::string& name) {
        m_record.Line("command\t" + name);
        std::string reply;
        if (name == "status") reply = std::string(1, (char)m_scenario.status);
        if (name == "resolution")
            reply = std::string{(char)(m_scenario.resolution & 0xFF), (char)((m_scenario.resolution >> 8) & 0xFF)};
        if (name == "wifi-begin") reply = "OK";
        if (name == "apply") {
            m_state.readBacks = 0;
            reply = m_scenario.applyAnswer;
        }
        if (name == "query") reply = ReadBack();
        if (reply.empty() || m_scenario.IsSilent(name)) {
            m_record.Line("silent " + name);
            return true;
        }
        DWORD put = 0;
        if (name == m_scenario.disconnect && !m_state.disconnected) {
            m_state.disconnected = true;
            std::string half = reply.substr(0, reply.size() / 2);
            if (!half.empty()) WriteFile(pipe, half.data(), (DWORD)half.size(), &put, nullptr);
            m_record.Line("cut " + Hex(half));
            return false;
        }
        WriteFile(pipe, reply.data(), (DWORD)reply.size(), &put, nullptr);
        m_record.Line("reply " + Hex(reply));
        return true;
    }

    std::string ReadBack() {
        const bool joined = ++m_state.readBacks > m_scenario.addressAfter;
        std::string address = "0.0.0.0", state = "0";
        if (joined) {
            const bool ownStatic = !m_state.dhcp && m_state.ip.compare(0, 4, "127.") == 0;
            address = ownStatic ? m_state.ip : m_scenario.address;
            size_t i = m_state.stateIndex < m_scenario.states.size() ? m_state.stateIndex++ : m_scenario.states.size() - 1;
            state = m_scenario.states[i];
        }
        const bool ownMask = !m_state.dhcp && !m_state.mask.empty();
        std::string fields = (m_state.networkSet ? m_state.networkName : m_scenario.networkName) + ",WPA2,6," +
                             (m_state.dhcp ? "1" : "0") + "," + state + "," + address + "," +
                             (ownMask ? m_state.mask : "255.0.0.0") + "," +
                             (ownMask ? m_state.gateway : "127.0.0.1");
        return "\x1D\x31" + fields + "\r\n";
    }

    std::wstring m_scenarioFile;
    TRecord& m_record;
    TScenario m_scenario;
    TPrinterState m_state;
};

HANDLE CreateInstance(const std::wstring& name) {
    return CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                            PIPE_UNLIMITED_INSTANCES, 65536, 65536, 0, nullptr);
}

int Usage() {
    fprintf(stderr, "usage: vktsim --pipe NAME --scenario FILE.ini [--record FILE.log] [--connections N]\n");
    return 2;
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buf, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buf, n) : path;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring pipe, scenario, record;
    long connections = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring opt = argv[i];
        if (opt == L"--pipe")
            pipe = argv[i + 1];
        else if (opt == L"--scenario")
            scenario = FullPath(argv[i + 1]);
        else if (opt == L"--record")
            record = argv[i + 1];
        else if (opt == L"--connections")
            connections = wcstol(argv[i + 1], nullptr, 10);
        else
            return Usage();
    }
    if (argc % 2 == 0 || pipe.empty() || scenario.empty()) return Usage();
    if (pipe.compare(0, 9, L"\\\\.\\pipe\\") != 0) pipe = L"\\\\.\\pipe\\" + pipe;
    if (GetFileAttributesW(scenario.c_str()) == INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "vktsim: scenario file not found: %s\n", Utf8(scenario).c_str());
        return 2;
    }
    TScenario check;
    std::string error;
    if (!LoadScenario(scenario, check, error)) {
        fprintf(stderr, "vktsim: %s\n", error.c_str());
        return 2;
    }

    TRecord log;
    if (!record.empty()) log.Open(record);
    TPrinter printer(scenario, log);
    TPipe listening;
    listening.reset(CreateInstance(pipe));
    if (listening.h == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "vktsim: cannot create %s (error %lu)\n", Utf8(pipe).c_str(), GetLastError());
        return 1;
    }
    printf("vktsim: serving %s\n", Utf8(pipe).c_str());
    fflush(stdout);
    for (long n = 1; connections == 0 || n <= connections; ++n) {
        if (!ConnectNamedPipe(listening.h, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) return 1;
        TPipe next;  // ready before this connection is served, so the next open finds it
        next.reset(CreateInstance(pipe));
        log.Line("connect " + std::to_string(n));
        printer.Serve(listening.h);
        DisconnectNamedPipe(listening.h);
        listening.reset(next.h);
        next.h = INVALID_HANDLE_VALUE;
    }
    return 0;
}
