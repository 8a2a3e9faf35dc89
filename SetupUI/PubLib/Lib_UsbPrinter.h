// The byte channel to a USB printer: overlapped device I/O with a time-out and a delay
// before each call, and the channel interface the printer commands are written over.
#pragma once
#include "Lib_Handle.h"
#include <windows.h>
#include <string>

// Opens the device path for overlapped reading and writing; INVALID_HANDLE_VALUE when it
// cannot be opened (the printer was unplugged, say).
HANDLE OpenUsbDevice(const std::wstring& path);

// One read of at most count bytes; returns the bytes read (0 on time-out). Leaves 0, 1460
// (ERROR_TIMEOUT) or 12 in the last-error value when the transfer had to be waited for.
DWORD UsbRead(HANDLE handle, void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs);
// Writes count bytes in chunks of 4096; returns the bytes written. A chunk that times out
// ends the write. Same last-error codes as UsbRead.
DWORD UsbWrite(HANDLE handle, const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs);

// What a printer transaction talks to: open the device, exchange bytes, close it again.
// The product uses the USB device; tests use a scripted printer or the simulator.
struct IPrinterChannel {
    virtual ~IPrinterChannel() = default;
    virtual bool Open(const std::wstring& path) = 0;  // false: the device cannot be opened
    virtual DWORD Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) = 0;
    virtual DWORD Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) = 0;
    virtual void Close() = 0;
};

// The channel over the device I/O above.
class TUsbDeviceChannel : public IPrinterChannel {
public:
    bool Open(const std::wstring& path) override;
    DWORD Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) override;
    DWORD Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) override;
    void Close() override;

private:
    THandle m_device;
};

// The channel every printer transaction uses; the USB device unless replaced (tests, and
// the wizard's tests against the simulator). nullptr puts the USB device back.
IPrinterChannel& PrinterChannel();
void SetPrinterChannel(IPrinterChannel* channel);
