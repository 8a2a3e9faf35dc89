// The overlapped device I/O against a named pipe whose other end this test plays, in
// message mode so that every chunk the client writes arrives as one message.
#include "Lib_Error.h"
#include "Lib_Services.h"
#include "Lib_UsbPrinter.h"
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {
std::wstring UniquePipeName() {
    static LONG counter = 0;
    return L"\\\\.\\pipe\\kovrin-usbio-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter));
}

// Real waits (the pipe needs them), each one also noted.
class TRecordingClock : public IClock {
public:
    std::vector<DWORD> sleeps;
    void Sleep(DWORD ms) override {
        sleeps.push_back(ms);
        ::Sleep(ms);
    }
    ULONGLONG TickCount() override { return GetTickCount64(); }
};

// The printer's end of the pipe, with the client (the device handle) already connected.
class PipeDevice : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedClock = Services().clock;
        Services().clock = &clock;
    }
    void TearDown() override { Services().clock = m_savedClock; }
    void Connect(DWORD inBuffer = 65536) {
        m_name = UniquePipeName();
        printerEnd.reset(CreateNamedPipeW(m_name.c_str(), PIPE_ACCESS_DUPLEX,
                                          PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 65536, inBuffer,
                                          0, nullptr));
        ASSERT_TRUE(printerEnd.valid());
        device.reset(OpenUsbDevice(m_name));
        ASSERT_TRUE(device.valid()) << GetLastError();
        BOOL ok = ConnectNamedPipe(printerEnd.get(), nullptr);
        ASSERT_TRUE(ok || GetLastError() == ERROR_PIPE_CONNECTED);
    }
    void Send(const std::string& bytes) {
        DWORD put = 0;
        ASSERT_TRUE(WriteFile(printerEnd.get(), bytes.data(), (DWORD)bytes.size(), &put, nullptr));
    }
    // The messages waiting at the printer's end, each as its length.
    std::vector<DWORD> ReceivedMessages() {
        std::vector<DWORD> sizes;
        DWORD avail = 0;
        std::string buf(65536, '\0');
        while (PeekNamedPipe(printerEnd.get(), nullptr, 0, nullptr, &avail, nullptr) && avail > 0) {
            DWORD got = 0;
            ReadFile(printerEnd.get(), &buf[0], (DWORD)buf.size(), &got, nullptr);
            sizes.push_back(got);
        }
        return sizes;
    }

    std::wstring m_name;
    THandle printerEnd;
    THandle device;
    TRecordingClock clock;
    IClock* m_savedClock = nullptr;
};

TEST(UsbDevice, UnpluggedPrinterCannotBeOpened) {
    THandle h(OpenUsbDevice(UniquePipeName()));
    EXPECT_FALSE(h.valid());
    EXPECT_EQ(h.get(), INVALID_HANDLE_VALUE);
}

TEST(UsbDevice, InvalidHandleIsAnAssertionFailure) {
    char buf[4] = {};
    for (int op = 0; op < 2; ++op) {
        try {
            if (op == 0)
                UsbRead(INVALID_HANDLE_VALUE, buf, 4, 10, 0);
            else
                UsbWrite(INVALID_HANDLE_VALUE, buf, 4, 10, 0);
            ADD_FAILURE() << "no assertion for operation " << op;
        } catch (const EKovrinError& e) {
            EXPECT_EQ(e.Message(), L"Assertion failure");
        }
    }
}

TEST_F(PipeDevice, SilentReadTimesOutCancelsAndTheNextReadWorks) {
    Connect();
    char buf[4096];
    SetLastError(77);
    EXPECT_EQ(UsbRead(device.get(), buf, sizeof buf, 100, 0), 0u);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_TIMEOUT);
    // The cancelled read took nothing: what the printer sends now reaches the next read whole.
    Send("abc");
    EXPECT_EQ(UsbRead(device.get(), buf, sizeof buf, 1000, 0), 3u) << "a short read reports what came";
    EXPECT_EQ(std::string(buf, 3), "abc");
}

TEST_F(PipeDevice, DataArrivingWithinTheTimeOutIsAwaited) {
    Connect();
    std::thread printer([this] {
        Sleep(80);
        DWORD put = 0;
        WriteFile(printerEnd.get(), "\xCB\x00", 2, &put, nullptr);
    });
    char buf[16] = {};
    SetLastError(77);
    DWORD got = UsbRead(device.get(), buf, sizeof buf, 5000, 0);
    printer.join();
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(std::string(buf, 2), std::string("\xCB\x00", 2));
}

TEST_F(PipeDevice, ReadLimitedToCountLeavesTheRestForLater) {
    Connect();
    Send("0123456789");
    char buf[16] = {};
    EXPECT_EQ(UsbRead(device.get(), buf, 4, 200, 7), 4u);
    EXPECT_EQ(UsbRead(device.get(), buf + 4, 12, 200, 0), 6u);
    EXPECT_EQ(clock.sleeps, (std::vector<DWORD>{7, 0})) << "the delay before each read, 0 included";
    EXPECT_EQ(std::string(buf, 10), "0123456789");
}

TEST_F(PipeDevice, WritesGoOutInChunksOf4096) {
    Connect();
    struct Case {
        DWORD count;
        std::vector<DWORD> chunks;
    } cases[] = {{1, {1}}, {4095, {4095}}, {4096, {4096}}, {4097, {4096, 1}}, {8192, {4096, 4096}},
                 {10000, {4096, 4096, 1808}}};
    for (const Case& c : cases) {
        std::string data(c.count, '\0');
        for (DWORD i = 0; i < c.count; ++i) data[i] = (char)(i * 7);
        clock.sleeps.clear();
        EXPECT_EQ(UsbWrite(device.get(), data.data(), c.count, 1000, 3), c.count);
        EXPECT_EQ(ReceivedMessages(), c.chunks) << c.count;
        // The delay before the call, then 10 ms after every chunk.
        std::vector<DWORD> waits{3};
        waits.insert(waits.end(), c.chunks.size(), 10);
        EXPECT_EQ(clock.sleeps, waits) << c.count;
    }
}

TEST_F(PipeDevice, TimedOutFirstChunkEndsTheWrite) {
    Connect(1);  // the printer takes next to nothing and never reads
    std::string data(3 * 4096, 'x');
    SetLastError(77);
    DWORD put = UsbWrite(device.get(), data.data(), (DWORD)data.size(), 150, 0);
    DWORD error = GetLastError();
    EXPECT_EQ(clock.sleeps, std::vector<DWORD>{0}) << "only the delay: no later chunk, no pause";
    EXPECT_LT(put, 4096u) << "the first chunk never went through";
    EXPECT_EQ(error, (DWORD)ERROR_TIMEOUT);
    std::vector<DWORD> got = ReceivedMessages();
    EXPECT_LE(got.size(), 1u) << "no later chunk was started";
}

TEST_F(PipeDevice, ReadAfterThePrinterHungUpReturnsAtOnce) {
    Connect();
    printerEnd.reset();
    char buf[8];
    EXPECT_EQ(UsbRead(device.get(), buf, sizeof buf, 5000, 0), 0u);
    EXPECT_LT(UsbWrite(device.get(), "ab", 2, 5000, 0), 2u);
}
}  // namespace
