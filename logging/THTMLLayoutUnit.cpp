#include "THTMLLayoutUnit.h"
#include "TLogLogUnit.h"

void THTMLLayout::SetTitle(const std::wstring& ATitle) {
    FTitle = ATitle;
    TLogLog::Debug(L"THTMLLayout.SetTitle: " + ATitle);
}

std::wstring THTMLLayout::GetHeader() const {
    return L"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\"\r\n"
           L"    \"http://www.w3.org/TR/html4/strict.dtd\">\r\n"
           L"<html>\r\n"
           L"    <head>\r\n"
           L"        <title>Kvlog Log Messages</title>\r\n"
           L"        <style type=\"text/css\">\r\n"
           L"            body {margin: 6px; font-family: arial, sans-serif; font-size: small;}\r\n"
           L"            table {font-family: arial, sans-serif; font-size: 9pt;}\r\n"
           L"            th {background: #336699; color: #FFFFFF; text-align: left;}\r\n"
           L"            td.debug {color: #339933;}\r\n"
           L"            td.warn {color: #FF9229;}\r\n"
           L"            td.error {color: #CC0000;}\r\n"
           L"            td.fatal {color: #FF0000;}\r\n"
           L"        </style>\r\n"
           L"    </head>\r\n"
           L"    <body>\r\n"
           L"        <p>Log session start time Tue Sep 13 16:19:28 SAST 2005</p>\r\n"
           L"        <table cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\r\n"
           L"            <thead>\r\n"
           L"                <tr>\r\n"
           L"                    <th>Time</th>\r\n"
           L"                    <th>Level</th>\r\n"
           L"                    <th>Message</th>\r\n"
           L"                </tr>\r\n"
           L"            </thead>\r\n"
           L"            <tbody>\r\n";
}

std::wstring THTMLLayout::GetFooter() const {
    return L"            </tbody>\r\n"
           L"        </table>\r\n"
           L"    </body>\r\n"
           L"</html>\r\n";
}

std::wstring THTMLLayout::Format(const TLoggingEvent& AEvent) {
    const std::wstring& level = AEvent.GetLevel()->GetName();
    std::wstring message = AEvent.GetMessage();
    if (const TEventError* e = AEvent.GetException()) message += L"; Exception:" + e->Message;
    return L"                <tr>\r\n"
           L"                    <td title=\"Timestamp\">" +
           std::to_wstring(PackedTimeStamp(AEvent.GetStartTime())) +
           L"</td>\r\n"
           L"                    <td title=\"Level\" class=\"" +
           level + L"\">" + level +
           L"</td>\r\n"
           L"                    <td title=\"Message\">" +
           message +
           L"</td>\r\n"
           L"                </tr>\r\n";
}
