#include "TWriterAppenderUnit.h"

void TWriterAppender::Append(const TLoggingEvent& AEvent) {
    if (!FWriter || !FLayout) return;
    FWriter->Println(FLayout->Format(AEvent));
    const TEventError* e = AEvent.GetException();
    if (e && !FLayout->IgnoresException()) FWriter->Println(L"Exception: " + e->Message);
}
