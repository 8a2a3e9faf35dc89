// Writes every event to one UTF-8 file that other processes may read but not write.
#pragma once
#include "TWriterAppenderUnit.h"

class TFileAppender : public TWriterAppender {
public:
    TFileAppender() : TFileAppender(L"TFileAppender") {}
    ~TFileAppender() override;

    // Opens the file (creating missing folders); raises EKovrinError when it cannot,
    // and the appender is closed afterwards.
    void SetFile(const std::wstring& AFileName);
    void setAppend(bool AAppend) { FAppend = AAppend; }
    bool GetAppend() const { return FAppend; }
    const std::wstring& GetFileName() const { return FFileName; }
    // Stores the layout and, when the file is open, writes its header.
    void SetLayout(std::unique_ptr<TLayout> ALayout) override;

protected:
    explicit TFileAppender(const std::wstring& AClassName) : TWriterAppender(AClassName) {}
    void CloseFile();
    long long FilePosition() const { return FFileStream ? FFileStream->Position() : 0; }

    std::unique_ptr<TFileStream> FFileStream;
    bool FAppend = false;
    std::wstring FFileName;
};
