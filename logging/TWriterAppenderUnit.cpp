#include "TWriterAppenderUnit.h"

void TWriterAppender::Append(const TLoggingEvent& AEvent) {
    if (!FWriter || !FLayout) return;
    FLayout->FormatTo(AEvent, FRecord);
    FWriter->Println(FRecord);
    if (FRecord.capacity() > 65536) std::wstring().swap(FRecord);  // one huge message need not stay
    const TEventError* e = AEvent.GetException();
    if (e && !FLayout->IgnoresException()) FWriter->Println(L"Exception: " + e->Message);
}
