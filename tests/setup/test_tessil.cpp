#include "Lib_Error.h"
#include "Lib_String.h"
#include "Lib_Tessil.h"
#include "TestUtil.h"
#include <gtest/gtest.h>
#include <functional>

namespace {
std::wstring BuildDir() { return ExtractFilePath(ProgramPath()); }
// The simulated library sits in <build>/vktsim; copy it with its INI into a private folder.
std::wstring SimDll() { return BuildDir() + L"..\\..\\vktsim\\Tessil.dll"; }

std::wstring MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EKovrinError& e) {
        return e.Message();
    }
    return L"(no error)";
}
}  // namespace

TEST(TessilBinding, ListsPrintersOfTheSimulatedLibrary) {
    TTempDir dir;
    ASSERT_TRUE(CopyFileW(SimDll().c_str(), dir.File(L"Tessil.dll").c_str(), FALSE));
    WriteUtf16File(dir.File(L"Tessil.ini"),
                   L"[Printers]\nCount=2\n[Printer0]\nPort=USB001\nDeviceID=MFG:Ondrix;MDL:L1;\nPath=\\\\.\\pipe\\a\n"
                   L"[Printer1]\nPort=USB002\nDeviceID=" + std::wstring(700, L'x') + L"\nPath=p2\n");
    TTessilLibrary lib(dir.File(L"Tessil.dll"));
    ASSERT_EQ(lib.USBPrinterEnum(), 2);
    EXPECT_EQ(lib.GetPrinterFileName(0), L"\\\\.\\pipe\\a");
    std::wstring port, id;
    lib.ReadPrinterID(0, port, id);
    EXPECT_EQ(port, L"USB001");
    EXPECT_EQ(id, L"MFG:Ondrix;MDL:L1;");
    lib.ReadPrinterID(1, port, id);
    EXPECT_EQ(id.size(), 511u) << "a 512-unit buffer holds 511 characters";
    BOOL wow = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow);
    EXPECT_EQ(lib.Drv_IsWow64(), wow != FALSE);
    EXPECT_FALSE(lib.Drv_IsIsExistDriverInstance(L"No Such Printer 4711"));
}

TEST(TessilBinding, ShippedLibraryWithNoPrinterAttached) {
    TTessilLibrary lib(BuildDir() + L"..\\..\\tessil\\Tessil.dll");
    EXPECT_EQ(lib.USBPrinterEnum(), 0);
    // An index past the list leaves the buffers empty instead of reading past it.
    EXPECT_EQ(lib.GetPrinterFileName(0), L"");
    std::wstring port = L"x", id = L"y";
    lib.ReadPrinterID(5, port, id);
    EXPECT_EQ(port, L"");
    EXPECT_EQ(id, L"");
    EXPECT_FALSE(lib.Drv_IsIsExistDriverInstance(L""));
}

TEST(TessilBinding, MissingLibraryIsReportedAtFirstCall) {
    TTempDir dir;
    TTessilLibrary lib(dir.File(L"Tessil.dll"));  // constructing binds nothing yet
    std::wstring msg = MessageOf([&] { lib.USBPrinterEnum(); });
    EXPECT_NE(msg.find(L"Tessil.dll"), std::wstring::npos) << std::string(msg.begin(), msg.end());
    EXPECT_NE(msg.find(L"Cannot load"), std::wstring::npos);
}

TEST(TessilBinding, MissingEntryPointNamesTheFunction) {
    TTessilLibrary lib(BuildDir() + L"TessilPartial.dll");
    EXPECT_EQ(lib.USBPrinterEnum(), 3);
    std::wstring msg = MessageOf([&] { lib.GetPrinterFileName(0); });
    EXPECT_NE(msg.find(L"\"GetPrinterFileName\""), std::wstring::npos) << std::string(msg.begin(), msg.end());
    msg = MessageOf([&] { lib.Drv_IsWow64(); });
    EXPECT_NE(msg.find(L"\"Drv_IsWow64\""), std::wstring::npos);
}
