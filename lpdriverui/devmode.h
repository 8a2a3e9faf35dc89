// The plug-in's label settings block in the private devmode: defaults from the driver data
// file, conversion and merge.
#pragma once
#include "oemabi.h"
#include <cstddef>

const DWORD OEM_SIGNATURE = 0x57504453;
const DWORD OEM_VERSION = 1;
const size_t DATA_FILE_CCH = 256;

// Read by the driver's printing side: the layout is fixed, little-endian, no gaps.
struct OEMLABELDEV {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
    SHORT sPaperType;  // 0 continuous, 1 black mark, 2 gap
    SHORT sSpeed;      // list position: 0..4 stand for speeds 1..5
    SHORT sDensity;    // list position: 0..14 stand for densities 1..15
    SHORT sPadHor;     // mm, may be negative
    SHORT sPadVer;     // mm, may be negative
    SHORT sRotate;     // 0..3 quarter turns
};
static_assert(sizeof(OEMLABELDEV) == 24, "OEMLABELDEV is 24 bytes");
static_assert(offsetof(OEMLABELDEV, dwSignature) == offsetof(OEM_DMEXTRAHEADER, dwSignature), "header");
static_assert(offsetof(OEMLABELDEV, dwVersion) == offsetof(OEM_DMEXTRAHEADER, dwVersion), "header");
static_assert(offsetof(OEMLABELDEV, sPaperType) == 12, "sPaperType");
static_assert(offsetof(OEMLABELDEV, sSpeed) == 14, "sSpeed");
static_assert(offsetof(OEMLABELDEV, sDensity) == 16, "sDensity");
static_assert(offsetof(OEMLABELDEV, sPadHor) == 18, "sPadHor");
static_assert(offsetof(OEMLABELDEV, sPadVer) == 20, "sPadVer");
static_assert(offsetof(OEMLABELDEV, sRotate) == 22, "sRotate");

// Finds the driver data file among the printer driver's dependent files (upper-cased path,
// at most DATA_FILE_CCH - 1 characters). The path is left untouched on failure.
bool FindDriverDataFile(PCWSTR printerName, PWSTR path);
// The matching step on a dependent-file list (strings ending with an empty one); upper-cases
// the list in place.
bool PickDriverDataFile(PWSTR dependentFiles, PWSTR path);

// A profile integer read like _wtoi and cut to 16 bits; "0" when the key or file is missing.
SHORT ReadProfileShort(PCWSTR file, PCWSTR section, PCWSTR key);
// The six keys of section "Paper" into the label fields, Speed and Density counted from 0.
void ReadPaperDefaults(PCWSTR dataFile, OEMLABELDEV* dev);

int SetOemDevHeader(OEMLABELDEV* dev);
DWORD fill_default_oemdev(PCWSTR printerName, OEMLABELDEV* dev);
DWORD convert_devmode(PCWSTR printerName, const OEMLABELDEV* in, OEMLABELDEV* out);

// Worker of IPrintOemUI::DevMode.
HRESULT hrOEMDevMode(DWORD mode, POEMDMPARAM param);
