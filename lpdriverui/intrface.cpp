// IOEMCF and IOEMUI: reference counting, interface queries, and the hand-over of every
// IPrintOemUI method to its worker.
#include "intrface.h"
#include "aboutpage.h"
#include "debug.h"
#include "devmode.h"
#include "dllentry.h"
#include "resource.h"
#include <new>

// ---- IOEMCF -------------------------------------------------------------------------

STDMETHODIMP IOEMCF::QueryInterface(REFIID riid, void** ppv) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMCF::QueryInterface entry.\r\n");
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) IOEMCF::AddRef() {
    DbgW(DBG_VERBOSE, L"UI:  IOEMCF::AddRef entry.\r\n");
    return InterlockedIncrement(&m_cRef);
}

STDMETHODIMP_(ULONG) IOEMCF::Release() {
    DbgW(DBG_VERBOSE, L"UI:  IOEMCF::Release entry.\r\n");
    LONG count = InterlockedDecrement(&m_cRef);
    if (count == 0) {
        delete this;
        return 0;
    }
    return count;
}

STDMETHODIMP IOEMCF::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMCF::CreateInstance entry.\r\n");
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    IOEMUI* object = new (std::nothrow) IOEMUI;
    if (!object)
        return E_OUTOFMEMORY;
    // An unsupported interface leaves no reference, so the new object goes at once.
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

STDMETHODIMP IOEMCF::LockServer(BOOL bLock) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMCF::LockServer entry.\r\n");
    if (bLock)
        InterlockedIncrement(&g_cServerLocks);
    else
        InterlockedDecrement(&g_cServerLocks);
    return S_OK;
}

HRESULT OemGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    DbgW(DBG_VERBOSE, L"UI:  DllGetClassObject: Create class factory.\r\n");
    if (!IsEqualCLSID(rclsid, CLSID_OEMUI))
        return CLASS_E_CLASSNOTAVAILABLE;
    IOEMCF* factory = new (std::nothrow) IOEMCF;
    if (!factory)
        return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

HRESULT OemCanUnloadNow() {
    DbgW(DBG_VERBOSE, L"UI:  DllCanUnloadNow entry.\r\n");
    return (g_cComponents == 0 && g_cServerLocks == 0) ? S_OK : S_FALSE;
}

// ---- IOEMUI -------------------------------------------------------------------------

IOEMUI::IOEMUI() { InterlockedIncrement(&g_cComponents); }

IOEMUI::~IOEMUI() {
    if (m_pOEMHelp) {
        m_pOEMHelp->Release();
        m_pOEMHelp = nullptr;
    }
    OemAssert(0 == m_cRef, L"0 == m_cRef", L"lpdriverui\\intrface", 64);
    InterlockedDecrement(&g_cComponents);
}

STDMETHODIMP IOEMUI::QueryInterface(REFIID riid, void** ppv) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::QueryInterface entry.\r\n");
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown)) {
        *ppv = static_cast<IUnknown*>(this);
        DbgW(DBG_VERBOSE, L"UI:  IOEMUI: Return pointer to IUnknown.\r\n");
    } else if (IsEqualIID(riid, IID_IPrintOemUI)) {
        *ppv = static_cast<IPrintOemUI*>(this);
        DbgW(DBG_VERBOSE, L"UI:  IOEMUI: Return pointer to IPrintOemUI.\r\n");
    } else {
        *ppv = nullptr;
        DbgW(DBG_VERBOSE, L"UI:  IOEMUI: No Interface. Return E_NOINTERFACE.\r\n");
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) IOEMUI::AddRef() {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::AddRef entry.\r\n");
    return InterlockedIncrement(&m_cRef);
}

STDMETHODIMP_(ULONG) IOEMUI::Release() {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::Release entry.\r\n");
    LONG count = InterlockedDecrement(&m_cRef);
    if (count == 0) {
        delete this;
        return 0;
    }
    return count;
}

STDMETHODIMP IOEMUI::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::GetInfo(%d) entry.\r\n", dwMode);
    return hrOEMGetInfo(dwMode, pBuffer, cbSize, pcbNeeded);
}

STDMETHODIMP IOEMUI::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::DevMode(%d) entry.\r\n", dwMode);
    return hrOEMDevMode(dwMode, pOemDMParam);
}

