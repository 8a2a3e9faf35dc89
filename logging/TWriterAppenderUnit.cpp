#include "TWriterAppenderUnit.h"

void TWriterAppender::Append(const TLoggingEvent& AEvent) {
    if (!FWriter || !FLayout) return;
    FLayout->FormatTo(AEvent, FRecord);
    FWriter->Println(FRecord);
    const TEventError* e = AEvent.GetException();
    if (e && !FLayout->IgnoresException()) FWriter->Println(L"Exception: " + e->Message);
}
