// The open file of a file appender and the writer that puts UTF-8 text into it.
#pragma once
#include <windows.h>
#include <memory>
#include <string>

// A file handle that closes itself. Writes go to the file at once (no buffering).
class TFileStream {
public:
    enum class TMode {
        Create,  // create or empty, write; others may only read
        Append,  // open an existing file, write after its last byte; others may only read
        Read,    // open an existing file for reading; others may read and write
    };
    // Raises EKovrinError ("Cannot create file ..." / "Cannot open file ...") on failure.
    TFileStream(const std::wstring& AFileName, TMode AMode);
    ~TFileStream();
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    // Writes all bytes; a failed write (disk full) is not reported and the bytes are lost.
    void Write(const char* AData, size_t ACount);
    std::string ReadAll();
    // The write position, which for a log file is its size.
    long long Position() const { return FPosition; }
    HANDLE get() const { return FHandle; }

private:
    HANDLE FHandle;
    long long FPosition = 0;
};

// Whole-file helpers for configuration files; both raise EKovrinError on failure.
std::string ReadFileBytes(const std::wstring& AFileName);
void WriteFileBytes(const std::wstring& AFileName, const std::string& ABytes);

class TPrintWriter {
public:
    explicit TPrintWriter(TFileStream* AStream) : FStream(AStream) {}
    void Print(const std::wstring& AText);    // UTF-8 bytes; nothing for an empty text
    void Println(const std::wstring& AText);  // text and CR LF in one write; nothing for an empty text

private:
    void Write(const std::wstring& AText, bool ANewLine);

    TFileStream* FStream;  // not owned
    std::string FBuffer;
};
