// The plug-in's COM classes: the class factory IOEMCF and the plug-in object IOEMUI.
// Each method writes its trace line and hands over to a plain worker below.
#pragma once
#include "oemabi.h"

class IOEMCF final : public IClassFactory {
public:
    IOEMCF() = default;
    IOEMCF(const IOEMCF&) = delete;
    IOEMCF& operator=(const IOEMCF&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL bLock) override;

private:
    ~IOEMCF() = default;
    volatile LONG m_cRef = 1;
};

class IOEMUI final : public IPrintOemUI {
public:
    IOEMUI();
    IOEMUI(const IOEMUI&) = delete;
    IOEMUI& operator=(const IOEMUI&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) override;
    STDMETHODIMP DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) override;

    STDMETHODIMP PublishDriverInterface(IUnknown* pIUnknown) override;
    STDMETHODIMP CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) override;
    STDMETHODIMP DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
    STDMETHODIMP DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
    STDMETHODIMP DevQueryPrintEx(POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo, PDEVMODEW pPublicDM,
                                 PVOID pOEMDM) override;
    STDMETHODIMP DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability,
                                    PVOID pOutput, PDEVMODEW pPublicDM, PVOID pOEMDM, DWORD dwOld,
                                    DWORD* dwResult) override;
    STDMETHODIMP UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) override;
    STDMETHODIMP PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) override;
    STDMETHODIMP DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) override;
    STDMETHODIMP QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM, PVOID pOEMDM,
                                   ULONG ulQueryMode, VOID* pvProfileData, ULONG* pcbProfileData,
                                   FLONG* pflProfileData) override;
    STDMETHODIMP FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) override;
    STDMETHODIMP UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) override;

private:
    ~IOEMUI();
    volatile LONG m_cRef = 1;
    IPrintOemDriverUI* m_pOEMHelp = nullptr;
};

// ---- Workers ------------------------------------------------------------------------

HRESULT OemGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
HRESULT OemCanUnloadNow();

HRESULT hrOEMGetInfo(DWORD mode, PVOID buffer, DWORD cbSize, PDWORD pcbNeeded);
// Asks pIUnknown for the helper interface unless *helper is already set.
HRESULT hrOEMPublishDriverInterface(IUnknown* pIUnknown, IPrintOemDriverUI** helper);
HRESULT hrOEMCommonUIProp(DWORD mode, POEMCUIPPARAM param);
// Hides the driver's items that the label page replaces.
void HideDriverItems(POPTITEM items, DWORD count);
HRESULT hrOEMDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam);
HRESULT hrOEMDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam);

// Page creation at PROPSHEETUI_REASON_INIT; each returns the pfnComPropSheet result.
LONG_PTR AddAboutPage(PPROPSHEETUI_INFO info);
// Entry point of the label setting page; its module takes this over.
LONG_PTR AddLabelSettingPage(PPROPSHEETUI_INFO info);
