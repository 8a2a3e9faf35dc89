#include "TPrintWriterUnit.h"
#include "Lib_Error.h"
#include "TStringUnit.h"

TFileStream::TFileStream(const std::wstring& AFileName, TMode AMode) {
    DWORD access = AMode == TMode::Read ? GENERIC_READ : GENERIC_WRITE;
    DWORD share = AMode == TMode::Read ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    DWORD disposition = AMode == TMode::Create ? CREATE_ALWAYS : OPEN_EXISTING;
    FHandle = CreateFileW(AFileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        const wchar_t* what = AMode == TMode::Create ? L"Cannot create file \"" : L"Cannot open file \"";
        throw EKovrinError(what + AFileName + L"\". " + SystemErrorMessage(code));
    }
    if (AMode == TMode::Append) {
        LARGE_INTEGER zero{}, end{};
        SetFilePointerEx(FHandle, zero, &end, FILE_END);
        FPosition = end.QuadPart;
    }
}

TFileStream::~TFileStream() { CloseHandle(FHandle); }

void TFileStream::Write(const char* AData, size_t ACount) {
    while (ACount > 0) {
        DWORD chunk = ACount > 0x40000000 ? 0x40000000 : (DWORD)ACount;
        DWORD written = 0;
        if (!WriteFile(FHandle, AData, chunk, &written, nullptr) || written == 0) return;
        FPosition += written;
        AData += written;
        ACount -= written;
    }
}

std::string TFileStream::ReadAll() {
    std::string out;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(FHandle, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    return out;
}

std::string ReadFileBytes(const std::wstring& AFileName) {
    TFileStream stream(AFileName, TFileStream::TMode::Read);
    return stream.ReadAll();
}

void WriteFileBytes(const std::wstring& AFileName, const std::string& ABytes) {
    TFileStream stream(AFileName, TFileStream::TMode::Create);
    DWORD written = 0;
    // Unlike log records, a configuration file that cannot be written must be reported.
    if (!ABytes.empty() && (!WriteFile(stream.get(), ABytes.data(), (DWORD)ABytes.size(), &written, nullptr) ||
                            written != ABytes.size()))
        throw EKovrinError(L"Cannot write file \"" + AFileName + L"\". " + SystemErrorMessage(GetLastError()));
}

void TPrintWriter::Write(const std::wstring& AText, bool ANewLine) {
    // One conversion into a reused buffer and one write per record: this is the hot path.
    size_t room = AText.size() * 3 + 2;  // a UTF-16 unit never takes more than 3 UTF-8 bytes
    if (FBuffer.size() < room) FBuffer.resize(room);
    // Plain ASCII is its own UTF-8; anything else goes through the system's conversion.
    // Two branch-free passes (test, then narrow) that the compiler turns into vector code.
    const wchar_t* text = AText.data();
    size_t length = AText.size();
    wchar_t bits = 0;
    for (size_t i = 0; i < length; ++i) bits |= text[i];
    int n;
    if (bits < 0x80) {
        char* out = &FBuffer[0];
        for (size_t i = 0; i < length; ++i) out[i] = (char)text[i];
        n = (int)length;
    } else {
        n = WideCharToMultiByte(CP_UTF8, 0, text, (int)length, &FBuffer[0], (int)room, nullptr, nullptr);
    }
    if (ANewLine) {
        FBuffer[n++] = '\r';
        FBuffer[n++] = '\n';
    }
    FStream->Write(FBuffer.data(), n);
    if (FBuffer.size() > 196608) std::string().swap(FBuffer);  // one huge message need not stay
}

void TPrintWriter::Print(const std::wstring& AText) {
    if (!AText.empty()) Write(AText, false);
}

void TPrintWriter::Println(const std::wstring& AText) {
    if (!AText.empty()) Write(AText, true);
}
