// The print system's OEM user-interface plug-in binary interface, as far as this plug-in
// uses it. The mingw-w64 headers do not carry it, so it is declared here from the
// documented layouts; the static_asserts pin every offset the print system relies on.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <winspool.h>
#include <prsht.h>
#include <compstui.h>
#include <winddiui.h>
#include <cstddef>

// ---- Identifiers -------------------------------------------------------------------

// The plug-in's class: the one class the print system asks an OEM UI module for.
static const CLSID CLSID_OEMUI = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
static const IID IID_IPrintOemUI = {0xC6A7A9D0, 0x774C, 0x11D1, {0x94, 0x7F, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
static const IID IID_IPrintOemDriverUI = {0x92B05D50, 0x78BC, 0x11D1, {0x94, 0x80, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};

// ---- Constants ---------------------------------------------------------------------

// GetInfo modes
#define OEMGI_GETSIGNATURE        1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION          3
#define OEMGI_GETPUBLISHERINFO    4

// DevMode modes
#define OEMDM_SIZE    1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE   4

// CommonUIProp modes
#define OEMCUIP_DOCPROP 1
#define OEMCUIP_PRNPROP 2

// ---- Parameter blocks --------------------------------------------------------------

struct OEMUIPROCS;  // the driver's helper callbacks; opaque here

typedef struct _OEMUIOBJ {
    DWORD cbSize;
    OEMUIPROCS* pOemUIProcs;
} OEMUIOBJ, *POEMUIOBJ;

// Leading header of every plug-in's private devmode block.
typedef struct _OEM_DMEXTRAHEADER {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

typedef struct _OEMDMPARAM {
    DWORD cbSize;
    PVOID pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    PDEVMODEW pPublicDMIn;
    PDEVMODEW pPublicDMOut;
    PVOID pOEMDMIn;
    PVOID pOEMDMOut;
    DWORD cbBufSize;
} OEMDMPARAM, *POEMDMPARAM;

typedef struct _OEMCUIPPARAM* POEMCUIPPARAM;
typedef LONG(APIENTRY* OEMCUIPCALLBACK)(PCPSUICBPARAM, POEMCUIPPARAM);

typedef struct _OEMCUIPPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    DWORD dwFlags;
    POPTITEM pDrvOptItems;
    DWORD cDrvOptItems;
    POPTITEM pOEMOptItems;
    DWORD cOEMOptItems;
    PVOID pOEMUserData;
    OEMCUIPCALLBACK OEMCUIPCallback;
} OEMCUIPPARAM;

// lParamInit of the PROPSHEETUI_INFO that DocumentPropertySheets and
// DevicePropertySheets receive.
typedef struct _OEMUIPSPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PVOID pOEMUserData;
    DWORD dwFlags;
    PVOID pOemEntry;
} OEMUIPSPARAM, *POEMUIPSPARAM;

// Argument of DevQueryPrintEx; the mingw winddiui.h lacks it.
typedef struct _DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

// ---- Interfaces --------------------------------------------------------------------

// The driver's helper interface handed to PublishDriverInterface.
struct IPrintOemDriverUI : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput, DWORD cbSize,
                                                          PDWORD pcbNeeded, PDWORD pdwOptionsReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR pFeature, PCSTR pOption) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection,
                                                         DWORD dwMode) = 0;
};

// Slots shared by the UI and the rendering plug-in interfaces.
struct IPrintOemCommon : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
};

struct IPrintOemUI : public IPrintOemCommon {
    virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* pIUnknown) = 0;
    virtual HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo,
                                                      PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter, PWSTR pDeviceName,
                                                         WORD wCapability, PVOID pOutput, PDEVMODEW pPublicDM,
                                                         PVOID pOEMDM, DWORD dwOld, DWORD* dwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,
                                                   LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                                                  LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM,
                                                        PVOID pOEMDM, ULONG ulQueryMode, VOID* pvProfileData,
                                                        ULONG* pcbProfileData, FLONG* pflProfileData) = 0;
    virtual HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) = 0;
};

// ---- Layout checks -----------------------------------------------------------------

static_assert(sizeof(OEM_DMEXTRAHEADER) == 12, "OEM_DMEXTRAHEADER is three DWORDs");
static_assert(offsetof(OEM_DMEXTRAHEADER, dwSignature) == 4, "dwSignature offset");
static_assert(offsetof(OEM_DMEXTRAHEADER, dwVersion) == 8, "dwVersion offset");

#if defined(_WIN64)
static_assert(sizeof(OEMDMPARAM) == 72, "OEMDMPARAM size (64-bit)");
static_assert(offsetof(OEMDMPARAM, pPublicDMIn) == 32, "OEMDMPARAM.pPublicDMIn (64-bit)");
static_assert(offsetof(OEMDMPARAM, pOEMDMIn) == 48, "OEMDMPARAM.pOEMDMIn (64-bit)");
static_assert(offsetof(OEMDMPARAM, pOEMDMOut) == 56, "OEMDMPARAM.pOEMDMOut (64-bit)");
static_assert(offsetof(OEMDMPARAM, cbBufSize) == 64, "OEMDMPARAM.cbBufSize (64-bit)");

