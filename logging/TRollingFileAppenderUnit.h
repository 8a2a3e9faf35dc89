// A file appender that renames its file to numbered backups once it reaches a size.
#pragma once
#include "TFileAppenderUnit.h"

class TRollingFileAppender : public TFileAppender {
public:
    TRollingFileAppender() : TFileAppender(L"TRollingFileAppender") {}

    virtual void SetMaxBackupIndex(int AIndex) { FMaxBackupIndex = AIndex; }
    virtual void SetMaxFileSize(long long ASize) { FMaxFileSize = ASize; }
    // "<n>K", "<n>M" or "<n>G" (capitals only); any other text leaves the size alone.
    // Raises EKovrinError when the number does not convert.
    virtual void SetMaxFileSize(const std::wstring& ASize);
    // Shifts the backups, renames the file to ".1" and starts a new one. Raises
    // EKovrinError when the new file cannot be opened; the appender then stays closed.
    virtual void RollOver();
    virtual int GetMaxBackupIndex() const { return FMaxBackupIndex; }
    virtual long long GetMaxFileSize() const { return FMaxFileSize; }

protected:
    void Append(const TLoggingEvent& AEvent) override;

    int FMaxBackupIndex = 1;
    long long FMaxFileSize = 10485760;
};
