// Owner of one kernel handle (device, pipe, process, thread): closed when it goes.
#pragma once
#include <windows.h>

class THandle {
public:
    explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~THandle() { reset(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    HANDLE get() const { return m_h; }
    bool valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE release() {
        HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return h;
    }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (valid()) CloseHandle(m_h);
        m_h = h;
    }

private:
    HANDLE m_h;
};