static_assert(sizeof(OEMCUIPPARAM) == 120, "OEMCUIPPARAM size (64-bit)");
static_assert(offsetof(OEMCUIPPARAM, pPrinterName) == 24, "OEMCUIPPARAM.pPrinterName (64-bit)");
static_assert(offsetof(OEMCUIPPARAM, hOEMHeap) == 40, "OEMCUIPPARAM.hOEMHeap (64-bit)");
static_assert(offsetof(OEMCUIPPARAM, dwFlags) == 64, "OEMCUIPPARAM.dwFlags (64-bit)");
static_assert(offsetof(OEMCUIPPARAM, pDrvOptItems) == 72, "OEMCUIPPARAM.pDrvOptItems (64-bit)");
static_assert(offsetof(OEMCUIPPARAM, cDrvOptItems) == 80, "OEMCUIPPARAM.cDrvOptItems (64-bit)");
static_assert(offsetof(OEMCUIPPARAM, OEMCUIPCallback) == 112, "OEMCUIPPARAM.OEMCUIPCallback (64-bit)");

static_assert(sizeof(OEMUIPSPARAM) == 88, "OEMUIPSPARAM size (64-bit)");
static_assert(offsetof(OEMUIPSPARAM, hOEMHeap) == 40, "OEMUIPSPARAM.hOEMHeap (64-bit)");
static_assert(offsetof(OEMUIPSPARAM, pPublicDM) == 48, "OEMUIPSPARAM.pPublicDM (64-bit)");
static_assert(offsetof(OEMUIPSPARAM, pOEMDM) == 56, "OEMUIPSPARAM.pOEMDM (64-bit)");
static_assert(offsetof(OEMUIPSPARAM, dwFlags) == 72, "OEMUIPSPARAM.dwFlags (64-bit)");
static_assert(offsetof(OEMUIPSPARAM, pOemEntry) == 80, "OEMUIPSPARAM.pOemEntry (64-bit)");

static_assert(sizeof(PROPSHEETUI_INFO) == 48, "PROPSHEETUI_INFO size (64-bit)");
static_assert(offsetof(PROPSHEETUI_INFO, lParamInit) == 24, "PROPSHEETUI_INFO.lParamInit (64-bit)");
static_assert(offsetof(PROPSHEETUI_INFO, Result) == 40, "PROPSHEETUI_INFO.Result (64-bit)");
static_assert(offsetof(OPTITEM, DMPubID) == 52, "OPTITEM.DMPubID (64-bit)");
static_assert(sizeof(OPTITEM) == 88, "OPTITEM size (64-bit)");
#else
static_assert(sizeof(OEMDMPARAM) == 36, "OEMDMPARAM size (32-bit)");
static_assert(offsetof(OEMDMPARAM, pPublicDMIn) == 16, "OEMDMPARAM.pPublicDMIn (32-bit)");
static_assert(offsetof(OEMDMPARAM, pOEMDMIn) == 24, "OEMDMPARAM.pOEMDMIn (32-bit)");
static_assert(offsetof(OEMDMPARAM, pOEMDMOut) == 28, "OEMDMPARAM.pOEMDMOut (32-bit)");
static_assert(offsetof(OEMDMPARAM, cbBufSize) == 32, "OEMDMPARAM.cbBufSize (32-bit)");

static_assert(sizeof(OEMCUIPPARAM) == 60, "OEMCUIPPARAM size (32-bit)");
static_assert(offsetof(OEMCUIPPARAM, pPrinterName) == 12, "OEMCUIPPARAM.pPrinterName (32-bit)");
static_assert(offsetof(OEMCUIPPARAM, hOEMHeap) == 20, "OEMCUIPPARAM.hOEMHeap (32-bit)");
static_assert(offsetof(OEMCUIPPARAM, dwFlags) == 32, "OEMCUIPPARAM.dwFlags (32-bit)");
static_assert(offsetof(OEMCUIPPARAM, pDrvOptItems) == 36, "OEMCUIPPARAM.pDrvOptItems (32-bit)");
static_assert(offsetof(OEMCUIPPARAM, cDrvOptItems) == 40, "OEMCUIPPARAM.cDrvOptItems (32-bit)");
static_assert(offsetof(OEMCUIPPARAM, OEMCUIPCallback) == 56, "OEMCUIPPARAM.OEMCUIPCallback (32-bit)");

static_assert(sizeof(OEMUIPSPARAM) == 44, "OEMUIPSPARAM size (32-bit)");
static_assert(offsetof(OEMUIPSPARAM, hOEMHeap) == 20, "OEMUIPSPARAM.hOEMHeap (32-bit)");
static_assert(offsetof(OEMUIPSPARAM, pPublicDM) == 24, "OEMUIPSPARAM.pPublicDM (32-bit)");
static_assert(offsetof(OEMUIPSPARAM, pOEMDM) == 28, "OEMUIPSPARAM.pOEMDM (32-bit)");
static_assert(offsetof(OEMUIPSPARAM, dwFlags) == 36, "OEMUIPSPARAM.dwFlags (32-bit)");
static_assert(offsetof(OEMUIPSPARAM, pOemEntry) == 40, "OEMUIPSPARAM.pOemEntry (32-bit)");

static_assert(sizeof(PROPSHEETUI_INFO) == 28, "PROPSHEETUI_INFO size (32-bit)");
static_assert(offsetof(PROPSHEETUI_INFO, lParamInit) == 16, "PROPSHEETUI_INFO.lParamInit (32-bit)");
static_assert(offsetof(PROPSHEETUI_INFO, Result) == 24, "PROPSHEETUI_INFO.Result (32-bit)");
static_assert(offsetof(OPTITEM, DMPubID) == 32, "OPTITEM.DMPubID (32-bit)");
static_assert(sizeof(OPTITEM) == 52, "OPTITEM size (32-bit)");
#endif
