#include "TSimpleLayoutUnit.h"

std::wstring TSimpleLayout::Format(const TLoggingEvent& AEvent) {
    return AEvent.GetLevel()->GetName() + L" - " + AEvent.GetMessage();
}
