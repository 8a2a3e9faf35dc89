#include "TXMLLayoutUnit.h"

std::wstring TXMLLayout::Format(const TLoggingEvent& AEvent) {
    std::wstring s = L"<kvlog:event timestamp=\"" + std::to_wstring(PackedTimeStamp(AEvent.GetStartTime())) +
                     L"\" level=\"" + AEvent.GetLevel()->GetName() + L"\">\r\n";
    s += L"    <kvlog:message><![CDATA[" + AEvent.GetMessage() + L"]]></kvlog:message>\r\n";
    if (const TEventError* e = AEvent.GetException())
        s += L"    <kvlog:exception class=\"" + e->ClassName + L"\"><![CDATA[" + e->Message +
             L"]]></kvlog:exception>\r\n";
    s += L"</kvlog:event>\r\n";
    return s;
}
