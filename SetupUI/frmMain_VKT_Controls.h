// The wizard window's control table: every child window with its name, kind, parent,
// place and design state. The window builds itself from it; the UI robot finds controls
// by name through it.
#pragma once
#include <windows.h>

enum TControlId {
    IDC_None = 0,
    IDC_pnlContext = 1001,
    IDC_pnl_Left,
    IDC_img1,
    IDC_pgc1,
    IDC_ts01_Licence,
    IDC_lbl01_Title,
    IDC_lbl01_StepInfo,
    IDC_pnl_License,
    IDC_chk01_Accept,
    IDC_ts02_Connect,
    IDC_lbl02_StepInfo,
    IDC_img02,
    IDC_ts03_Port,
    IDC_pnl03,
    IDC_lbl03_PrinterDriverName,
    IDC_edt03_PrinterDriverName,
    IDC_lbl03_Title,
    IDC_rb03_USB,
    IDC_rb03_WiFi,
    IDC_pnl03_USBPrinterList,
    IDC_lbl03_USBPrinterList_Title,
    IDC_lst03_USBPrinterList,
    IDC_pnl03_WiFiPrinterList,
    IDC_lbl03_WiFi_NetWorkName,
    IDC_edt03_WiFi_NetWorkName,
    IDC_lbl03_WiFi_Password,
    IDC_edt03_WiFi_Password,
    IDC_img03_ViewPassword,
    IDC_lbl03_WiFi_IPType,
    IDC_rb03_WiFi_DHCP,
    IDC_rb03_WiFi_Static,
    IDC_lbl03_WiFi_IPAddress,
    IDC_edt03_WiFi_IPAddress,
    IDC_lbl03_WiFi_Mask,
    IDC_edt03_WiFi_Mask,
    IDC_lbl03_WiFi_Gateway,
    IDC_edt03_WiFi_Gateway,
    IDC_ts04_Install,
    IDC_lbl04_Title,
    IDC_pb04_Installing,
    IDC_lbl04_StepInfo,
    IDC_ts05_Result,
    IDC_lbl05_Title,
    IDC_lbl05_StepInfo,
    IDC_lbl05_PrinterName,
    IDC_cbb05_PrinterName,
    IDC_lbl05_PaperSize,
    IDC_cbb05_PaperSize,
    IDC_btn05_TestPage,
    IDC_pnlBottom,
    IDC_img_waiting,
    IDC_btn_Prev,
    IDC_btn_Next,
};

enum class TControlKind { Panel, Link, Label, Picture, PageControl, Page, CheckBox, Radio, Edit, ListBox, Progress, DropDown, Button };

// Design-state flags.
enum : unsigned {
    cfHidden = 1u << 0,
    cfDisabled = 1u << 1,
    cfChecked = 1u << 2,
    cfBold = 1u << 3,
    cfWordWrap = 1u << 4,
    cfPassword = 1u << 5,
    cfHandCursor = 1u << 6,
    cfTransparent = 1u << 7,
    cfAnchorRight = 1u << 8,   // keeps its distance to the parent's right edge
    cfAnchorBottom = 1u << 9,  // keeps its distance to the parent's bottom edge
    cfStretchRight = 1u << 10, // anchored left and right: grows with the parent
    cfAlignClient = 1u << 11,  // fills what the other aligned panels leave
    cfAlignLeft = 1u << 12,
    cfAlignBottom = 1u << 13,
};

struct TControlDef {
    TControlId id;
    const wchar_t* name;
    TControlKind kind;
    TControlId parent;  // IDC_None: the window itself
    int x, y, w, h;     // 0 width/height: sized to the text
    const wchar_t* text;
    unsigned flags;
    int maxLength = 0;   // edits: at most this many characters
    int fontHeight = 0;  // 0: the window's font
    int tag = 0;
};

const TControlDef* FormMainControls(size_t& count);
const TControlDef* FindControlDef(const wchar_t* name);
const TControlDef* FindControlDef(int id);
