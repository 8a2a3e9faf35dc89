// The label setting page of the document settings sheet: paper type, speed, density, offsets
// and rotation of the live label block, and the way to the paper manager. Edits go straight
// into the document's block; a sheet that ends without Apply gets the block back as it was
// when the page was created.
#pragma once
#include "devmode.h"
#include "oemabi.h"
#include "papermgr.h"
#include <commctrl.h>

// One per created page, from the heap the print system hands in.
struct LABELPAGEDATA {
    PDEVMODEW pPublicDM;   // its device name is the printer name
    OEMLABELDEV* pOEMDM;   // the live block every control writes to
    OEMLABELDEV* pSavedDM; // the block when the page was created; null when it could not be kept
    HANDLE hHeap;
    DWORD bApplied;        // 1 after Apply, 0 after Cancel
};

// Longest text read from an offset edit.
const int LABEL_EDIT_CCH = 63;

// ---- Record ---------------------------------------------------------------------------

// A zero-filled record for the block's page, with its snapshot; null when the block lacks
// the heap or the label block, or the record cannot be allocated.
LABELPAGEDATA* CreateLabelPageData(const OEMUIPSPARAM* block);
// Puts the snapshot back unless the last outcome was Apply, then frees snapshot and record.
void ReleaseLabelPageData(LABELPAGEDATA* data);

// The page description: template by UI language, the page procedure and release callback.
PROPSHEETPAGEW DescribeLabelPage(LABELPAGEDATA* data);
UINT CALLBACK LabelPageCallback(HWND hwnd, UINT uMsg, LPPROPSHEETPAGEW page);
// Creation at PROPSHEETUI_REASON_INIT; the pfnComPropSheet result, or 1 (no page) when the
// page cannot have its record, so the driver's own pages still show.
LONG_PTR AddLabelSettingPage(PPROPSHEETUI_INFO info);

// ---- Plain work ------------------------------------------------------------------------

// Sets field to value; true when it was different (the sheet is then marked changed).
bool SetLabelField(SHORT& field, SHORT value);
// An int cut to the 16 bits the block keeps.
SHORT CutToShort(long long value);
// Text of an offset edit into its field: nothing for an empty text (false), else _wtoi cut
// to 16 bits (true).
bool StoreOffsetText(SHORT& field, PCWSTR text);
// The number an up-down step leaves in an offset edit: +1 counts down, anything else up.
long long StepOffset(PCWSTR text, int delta);
// Radio button of a paper type (0 when none) and of a rotation (0 degrees for unknown values).
int PaperTypeButton(SHORT paperType);
int RotateButton(SHORT rotate);
// The position of the last paper of that name, -1 when none has it.
int FindPaperPosition(const PaperList& papers, PCWSTR name);

// ---- Page ------------------------------------------------------------------------------

// Shows the record's current label values.
void InitLabelControls(HWND hDlg, const LABELPAGEDATA* data);
// The page's record while it has its state; null before WM_INITDIALOG and after Cancel.
LABELPAGEDATA* LabelPageRecord(HWND hDlg);
INT_PTR CALLBACK DLGProc_PrintConfigPage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
