// Scoped owners for the handles the plug-in opens itself (never for memory the print system owns).
#pragma once
#include <windows.h>
#include <winspool.h>

// A is the closer's parameter type (HGDIOBJ for every GDI object).
template <typename T, typename A, BOOL(WINAPI* Close)(A)>
class TScoped {
public:
    explicit TScoped(T h = nullptr) : m_h(h) {}
    ~TScoped() { reset(); }
    TScoped(const TScoped&) = delete;
    TScoped& operator=(const TScoped&) = delete;
    T get() const { return m_h; }
    T release() {
        T h = m_h;
        m_h = nullptr;
        return h;
    }
    void reset(T h = nullptr) {
        if (m_h)
            Close(m_h);
        m_h = h;
    }

private:
    T m_h;
};

using TBitmap = TScoped<HBITMAP, HGDIOBJ, DeleteObject>;
using TMemoryDC = TScoped<HDC, HDC, DeleteDC>;
using TPrinterHandle = TScoped<HANDLE, HANDLE, ClosePrinter>;

// A printer opened by name; empty when it cannot be opened.
inline HANDLE OpenPrinterByName(PCWSTR name) {
    HANDLE h = nullptr;
    return OpenPrinterW(const_cast<PWSTR>(name), &h, nullptr) ? h : nullptr;
}
