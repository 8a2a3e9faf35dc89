// What the result page does with a freshly installed printer: writes the label defaults into
// its stored document settings, lists its papers with the current one, prints a test page.
// Every call goes through the spooler seam (Services().spooler).
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The label settings block that the driver UI plug-in keeps as the last block of the device
// mode's driver-private part. Little-endian, no gaps; the printing side reads this layout.
#pragma pack(push, 1)
struct OEMLABELDEV {
    DWORD dwSize;       // 24
    DWORD dwSignature;  // kLabelDevSignature
    DWORD dwVersion;    // 1
    SHORT sPaperType;   // 0 continuous, 1 black mark, 2 gap
    SHORT sSpeed;       // list position, 0 = speed 1
    SHORT sDensity;     // list position, 0 = density 1
    SHORT sPadHor;      // millimetres
    SHORT sPadVer;      // millimetres
    SHORT sRotate;      // quarter turns
};
#pragma pack(pop)
static_assert(sizeof(OEMLABELDEV) == 24, "the block's layout is shared with the printing side");

const DWORD kLabelDevSignature = 0x57504453;

// Writes paper type, speed and density into the label block of the printer's stored document
// settings. Returns true; every failure raises EKovrinError: "Error <code>" when the printer
// cannot be opened for administration, "Set printer fail: <code>" when its settings cannot
// be read, carry no label block, or cannot be stored.
bool SetPrinterDefaults(const std::wstring& printerName, SHORT paperType, SHORT speed, SHORT density);

// Appends one "name|width|length" item (tenths of a millimetre) per paper of the printer and
// returns the position of its current paper in the list, or -1. A printer that cannot be
// opened leaves the list untouched.
int GetPaperSizes(const std::wstring& printerName, std::vector<std::wstring>& list);

// Prints one page: the two lines drawn at the font size (points) on a white bitmap of
// width x height pixels, copied pixel for pixel to the top-left corner of the page. The
// printer is the installed one of that name in any letter case, else the default printer.
// Returns whether the page reached the spooler; the wizard shows nothing either way.
bool PrintTestPage(const std::wstring& printerName, const std::wstring& line1, const std::wstring& line2, int width,
                   int height, int fontSize);
