// The four printer transactions over USB: resolution, status, Wi-Fi settings and their
// read-back. Each opens the device, exchanges bytes over PrinterChannel(), closes it and
// returns a code; the waits between reads go through Services().clock.
#pragma once
#include <string>

// Resolution in dots per inch; 0 when the printer did not answer, -1 device not opened,
// -2 command not written.
int GetPrinterDpi(const std::wstring& devicePath);

// 0 ready, 1 no answer (or command not written), 2 cover open, 3 paper end,
// 4 other offline condition, -1 device not opened.
int GetPrinterStatus(const std::wstring& devicePath);

// A text field holds characters 0 to 255 only; SetPrinterWiFi refuses any other with this
// code before touching the device.
const int kWiFiTextNotSendable = -2;

// 0 confirmed, -99 answered without confirming, 1..6 the stage that failed, 10 apply not
// written or unanswered within timeoutMs (<= 0: wait for ever), -1 device not opened,
// kWiFiTextNotSendable.
int SetPrinterWiFi(const std::wstring& devicePath, const std::wstring& networkName, const std::wstring& password,
                   bool dhcp, const std::wstring& ipAddress, const std::wstring& mask, const std::wstring& gateway,
                   int timeoutMs);

// 0 when a complete reply with an address other than "0.0.0.0" came, 1 when seven attempts
// brought none, -1 device not opened. The out values hold the last complete reply.
// A state field that is not a decimal number raises EKovrinError.
int GetPrinterWiFi(const std::wstring& devicePath, std::wstring& networkName, std::wstring& ipAddress, bool& dhcp,
                   int& state);
