// A console program whose output the runner tests capture:
//   pieces <n> <gapMs>  prints "piece i" lines, odd ones to standard output and even ones
//                       to standard error, pausing between them;
//   bytes <n>           prints n letters at once and ends.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void Put(HANDLE h, const std::string& s) {
    DWORD done = 0;
    WriteFile(h, s.data(), (DWORD)s.size(), &done, nullptr);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "pieces") == 0) {
        const int n = atoi(argv[2]), gap = atoi(argv[3]);
        for (int i = 1; i <= n; ++i) {
            Put(GetStdHandle(i % 2 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE), "piece " + std::to_string(i) + "\r\n");
            if (i < n) Sleep(gap);
        }
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "bytes") == 0) {
        std::string s(atoi(argv[2]), '\0');
        for (size_t i = 0; i < s.size(); ++i) s[i] = (char)('a' + i % 26);
        Put(GetStdHandle(STD_OUTPUT_HANDLE), s);
        return 0;
    }
    return 2;
}
