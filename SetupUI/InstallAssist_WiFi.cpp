#include "InstallAssist_WiFi.h"
#include "Lib_Log.h"
#include "PubLib/Lib_Services.h"
#include "PubLib/Lib_String.h"
#include "PubLib/Lib_Handle.h"
#include <windows.h>
#include <vector>

namespace {
const wchar_t kInterfacesCommand[] = L"Netsh WLAN show interfaces";
const wchar_t kProfileCommand[] = L"netsh wlan show profile name=\"%s\" key=clear";
const wchar_t kServiceCommand[] = L"sc query wlansvc";

const wchar_t kNameWord[] = L"SSID ";
const wchar_t kNotNameWord[] = L"BSSID";
const wchar_t* const kAuthWords[] = {L"Authentication ", L"身份验证 "};
const wchar_t* const kOpenWords[] = {L"Open", L"开放"};
const wchar_t* const kKeyWords[] = {L"Key Content", L"关键内容"};

const size_t kMaxValue = 32;           // characters of a value, the longest network name
const DWORD kPeekBytes = 16384;        // one read from the pipe
const int kMaxReadsPerPass = 256;      // a writer that never stops cannot hold us in one pass
const DWORD kPollMs = 500;
const wchar_t kMask[] = L"******";

bool Contains(const std::wstring& line, const wchar_t* word) { return line.find(word) != std::wstring::npos; }
template <size_t N>
bool ContainsAny(const std::wstring& line, const wchar_t* const (&words)[N]) {
    for (const wchar_t* w : words)
        if (Contains(line, w)) return true;
    return false;
}

// Lines at CR LF, LF or a lone CR.
std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(line);
            line.clear();
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Without blanks and control characters at either end.
std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ') ++b;
    while (e > b && s[e - 1] <= L' ') --e;
    return s.substr(b, e - b);
}

// The text after the first colon, trimmed, at most kMaxValue characters. The blank the
// shell prints after the colon is trimmed before the cut, so a 32-character name stays whole.
std::wstring LineValue(const std::wstring& line) {
    size_t colon = line.find(L':');
    if (colon == std::wstring::npos) return {};
    return Trim(Trim(line.substr(colon + 1)).substr(0, kMaxValue));
}

// The output as the log may show it: every key line keeps its label and shows the mask.
std::wstring MaskKeyLines(const std::wstring& output) {
    std::wstring out;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = output.size();
        std::wstring line = output.substr(start, end - start);
        size_t colon = line.find(L':');
        if (ContainsAny(line, kKeyWords) && colon != std::wstring::npos) {
            std::wstring value = Trim(line.substr(colon + 1));
            line = line.substr(0, colon + 1) + (value.empty() ? L"" : L" " + MaskSecret(value));
        }
        out += line;
        size_t next = output.find_first_not_of(L"\r\n", end);
        if (next == std::wstring::npos) next = output.size();
        out += output.substr(end, next - end);  // the line breaks exactly as printed
        start = next;
    }
    return out;
}

// Runs a stored command by its system-directory path; returns the command line run.
std::wstring Run(const std::wstring& stored, std::wstring& output) {
    std::wstring commandLine = SystemCommandLine(stored);
    Services().commands->RunAndCapture(commandLine, output);
    return commandLine;
}

void LogCommandOutput(const wchar_t* format, const std::wstring& commandLine, const std::wstring& output) {
    if (g_LogInfo > 1) TLog::Info(FormatW(format, commandLine.c_str(), MaskKeyLines(output).c_str()));
}

// Moves what the pipe holds now into bytes; never blocks, as it reads only what is there.
void ReadWaiting(HANDLE pipe, std::vector<char>& chunk, std::string& bytes) {
    for (int i = 0; i < kMaxReadsPerPass; ++i) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
        DWORD want = available < kPeekBytes ? available : kPeekBytes, got = 0;
        if (!ReadFile(pipe, chunk.data(), want, &got, nullptr) || got == 0) return;
        bytes.append(chunk.data(), got);
    }
}

class TProcessCommandRunner : public ICommandRunner {
public:
    void RunAndCapture(const std::wstring& commandLine, std::wstring& output) override {
        ::RunAndCapture(commandLine, output);
    }
};
}  // namespace

std::wstring MaskSecret(const std::wstring& secret) { return secret.empty() ? std::wstring() : kMask; }

std::wstring SystemCommandLine(const std::wstring& stored) {
    wchar_t dir[MAX_PATH + 1] = {};
    UINT n = GetSystemDirectoryW(dir, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return {};
    size_t blank = stored.find(L' ');
    std::wstring program = stored.substr(0, blank), rest = blank == std::wstring::npos ? L"" : stored.substr(blank);
    return L"\"" + IncludeTrailingBackslash(dir) + program + L".exe\"" + rest;
}

void RunAndCapture(const std::wstring& commandLine, std::wstring& output) {
    if (commandLine.empty()) return;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readHandle = nullptr, writeHandle = nullptr;
    if (!CreatePipe(&readHandle, &writeHandle, &sa, 0)) return;
    THandle readEnd(readHandle), writeEnd(writeHandle);

    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdOutput = writeEnd.get();
    si.hStdError = writeEnd.get();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &si, &pi))
        return;
    THandle process(pi.hProcess), thread(pi.hThread);

    std::string bytes;
    std::vector<char> chunk(kPeekBytes);
    for (;;) {
        DWORD wait = WaitForSingleObject(process.get(), kPollMs);
        // Also after the end: what the process wrote last is still in the pipe.
        ReadWaiting(readEnd.get(), chunk, bytes);
        if (wait != WAIT_TIMEOUT) break;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);  // not used: the text tells all
    output = AnsiToWide(bytes);
}

bool ReadCurrentWiFi(std::wstring& networkName, std::wstring& key) {
    std::wstring output;
    std::wstring commandLine = Run(kInterfacesCommand, output);
    LogCommandOutput(L"命令【%s】返回\r\n%s", commandLine, output);

    networkName.clear();
    const std::vector<std::wstring> lines = SplitLines(output);
    for (const std::wstring& line : lines) {
        if (Contains(line, kNameWord) && !Contains(line, kNotNameWord)) {
            networkName = LineValue(line);
            break;
        }
    }

    key.clear();
    for (const std::wstring& line : lines) {
        if (!ContainsAny(line, kAuthWords)) continue;
        if (ContainsAny(line, kOpenWords)) {
            if (g_LogInfo > 1) TLog::Info(FormatW(L"当前热点【%s】密码为空", networkName.c_str()));
            return true;
        }
        break;
    }

    if (!networkName.empty()) {
        commandLine = Run(FormatW(kProfileCommand, networkName.c_str()), output);
        LogCommandOutput(L"命令【%s】返回\r\n%s", commandLine, output);
        for (const std::wstring& line : SplitLines(output)) {
            if (ContainsAny(line, kKeyWords)) {
                key = LineValue(line);
                return true;
            }
        }
    }

    commandLine = Run(kServiceCommand, output);
    LogCommandOutput(L"不能获取WiFi信息，命令【%s】返回\r\n%s", commandLine, output);
    return false;
}

ICommandRunner& ProductionCommandRunner() {
    static TProcessCommandRunner runner;
    return runner;
}
