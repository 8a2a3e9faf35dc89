// Device modes as a driver hands them out, for the in-memory spooler's printers.
#pragma once
#include "Lib_Printer.h"
#include <windows.h>
#include <vector>

// A full public part followed by the given private part.
std::vector<BYTE> MakeDevMode(const std::vector<BYTE>& privatePart, DWORD fields = 0, const wchar_t* formName = L"",
                              short width = 0, short length = 0);

// The label block as bytes.
std::vector<BYTE> BlockBytes(const OEMLABELDEV& block);

// Some other driver's private data followed by a label block.
std::vector<BYTE> DriverDataAndBlock(const OEMLABELDEV& block, size_t driverBytes = 16);
