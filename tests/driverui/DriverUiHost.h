// The test host's side of the print system: loads the built plug-in, captures debugger
// output, and installs label printers in Wine's spooler.
#pragma once
#include "oemabi.h"
#include <string>
#include <vector>

// The built VKTDriverUI.dll beside the test program, loaded once for the whole run.
struct TPluginDll {
    HMODULE module = nullptr;
    HRESULT(STDAPICALLTYPE* GetClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* CanUnloadNow)() = nullptr;
};
std::wstring PluginPath();
const TPluginDll& Plugin();

// A new IPrintOemUI object through DllGetClassObject and CreateInstance; the caller releases it.
IPrintOemUI* CreatePluginObject();

// Collects this process's debugger output while alive, as the plug-in DLL writes it
// (through OutputDebugString, seen by a vectored exception handler).
class TDebuggerCapture {
public:
    TDebuggerCapture();
    ~TDebuggerCapture();
    TDebuggerCapture(const TDebuggerCapture&) = delete;
    TDebuggerCapture& operator=(const TDebuggerCapture&) = delete;
    std::string Text() const;
    bool Has(const std::string& line) const { return Text().find(line) != std::string::npos; }

private:
    void* m_handler;
};

// Collects the in-process workers' output through the debug sink seam.
class TSinkCapture {
public:
    TSinkCapture();
    ~TSinkCapture();
    TSinkCapture(const TSinkCapture&) = delete;
    TSinkCapture& operator=(const TSinkCapture&) = delete;
    const std::vector<std::wstring>& Lines() const;
    const std::vector<std::string>& NarrowLines() const;
    bool Has(const std::wstring& line) const;
};

// Label printers installed once in the private Wine prefix's spooler.
struct TTestPrinters {
    std::wstring withData;      // driver depends on "labels.dat" (lower case) and a logo
    std::wstring withBakData;   // driver depends on "data.dat.bak"
    std::wstring withoutData;   // driver has no ".DAT" dependent file
    std::wstring driverDir;     // the spooler's printer driver directory
    std::wstring dataFile;      // installed labels.dat
};
const TTestPrinters& Printers();
// Contents of the installed labels.dat.
extern const char* const kLabelsDat;

// A 24-bit bottom-up bitmap file of one colour.
std::string BitmapFile(int width, int height, COLORREF colour);

// A public devmode whose device name is the printer name.
DEVMODEW PublicDevmode(const std::wstring& printerName);

// Lets this thread's pending window messages run.
void PumpMessages();

// The page the plug-in adds at INIT, collected as the print system's sheet would:
// DocumentPropertySheets when document is true, else DevicePropertySheets. Also gives
// the method's result and the sheet result it set.
HPROPSHEETPAGE CollectPluginPage(IPrintOemUI* ui, bool document, OEMUIPSPARAM& ps, HRESULT* hr, ULONG_PTR* result);

// A modeless property sheet showing the one page, with its messages run.
HWND ShowSheet(HPROPSHEETPAGE* page, PCWSTR caption);
