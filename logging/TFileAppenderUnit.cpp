#include "TFileAppenderUnit.h"
#include "Lib_String.h"
#include "TLogLogUnit.h"

TFileAppender::~TFileAppender() {
    if (!FClosed && FLayout) FWriter->Println(FLayout->GetFooter());
    FClosed = true;
    CloseFile();
    TLogLog::Debug(L"TFileAppender#Destroy");
}

void TFileAppender::CloseFile() {
    FWriter.reset();
    FFileStream.reset();
}

void TFileAppender::SetFile(const std::wstring& AFileName) {
    FFileName = AFileName;
    CloseFile();
    FClosed = true;  // until the new file is open: nothing may reach a closed file
    std::wstring dir = ExtractFileDir(AFileName);
    if (!dir.empty()) ForceDirectories(dir);  // a failure shows in the open below
    bool append = FAppend && FileExists(AFileName);
    FFileStream = std::make_unique<TFileStream>(
        AFileName, append ? TFileStream::TMode::Append : TFileStream::TMode::Create);
    FWriter = std::make_unique<TPrintWriter>(FFileStream.get());
    FClosed = false;
    TLogLog::Debug(L"TFileAppender#SetFile: " + AFileName);
}

void TFileAppender::SetLayout(std::unique_ptr<TLayout> ALayout) {
    TWriterAppender::SetLayout(std::move(ALayout));
    if (!FClosed && FLayout) FWriter->Println(FLayout->GetHeader());
}
