#include "frmMain_VKT_Controls.h"
#include <cwchar>

namespace {
using K = TControlKind;

// Parents come before their children. Positions are client pixels at 96 dpi.
const TControlDef kControls[] = {
    {IDC_pnlContext, L"pnlContext", K::Panel, IDC_None, 0, 0, 616, 379, L"", cfAlignClient},
    {IDC_pnl_Left, L"pnl_Left", K::Panel, IDC_pnlContext, 0, 0, 187, 379, L"", cfAlignLeft},
    {IDC_img1, L"img1", K::Picture, IDC_pnl_Left, 9, 19, 169, 342, L"", 0},
    {IDC_pgc1, L"pgc1", K::PageControl, IDC_pnlContext, 185, 3, 416, 369, L"", cfStretchRight},

    {IDC_ts01_Licence, L"ts01_Licence", K::Page, IDC_pgc1, 0, 0, 0, 0, L"Licence", 0},
    {IDC_lbl01_Title, L"lbl01_Title", K::Label, IDC_ts01_Licence, 16, 24, 365, 30,
     L"Let's set up your Ondrix Mobile Printer", cfBold, 0, 16},
    {IDC_lbl01_StepInfo, L"lbl01_StepInfo", K::Label, IDC_ts01_Licence, 20, 64, 0, 0, L"To install, simply accept the ", 0},
    {IDC_pnl_License, L"pnl_License", K::Link, IDC_ts01_Licence, 182, 60, 145, 25, L"license agreement.", cfHandCursor},
    {IDC_chk01_Accept, L"chk01_Accept", K::CheckBox, IDC_ts01_Licence, 24, 112, 97, 17, L"I accept", cfHandCursor},

    {IDC_ts02_Connect, L"ts02_Connect", K::Page, IDC_pgc1, 0, 0, 0, 0, L"Connect", 0},
    {IDC_lbl02_StepInfo, L"lbl02_StepInfo", K::Label, IDC_ts02_Connect, 16, 24, 329, 49,
     L"Please connect your Ondrix Mobile Printer to your computer now.", cfWordWrap},
    {IDC_img02, L"img02", K::Picture, IDC_ts02_Connect, 48, 96, 285, 192, L"", 0},

    {IDC_ts03_Port, L"ts03_Port", K::Page, IDC_pgc1, 0, 0, 0, 0, L"Port", 0},
    {IDC_pnl03, L"pnl03", K::Panel, IDC_ts03_Port, 0, 0, 0, 0, L"", cfAlignClient},
    {IDC_lbl03_PrinterDriverName, L"lbl03_PrinterDriverName", K::Label, IDC_pnl03, 12, 12, 100, 22, L"Printer name: ", 0},
    {IDC_edt03_PrinterDriverName, L"edt03_PrinterDriverName", K::Edit, IDC_pnl03, 112, 9, 182, 24, L"Ondrix Printer", 0, 32},
    {IDC_lbl03_Title, L"lbl03_Title", K::Label, IDC_pnl03, 16, 40, 289, 38,
     L"Would you like to set this up for wired or wireless printing?", cfWordWrap},
    {IDC_rb03_USB, L"rb03_USB", K::Radio, IDC_pnl03, 36, 80, 120, 17, L"Wired (USB)", cfChecked},
    {IDC_rb03_WiFi, L"rb03_WiFi", K::Radio, IDC_pnl03, 160, 80, 120, 17, L"Wireless (Wi-Fi)", 0},
    {IDC_pnl03_USBPrinterList, L"pnl03_USBPrinterList", K::Panel, IDC_pnl03, 306, 64, 225, 98, L"", cfHidden},
    {IDC_lbl03_USBPrinterList_Title, L"lbl03_USBPrinterList_Title", K::Label, IDC_pnl03_USBPrinterList, 0, 8, 205, 13,
     L"Select printer:", 0},
    {IDC_lst03_USBPrinterList, L"lst03_USBPrinterList", K::ListBox, IDC_pnl03_USBPrinterList, 12, 28, 193, 57, L"", 0},
    {IDC_pnl03_WiFiPrinterList, L"pnl03_WiFiPrinterList", K::Panel, IDC_pnl03, 16, 110, 377, 222, L"", cfHidden},
    {IDC_lbl03_WiFi_NetWorkName, L"lbl03_WiFi_NetWorkName", K::Label, IDC_pnl03_WiFiPrinterList, 0, 8, 100, 22,
     L"Network name: ", 0},
    {IDC_edt03_WiFi_NetWorkName, L"edt03_WiFi_NetWorkName", K::Edit, IDC_pnl03_WiFiPrinterList, 100, 5, 182, 24, L"", 0, 32},
    {IDC_lbl03_WiFi_Password, L"lbl03_WiFi_Password", K::Label, IDC_pnl03_WiFiPrinterList, 0, 44, 100, 22, L"Password: ", 0},
    {IDC_edt03_WiFi_Password, L"edt03_WiFi_Password", K::Edit, IDC_pnl03_WiFiPrinterList, 100, 41, 182, 24, L"",
     cfPassword, 32},
    {IDC_img03_ViewPassword, L"img03_ViewPassword", K::Picture, IDC_pnl03_WiFiPrinterList, 292, 40, 24, 24, L"",
     cfHandCursor, 0, 0, 1},
    {IDC_lbl03_WiFi_IPType, L"lbl03_WiFi_IPType", K::Label, IDC_pnl03_WiFiPrinterList, 0, 80, 100, 22, L"IP Type: ", 0},
    {IDC_rb03_WiFi_DHCP, L"rb03_WiFi_DHCP", K::Radio, IDC_pnl03_WiFiPrinterList, 100, 81, 113, 17, L"DHCP (Default)",
     cfChecked, 0, 0, 1},
    {IDC_rb03_WiFi_Static, L"rb03_WiFi_Static", K::Radio, IDC_pnl03_WiFiPrinterList, 221, 81, 84, 17, L"Static", 0, 0, 0, 2},
    {IDC_lbl03_WiFi_IPAddress, L"lbl03_WiFi_IPAddress", K::Label, IDC_pnl03_WiFiPrinterList, 0, 112, 100, 22,
     L"IP Address: ", 0},
    {IDC_edt03_WiFi_IPAddress, L"edt03_WiFi_IPAddress", K::Edit, IDC_pnl03_WiFiPrinterList, 100, 109, 182, 24, L"",
     cfDisabled, 15},
    {IDC_lbl03_WiFi_Mask, L"lbl03_WiFi_Mask", K::Label, IDC_pnl03_WiFiPrinterList, 0, 144, 100, 22, L"Mask: ", 0},
    {IDC_edt03_WiFi_Mask, L"edt03_WiFi_Mask", K::Edit, IDC_pnl03_WiFiPrinterList, 100, 141, 182, 24, L"", cfDisabled, 15},
    {IDC_lbl03_WiFi_Gateway, L"lbl03_WiFi_Gateway", K::Label, IDC_pnl03_WiFiPrinterList, 0, 180, 100, 22, L"Gateway: ", 0},
    {IDC_edt03_WiFi_Gateway, L"edt03_WiFi_Gateway", K::Edit, IDC_pnl03_WiFiPrinterList, 100, 176, 182, 24, L"",
     cfDisabled, 15},

    {IDC_ts04_Install, L"ts04_Install", K::Page, IDC_pgc1, 0, 0, 0, 0, L"Install", 0},
    {IDC_lbl04_Title, L"lbl04_Title", K::Label, IDC_ts04_Install, 24, 24, 333, 30, L"Installing", 0},
    {IDC_pb04_Installing, L"pb04_Installing", K::Progress, IDC_ts04_Install, 24, 72, 329, 17, L"", 0},
    {IDC_lbl04_StepInfo, L"lbl04_StepInfo", K::Label, IDC_ts04_Install, 52, 120, 301, 16, L"StepInfo", 0},

    {IDC_ts05_Result, L"ts05_Result", K::Page, IDC_pgc1, 0, 0, 0, 0, L"Result", 0},
    {IDC_lbl05_Title, L"lbl05_Title", K::Label, IDC_ts05_Result, 16, 24, 365, 30, L"Printer setup completed!", 0, 0, 16},
    {IDC_lbl05_StepInfo, L"lbl05_StepInfo", K::Label, IDC_ts05_Result, 20, 64, 333, 37,
     L"When you print labels from Ondrix, make sure to select this printer.", cfWordWrap},
    {IDC_lbl05_PrinterName, L"lbl05_PrinterName", K::Label, IDC_ts05_Result, 20, 115, 97, 30, L"Printer :  ", 0},
    {IDC_cbb05_PrinterName, L"cbb05_PrinterName", K::DropDown, IDC_ts05_Result, 123, 112, 210, 24, L"", 0},
    {IDC_lbl05_PaperSize, L"lbl05_PaperSize", K::Label, IDC_ts05_Result, 20, 153, 97, 30, L"Paper size : ", 0},
    {IDC_cbb05_PaperSize, L"cbb05_PaperSize", K::DropDown, IDC_ts05_Result, 123, 150, 210, 24, L"", 0},
    {IDC_btn05_TestPage, L"btn05_TestPage", K::Button, IDC_ts05_Result, 212, 190, 123, 25, L"Print Test Page", 0},

    {IDC_pnlBottom, L"pnlBottom", K::Panel, IDC_None, 0, 379, 616, 60, L"", cfAlignBottom},
    {IDC_img_waiting, L"img_waiting", K::Picture, IDC_pnlBottom, 352, 16, 32, 32, L"", cfTransparent},
    {IDC_btn_Prev, L"btn_Prev", K::Button, IDC_pnlBottom, 409, 12, 85, 35, L"Cancel", cfAnchorRight | cfAnchorBottom},
    {IDC_btn_Next, L"btn_Next", K::Button, IDC_pnlBottom, 503, 12, 85, 35, L"Next",
     cfDisabled | cfAnchorRight | cfAnchorBottom},
};
}  // namespace

const TControlDef* FormMainControls(size_t& count) {
    count = sizeof(kControls) / sizeof(kControls[0]);
    return kControls;
}

const TControlDef* FindControlDef(const wchar_t* name) {
    for (const auto& c : kControls)
        if (wcscmp(c.name, name) == 0) return &c;
    return nullptr;
}

const TControlDef* FindControlDef(int id) {
    for (const auto& c : kControls)
        if (c.id == id) return &c;
    return nullptr;
}
