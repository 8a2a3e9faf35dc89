#include "TRollingFileAppenderUnit.h"
#include "Lib_String.h"
#include "TLogLogUnit.h"
#include "TStringUnit.h"

void TRollingFileAppender::SetMaxFileSize(const std::wstring& ASize) {
    if (ASize.empty()) return;
    long long unit;
    switch (ASize.back()) {
    case L'K': unit = 1024; break;
    case L'M': unit = 1048576; break;
    case L'G': unit = 1073741824; break;
    default: return;
    }
    // 64-bit product: sizes of 2 GiB and more are meant as written.
    FMaxFileSize = StrToInt(ASize.substr(0, ASize.size() - 1)) * unit;
}

void TRollingFileAppender::Append(const TLoggingEvent& AEvent) {
    TFileAppender::Append(AEvent);
    if (!FClosed && FilePosition() >= FMaxFileSize) RollOver();
    if (TLogLog::IsOpen()) TLogLog::Debug(L"TRollingFileAppender#Append");  // spares a string per record
}

void TRollingFileAppender::RollOver() {
    TLogLog::Debug(L"TRollingFileAppender#RollOver: Start");
    const std::wstring& f = FFileName;
    if (FMaxBackupIndex > 0) {
        TLogLog::Debug(L"TRollingFileAppender#RollOver: max index > 0");
        std::wstring oldest = f + L"." + std::to_wstring(FMaxBackupIndex);
        if (FileExists(oldest) && DeleteFileW(oldest.c_str()))
            TLogLog::Debug(L"TRollingFileAppender#RollOver: deleted old file");
        for (int n = FMaxBackupIndex - 1; n >= 1; --n) {
            std::wstring from = f + L"." + std::to_wstring(n);
            TLogLog::Debug(L"TRollingFileAppender#RollOver: renaming " + from);
            if (FileExists(from) && MoveFileW(from.c_str(), (f + L"." + std::to_wstring(n + 1)).c_str()))
                TLogLog::Debug(L"TRollingFileAppender#RollOver: renamed " + from);
        }
        CloseFile();
        TLogLog::Debug(L"TRollingFileAppender#RollOver: freed the filestream");
        MoveFileW(f.c_str(), (f + L".1").c_str());
    }
    std::wstring name = f;  // SetFile assigns FFileName, which f refers to
    try {
        SetFile(name);
    } catch (...) {
        TLogLog::Error(L"TRollingFileAppender#RollOver: cannot open " + name);
        throw;
    }
    TLogLog::Debug(L"TRollingFileAppender#RollOver: End");
}