STDMETHODIMP IOEMUI::PublishDriverInterface(IUnknown* pIUnknown) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::PublishDriverInterface entry.\r\n");
    return hrOEMPublishDriverInterface(pIUnknown, &m_pOEMHelp);
}

STDMETHODIMP IOEMUI::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
    DbgW(DBG_TERSE, L"UI:  IOEMUI::CommonUIProp entry. [%ls]\r\n",
         pOemCUIPParam && pOemCUIPParam->pPrinterName ? pOemCUIPParam->pPrinterName : L"");
    return hrOEMCommonUIProp(dwMode, pOemCUIPParam);
}

STDMETHODIMP IOEMUI::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    DbgW(DBG_TERSE, L"UI:  IOEMUI::DocumentPropertySheets entry.\r\n");
    return hrOEMDocumentPropertySheets(pPSUIInfo, lParam);
}

STDMETHODIMP IOEMUI::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    DbgW(DBG_TERSE, L"UI:  IOEMUI::DevicePropertySheets entry.\r\n");
    return hrOEMDevicePropertySheets(pPSUIInfo, lParam);
}

STDMETHODIMP IOEMUI::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::DevQueryPrintEx entry.\r\n");
    return E_NOTIMPL;
}

STDMETHODIMP IOEMUI::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD wCapability, PVOID, PDEVMODEW, PVOID,
                                        DWORD dwOld, DWORD*) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::DeviceCapabilities(%d, %d) entry.\r\n", wCapability, dwOld);
    return E_NOTIMPL;
}

STDMETHODIMP IOEMUI::UpgradePrinter(DWORD, PBYTE) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::UpgradePrinter entry.\r\n");
    return E_NOTIMPL;
}

STDMETHODIMP IOEMUI::PrinterEvent(PWSTR, INT, DWORD, LPARAM) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::PrinterEvent entry.\r\n");
    return E_NOTIMPL;
}

STDMETHODIMP IOEMUI::DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE, LPARAM) {
    DbgW(DBG_TERSE, L"UI:  IOEMUI::DriverEvent(Event: %d, Level: %d) entry.\r\n", dwDriverEvent, dwLevel);
    return E_NOTIMPL;
}

STDMETHODIMP IOEMUI::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*, FLONG*) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::QueryColorProfile entry.\r\n");
    return E_NOTIMPL;
}

STDMETHODIMP IOEMUI::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::FontInstallerDlgProc entry.\r\n");
    return E_NOTIMPL;
}

STDMETHODIMP IOEMUI::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
    DbgW(DBG_VERBOSE, L"UI:  IOEMUI::UpdateExternalFonts entry.\r\n");
    return E_NOTIMPL;
}

// ---- Workers ------------------------------------------------------------------------

