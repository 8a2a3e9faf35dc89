// The About page of the device settings sheet: logo and version text from the driver
// data file's "UISettings" section.
#pragma once
#include <windows.h>
#include <string>

INT_PTR CALLBACK DLGProc_AboutPage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
void DrawLogo(HDC hdc);

// Point of the page where the logo's top-left corner goes.
const int LOGO_X = 50;
const int LOGO_Y = 10;

// A "UISettings" key of the printer's driver data file; empty without file or key.
std::wstring ReadUISetting(PCWSTR printerName, PCWSTR key);
// Driver directory + "\3\" + the printer's "Logo" value.
std::wstring LogoPath(PCWSTR printerName);
// Draws the bitmap file at its own size at LOGO_X, LOGO_Y; false, drawing nothing, when the
// file is missing or no bitmap.
bool DrawLogoFile(HDC hdc, PCWSTR path);
