#include "TAppenderUnit.h"
#include "TLogLogUnit.h"

void TAppender::DoAppend(const TLoggingEvent& AEvent) {
    if (FClosed) return;
    if (!FLayout && RequiresLayout()) return;  // nothing to format the event with (asked only then)
    Append(AEvent);
}

void TAppender::SetName(const std::wstring& AName) {
    FName = AName;
    TLogLog::Debug(L"TAppender#SetName: " + AName);
}

void TAppender::SetLayout(std::unique_ptr<TLayout> ALayout) {
    FLayout = std::move(ALayout);
    TLogLog::Debug(std::wstring(L"TAppender#SetLayout: ") + (FLayout ? FLayout->ClassName() : L"none"));
}