HRESULT hrOEMGetInfo(DWORD mode, PVOID buffer, DWORD cbSize, PDWORD pcbNeeded) {
    if (!pcbNeeded || (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION && mode != OEMGI_GETPUBLISHERINFO)) {
        DbgW(DBG_ERROR, L"UI:  IOEMUI: GetInfo() exit pcbNeeded is NULL! ERROR_INVALID_PARAMETER\r\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    *pcbNeeded = sizeof(DWORD);
    if (cbSize < sizeof(DWORD) || !buffer) {
        DbgW(DBG_WARNING, L"UI:  IOEMUI: GetInfo() exit insufficient buffer!\r\n");
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    switch (mode) {
    case OEMGI_GETSIGNATURE:
        *static_cast<PDWORD>(buffer) = OEM_SIGNATURE;
        return S_OK;
    case OEMGI_GETVERSION:
        *static_cast<PDWORD>(buffer) = OEM_VERSION;
        return S_OK;
    default:
        DbgW(DBG_WARNING, L"UI:  IOEMUI: GetInfo() exit mode not supported.\r\n");
        *pcbNeeded = 0;
        SetLastError(ERROR_NOT_SUPPORTED);
        return E_FAIL;
    }
}

HRESULT hrOEMPublishDriverInterface(IUnknown* pIUnknown, IPrintOemDriverUI** helper) {
    if (*helper)
        return S_OK;
    HRESULT hr = pIUnknown ? pIUnknown->QueryInterface(IID_IPrintOemDriverUI, reinterpret_cast<void**>(helper))
                           : E_POINTER;
    if (FAILED(hr)) {
        *helper = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

void HideDriverItems(POPTITEM items, DWORD count) {
    for (DWORD i = 0; i < count; ++i) {
        switch (items[i].DMPubID) {
        case DMPUB_COPIES_COLLATE:
        case DMPUB_DEFSOURCE:
        case DMPUB_ICMMETHOD:
        case DMPUB_ICMINTENT:
        case DMPUB_NUP:
        case DMPUB_PAGEORDER:
        case DMPUB_OEM_PAPER_ITEM:
            items[i].Flags |= OPTIF_HIDE;
            break;
        case DMPUB_NONE:
            // The list's last item stays: it closes the driver's tree.
            if (i + 1 < count)
                items[i].Flags |= OPTIF_HIDE;
            break;
        default:
            break;
        }
    }
}

HRESULT hrOEMCommonUIProp(DWORD mode, POEMCUIPPARAM param) {
    // The name is kept even for a call that fails below.
    if (param)
        lstrcpynW(CurrentPrinterName, param->pPrinterName ? param->pPrinterName : L"",
                  static_cast<int>(PRINTER_NAME_CCH));
    if (!param || (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP)) {
        DbgW(DBG_ERROR, L"ERROR UI:  hrOEMCommonUIProp() ERROR_INVALID_PARAMETER.\r\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    if (mode == OEMCUIP_DOCPROP && param->pDrvOptItems)
        HideDriverItems(param->pDrvOptItems, param->cDrvOptItems);
    return S_OK;
}

namespace {

typedef LONG_PTR (*PageAdder)(PPROPSHEETUI_INFO);

bool ValidSheetInfo(PPROPSHEETUI_INFO info) { return info && info->Version == PROPSHEETUI_INFO_VERSION; }

void SetSheetResult(PPROPSHEETUI_INFO info, LPARAM lParam, PageAdder addPage) {
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        info->Result = static_cast<ULONG_PTR>(addPage(info));
        break;
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
    case PROPSHEETUI_REASON_DESTROY:
    case PROPSHEETUI_REASON_GET_ICON:
        info->Result = 1;
        break;
    case PROPSHEETUI_REASON_SET_RESULT:
        if (lParam)
            info->Result = static_cast<ULONG_PTR>(reinterpret_cast<PSETRESULT_INFO>(lParam)->Result);
        break;
    default:
        // A reason this plug-in does not know leaves the sheet's result as it was.
        break;
    }
}

LONG_PTR AddPage(PPROPSHEETUI_INFO info, PROPSHEETPAGEW& page) {
    if (!info->pfnComPropSheet)
        return 0;
    return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page),
                                 0);
}

}  // namespace

LONG_PTR AddAboutPage(PPROPSHEETUI_INFO info) {
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = 0;
    page.hInstance = ghInstance;
    page.pszTemplate = MAKEINTRESOURCEW(LangTemplate(IDD_ABOUTPAGE_CN, IDD_ABOUTPAGE_EN));
    page.pfnDlgProc = DLGProc_AboutPage;
    return AddPage(info, page);
}

HRESULT hrOEMDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!ValidSheetInfo(info)) {
        DbgW(DBG_ERROR, L"ERROR UI:  hrOEMDocumentPropertySheets() ERROR_INVALID_PARAMETER.\r\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    DbgW(DBG_TERSE, L"UI:  IOEMUI::hrOEMDocumentPropertySheets entry.\r\n");
    if (info->Reason == PROPSHEETUI_REASON_INIT)
        DbgW(DBG_TERSE, L"UI:  IOEMUI::hrOEMDocumentPropertySheets PROPSHEETUI_REASON_INIT.\r\n");
    SetSheetResult(info, lParam, AddLabelSettingPage);
    return S_OK;
}

HRESULT hrOEMDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!ValidSheetInfo(info)) {
        DbgW(DBG_ERROR, L"ERROR UI:  hrOEMDevicePropertySheets() ERROR_INVALID_PARAMETER.\r\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    SetSheetResult(info, lParam, AddAboutPage);
    return S_OK;
}
