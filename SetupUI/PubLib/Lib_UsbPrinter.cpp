#include "Lib_UsbPrinter.h"
#include "Lib_Error.h"
#include "Lib_Services.h"

namespace {
const DWORD kChunk = 4096;
const DWORD kPauseBetweenChunksMs = 10;

void AssertValid(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE) throw EKovrinError(L"Assertion failure");
}

// Waits on the device handle for the pending transfer of ov and returns its byte count.
// On time-out the transfer is cancelled, and its end awaited, before the overlapped record
// and the buffer go out of scope: the system would otherwise write into them later.
DWORD AwaitTransfer(HANDLE handle, OVERLAPPED& ov, DWORD timeoutMs, bool& completed) {
    DWORD wait = WaitForSingleObject(handle, timeoutMs);
    DWORD done = 0;
    if (wait == WAIT_OBJECT_0) {
        GetOverlappedResult(handle, &ov, &done, FALSE);
        completed = true;
        SetLastError(0);
        return done;
    }
    CancelIo(handle);
    // Bytes that arrived while the wait ended still count; a cancelled transfer reports 0.
    GetOverlappedResult(handle, &ov, &done, TRUE);
    completed = false;
    SetLastError(wait == WAIT_TIMEOUT ? ERROR_TIMEOUT : ERROR_INVALID_ACCESS);
    return done;
}

IPrinterChannel* g_channel = nullptr;
}  // namespace

HANDLE OpenUsbDevice(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD UsbRead(HANDLE handle, void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    AssertValid(handle);
    Services().clock->Sleep(delayMs);  // 0 still yields once
    OVERLAPPED ov = {};
    DWORD got = 0;
    if (ReadFile(handle, buffer, count, &got, &ov) || GetLastError() != ERROR_IO_PENDING) return got;
    bool completed = false;
    return AwaitTransfer(handle, ov, timeoutMs, completed);
}

DWORD UsbWrite(HANDLE handle, const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    AssertValid(handle);
    Services().clock->Sleep(delayMs);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    OVERLAPPED ov = {};
    DWORD total = 0;
    const DWORD chunks = count / kChunk + (count % kChunk ? 1 : 0);
    for (DWORD i = 0; i < chunks; ++i) {
        const DWORD start = i * kChunk;
        const DWORD length = (i + 1) * kChunk < count ? kChunk : count - start;
        DWORD put = 0;
        BOOL ok = WriteFile(handle, bytes + start, length, &put, &ov);
        total += put;
        // A chunk that failed at once does not stop the write; only a timed-out one does.
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            bool completed = false;
            total += AwaitTransfer(handle, ov, timeoutMs, completed);
            if (!completed) break;
        }
        Services().clock->Sleep(kPauseBetweenChunksMs);
    }
    return total;
}

bool TUsbDeviceChannel::Open(const std::wstring& path) {
    m_device.reset(OpenUsbDevice(path));
    return m_device.valid();
}
DWORD TUsbDeviceChannel::Read(void* buffer, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    return UsbRead(m_device.get(), buffer, count, timeoutMs, delayMs);
}
DWORD TUsbDeviceChannel::Write(const void* data, DWORD count, DWORD timeoutMs, DWORD delayMs) {
    return UsbWrite(m_device.get(), data, count, timeoutMs, delayMs);
}
void TUsbDeviceChannel::Close() { m_device.reset(); }

IPrinterChannel& PrinterChannel() {
    static TUsbDeviceChannel usb;
    return g_channel ? *g_channel : usb;
}
void SetPrinterChannel(IPrinterChannel* channel) { g_channel = channel; }
