// The wizard window: five pages shown one at a time, the buttons below them and the
// flows behind the buttons. One thread; long steps let messages run at fixed points.
#pragma once
#include "frmMain_VKT_Controls.h"
#include <windows.h>
#include <map>
#include <string>
#include <vector>

// A printer found on USB.
struct TPrinterInfo {
    std::wstring MFG;       // the manufacturer key that matched the device ID
    std::wstring Port;      // e.g. "USB001"
    std::wstring FileName;  // the device path every transaction opens
};

// The manufacturer keys, tested in this order, case-sensitive.
extern const wchar_t* const kManufacturerKeys[3];
// The first key that occurs in the device ID, or nullptr.
const wchar_t* MatchManufacturerKey(const std::wstring& deviceId);

// The Wi-Fi fields as the field rule sees them.
struct TWiFiFields {
    std::wstring networkName;
    std::wstring password;
    bool dhcp = true;
    std::wstring ipAddress;
    std::wstring mask;
    std::wstring gateway;
};
// Next may be pressed with these fields.
bool WiFiFieldsComplete(const TWiFiFields& f);

// The result page's text for an installation result code, with the printer and port filled in.
// Success texts only for 1 to 3; a package installation's HRESULT_FROM_WIN32 failure reads as a
// process error with its Windows error code.
std::wstring InstallResultText(long long code, const std::wstring& printerName, const std::wstring& portName);
// Whether an installation result code means the printer was installed.
inline bool InstallSucceeded(long long code) { return code >= 1 && code <= 3; }

// Pages, 1 to 5.
enum TWizardPage { pgLicence = 1, pgConnect, pgPort, pgInstall, pgResult };

class TFormMain_VKT {
public:
    TFormMain_VKT();
    ~TFormMain_VKT();
    TFormMain_VKT(const TFormMain_VKT&) = delete;
    TFormMain_VKT& operator=(const TFormMain_VKT&) = delete;

    // Creates the window and its controls (hidden) and runs FormCreate. The resources
    // (pictures, icons, busy animation, Lang.dat) come from the module `resources`.
    void Create(HINSTANCE resources);
    // Runs FormShow and shows the window.
    void Show();
    HWND Handle() const { return m_hwnd; }
    HWND Control(TControlId id) const;

    // Fields of the window.
    std::wstring m_TempDir;
    int m_dpi = 0;
    std::vector<TPrinterInfo> m_VKTPrinter;

    // The page showing, 1 to 5.
    int ActivePage() const { return m_page; }
    // The hint (tooltip) text of a control.
    std::wstring Hint(TControlId id) const;

    // Actions; each control event reaches one of these through the event boundary.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void pgc1Change();
    void btn_NextClick();
    void btn_PrevClick();
    void chk01_AcceptClick();
    void pnl_LicenseClick();
    void rb03_USBClick();
    void rb03_WiFiClick();
    void rb03_WiFi_DHCPClick(TControlId sender);
    void edt03_WiFi_NetWorkNameChange();
    void img03_ViewPasswordClick();
    void lbl03_WiFi_IPAddressDblClick();
    void lst03_USBPrinterListClick();
    void btn05_TestPageClick();
    void img1DblClick();
    bool CheckUSBPrinter();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(int id, int code);
    void CreateControls();
    void Layout();
    void ShowPage(int page);
    void WriteResourceFile(const wchar_t* resource, const std::wstring& fileName);
    void ShowMessage(const std::wstring& text, const std::wstring& caption);
    void LetMessagesRunAndWait(DWORD ms);
    void SetHint(TControlId id, const std::wstring& text);
    void FitButtonText(HWND button, HFONT font, const TControlDef& d);

    // Control helpers.
    std::wstring Text(TControlId id) const;
    void SetText(TControlId id, const std::wstring& text);
    bool Checked(TControlId id) const;
    void SetEnabled(TControlId id, bool enabled);
    void SetVisible(TControlId id, bool visible);

    // Work that belongs to the Wi-Fi set-up and the installation; see frmMain_VKT_WiFi.cpp
    // and frmMain_VKT_Install.cpp.
    void PrefillWiFiFromPC();
    void RunInstallation();
    void ShowInstallResult(const std::wstring& printerName, const std::wstring& portName, long long code);
    void FillPaperSizes();
    void SetProgress(int position);

    HINSTANCE m_resources = nullptr;
    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    std::map<int, HFONT> m_extraFonts;
    std::map<int, HWND> m_controls;
    std::map<int, int> m_tags;
    std::map<int, int> m_shift;  // pixels a control moves right to make room
    std::map<int, std::wstring> m_hints;
    HWND m_tooltip = nullptr;
    int m_page = 0;
    int m_pageControlTop = 3;  // the design top; activation lifts the tab row out of sight
    bool m_nextClickAttached = true;  // detached while USB detection runs
    bool m_changeAttached = true;     // the edits' change action
};

extern TFormMain_VKT* FormMain_VKT;
