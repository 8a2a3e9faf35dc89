// Driver package installation against the in-memory spooler: files, driver, printer, result.
#include "Lib_Error.h"
#include "Lib_InstallAssist_Legacy.h"
#include "Lib_String.h"
#include "SpoolerFixture.h"
#include "TStringUnit.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {
class PackageTest : public SpoolerTest {
protected:
    PackageTest() {
        for (const wchar_t* f : {L"driver\\depends\\UNIDRV.HLP", L"driver\\depends\\UNIRES.DLL",
                                 L"driver\\depends\\LABEL.GPD", L"driver\\depends\\LABEL.INI",
                                 L"driver\\amd64\\UNIDRV.DLL", L"driver\\amd64\\UNIDRVUI.DLL",
                                 L"driver\\amd64\\LABELUI.DLL", L"driver\\x86\\UNIDRV.DLL",
                                 L"driver\\x86\\UNIDRVUI.DLL", L"driver\\x86\\LABELUI.DLL"})
            m_package.Add(f);
        m_spooler.driverDirectory = m_target.Path();
    }
    std::string Copied(const std::wstring& name) const { return ContentOf(m_target.File(name)); }

    TPackage m_package;
    TTempDir m_target;  // the printer-driver folder
};

TEST_F(PackageTest, CopiesDataFilesFromDependsAndBinariesForTheWindowsBitness) {
    struct {
        bool wow64;
        const char* binaries;
    } cases[] = {{true, "driver\\amd64\\"}, {false, "driver\\x86\\"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.binaries);
        m_spooler.wow64 = c.wow64;
        CopyDriverFiles(m_package.Record());
        EXPECT_EQ(Copied(L"UNIDRV.HLP"), "driver\\depends\\UNIDRV.HLP");
        EXPECT_EQ(Copied(L"UNIRES.DLL"), "driver\\depends\\UNIRES.DLL");
        EXPECT_EQ(Copied(L"LABEL.GPD"), "driver\\depends\\LABEL.GPD");
        EXPECT_EQ(Copied(L"LABEL.INI"), "driver\\depends\\LABEL.INI");
        EXPECT_EQ(Copied(L"UNIDRV.DLL"), std::string(c.binaries) + "UNIDRV.DLL");
        EXPECT_EQ(Copied(L"UNIDRVUI.DLL"), std::string(c.binaries) + "UNIDRVUI.DLL");
        EXPECT_EQ(Copied(L"LABELUI.DLL"), std::string(c.binaries) + "LABELUI.DLL");
    }
}

TEST_F(PackageTest, MissingSourceIsLoggedAndTheOtherFilesAreStillCopied) {
    TTDriverInfo r = m_package.Record();
    r.Driver_DataFile = L"GONE.GPD,LABEL.INI";
    r.Driver_DriverFile = L"";  // an empty list copies nothing
    CopyDriverFiles(r);
    EXPECT_THAT(m_log.Lines(), ElementsAre(L"ERROR:" + Utf8("复制的文件不存在：") + m_package.Folder() +
                                           L"\\driver\\depends\\GONE.GPD"));
    EXPECT_EQ(Copied(L"LABEL.INI"), "driver\\depends\\LABEL.INI");
    EXPECT_EQ(Copied(L"UNIDRV.DLL"), "driver\\amd64\\UNIDRV.DLL");
    EXPECT_EQ(Copied(L"LABELUI.DLL"), "<missing>");
}

TEST_F(PackageTest, NamesAreSplitAtCommasOnlyAndAnExistingTargetIsReplaced) {
    m_package.Add(L"driver\\depends\\MY LABEL.GPD");
    WriteBytes(m_target.File(L"MY LABEL.GPD"), "old");
    TTDriverInfo r = m_package.Record();
    r.Unidrv_DataFile = r.Unidrv_DriverFile = r.Driver_DriverFile = L"";
    r.Driver_DataFile = L"MY LABEL.GPD, LABEL.INI";  // the blank belongs to the second name
    CopyDriverFiles(r);
    EXPECT_EQ(Copied(L"MY LABEL.GPD"), "driver\\depends\\MY LABEL.GPD");
    EXPECT_EQ(Copied(L"LABEL.INI"), "<missing>");
    EXPECT_THAT(m_log.Lines(), ElementsAre(HasSubstr(L"\\driver\\depends\\ LABEL.INI")));
}

TEST_F(PackageTest, FailedCopyRaisesTheSystemMessageAndNoDriverIsAdded) {
    WriteBytes(m_target.File(L"LABEL.GPD"), "in use");
    HANDLE busy = CreateFileW(m_target.File(L"LABEL.GPD").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    try {
        InstallDriverPackage(m_package.Record());
        ADD_FAILURE() << "no error raised";
    } catch (const EKovrinError& e) {
        EXPECT_THAT(e.Message(), HasSubstr(SystemErrorMessage(ERROR_SHARING_VIOLATION)));
        EXPECT_THAT(e.Message(), HasSubstr(L"LABEL.GPD"));
    }
    CloseHandle(busy);
    EXPECT_THAT(m_spooler.calls, IsEmpty());
}

TEST_F(PackageTest, UnreadableDriverFolderStopsBeforeAnyCopyOrDriver) {
    m_spooler.driverDirectoryError = ERROR_ACCESS_DENIED;
    EXPECT_THROW(CopyDriverFiles(m_package.Record()), EKovrinError);
    EXPECT_EQ(AddDriver(m_package.Record()), (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_THROW(InstallDriverPackage(m_package.Record()), EKovrinError);
    EXPECT_THAT(m_spooler.calls, IsEmpty());
}

TEST_F(PackageTest, VersionThreeDriverOnTheUnidrvCoreFiles) {
    struct {
        bool wow64;
        const wchar_t* environment;
    } cases[] = {{true, L"Windows x64"}, {false, L"Windows NT x86"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.environment);
        m_spooler.wow64 = c.wow64;
        m_spooler.drivers.clear();
        EXPECT_EQ(AddDriver(m_package.Record()), 0u);
        ASSERT_EQ(m_spooler.drivers.size(), 1u);
        const TFakeDriver& d = m_spooler.drivers[0];
        const std::wstring dir = m_target.Path() + L"\\3\\";
        EXPECT_EQ(d.version, 3u);
        EXPECT_EQ(d.name, L"VKT Label Printer");
        EXPECT_EQ(d.environment, c.environment);
        EXPECT_EQ(d.driverPath, dir + L"UNIDRV.DLL");
        EXPECT_EQ(d.dataFile, dir + L"LABEL.GPD");
        EXPECT_EQ(d.configFile, dir + L"UNIDRVUI.DLL");
        EXPECT_EQ(d.helpFile, dir + L"UNIDRV.HLP");
        EXPECT_THAT(d.dependents, ElementsAre(L"UNIRES.DLL", L"LABEL.GPD", L"LABEL.INI", L"LABELUI.DLL"));
        EXPECT_EQ(d.monitor, L"");
        EXPECT_EQ(d.dataType, L"RAW");
    }
    EXPECT_THAT(m_log.Lines(), ElementsAre(L"INFO:" + Utf8("添加打印驱动结果：0"), L"INFO:" + Utf8("添加打印驱动结果：0")));
}

TEST_F(PackageTest, DataFileIsTheFirstGpdOfTheDataList) {
    struct {
        const wchar_t* dataFiles;
        const wchar_t* dataFile;  // name after the version-3 folder
    } cases[] = {
        {L"README.TXT,label.gpd,OTHER.GPD", L"label.gpd"},  // any letter case
        {L"LABEL.GPD.BAK,LABEL.GPD", L"LABEL.GPD.BAK"},     // contained, not only at the end
        {L"LABEL.INI,,LABEL.GPD", L"LABEL.GPD"},            // an empty name is skipped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataFiles);
        m_spooler.drivers.clear();
        TTDriverInfo r = m_package.Record();
        r.Driver_DataFile = c.dataFiles;
        AddDriver(r);
        ASSERT_EQ(m_spooler.drivers.size(), 1u);
        EXPECT_EQ(m_spooler.drivers[0].dataFile, m_target.Path() + L"\\3\\" + c.dataFile);
    }
    EXPECT_THAT(m_spooler.drivers[0].dependents, ElementsAre(L"UNIRES.DLL", L"LABEL.INI", L"LABEL.GPD", L"LABELUI.DLL"));
}

TEST_F(PackageTest, WithoutGpdTheDriverIsStillSubmittedAndTheRefusalReturned) {
    TTDriverInfo r = m_package.Record();
    r.Driver_DataFile = L"LABEL.INI";
    r.Driver_DriverFile = L"";
    m_spooler.addDriverError = ERROR_FILE_NOT_FOUND;
    EXPECT_EQ(AddDriver(r), (DWORD)ERROR_FILE_NOT_FOUND);
    EXPECT_THAT(m_spooler.calls, ElementsAre(L"AddDriver"));
    EXPECT_THAT(m_log.Lines(),
                ElementsAre(L"ERROR:" + Utf8("没有指定gpd文件。"), L"INFO:" + Utf8("添加打印驱动结果：2")));
}

TEST_F(PackageTest, DependentListKeepsWholeNamesWithin510Characters) {
    // UNIRES.DLL (10) + 4 x (1 + 100) = 414; a fifth name of 95 ends at 510, a sixth does not fit.
    TTDriverInfo r = m_package.Record();
    std::wstring names;
    for (int i = 0; i < 4; ++i) names += std::wstring(96, L'A' + i) + L".INI,";
    names += std::wstring(91, L'E') + L".INI";
    r.Driver_DataFile = names;
    r.Driver_DriverFile = L"LAST.DLL";
    AddDriver(r);
    ASSERT_EQ(m_spooler.drivers.size(), 1u);
    const TFakeDriver& d = m_spooler.drivers[0];
    EXPECT_EQ(d.dependentChars, 510u);
    ASSERT_EQ(d.dependents.size(), 6u);
    EXPECT_EQ(d.dependents.back(), std::wstring(91, L'E') + L".INI");
    EXPECT_THAT(m_log.Lines(), ::testing::Contains(L"ERROR:Dependent file list longer than 510 characters; left out: LAST.DLL"));
}

TEST_F(PackageTest, PrinterRecordNamesOnlyPrinterPortDriverProcessorAndDataType) {
    EXPECT_EQ(AddPrinterInstance(m_package.Record()), 0u);
    ASSERT_EQ(m_spooler.printers.size(), 1u);
    const TFakePrinter& p = m_spooler.printers[0];
    EXPECT_EQ(p.name, L"Ondrix Printer");
    EXPECT_EQ(p.port, L"USB001");
    EXPECT_EQ(p.driver, L"VKT Label Printer");
    EXPECT_EQ(p.processor, L"WinPrint");
    EXPECT_EQ(p.dataType, L"RAW");
    EXPECT_EQ(p.attributes, (DWORD)PRINTER_ATTRIBUTE_LOCAL);
    EXPECT_TRUE(p.restEmpty);
    EXPECT_THAT(m_log.Lines(), ElementsAre(L"INFO:" + Utf8("已成功添加打印驱动实例：Ondrix Printer")));
}

TEST_F(PackageTest, InstallsFilesDriverPrinterAndFormsInThatOrder) {
    TTDriverInfo r = m_package.Record();
    r.Driver_Forms = L"72 x 50mm[72,50]";
    EXPECT_EQ(InstallDriverPackage(r), 1);
    EXPECT_EQ(Copied(L"LABELUI.DLL"), "driver\\amd64\\LABELUI.DLL");
    EXPECT_THAT(m_spooler.calls,
                ElementsAre(L"AddDriver", L"AddPrinter", L"OpenServer", L"DeleteForm:72 x 25mm", L"DeleteForm:72 x 50mm",
                            L"DeleteForm:72 x 75mm", L"DeleteForm:72 x 100mm", L"OpenServer", L"AddForm:72 x 50mm"));
}

TEST_F(PackageTest, RefusedDriverEndsTheInstallationAsAFailureOutsideTheSuccessCodes) {
    // Windows error codes 1 to 3 must not read as the wizard's success codes 1 to 3.
    for (DWORD code : {1ul, 2ul, 3ul, 5ul, 1797ul}) {
        SCOPED_TRACE(code);
        m_spooler.calls.clear();
        m_spooler.addDriverError = code;
        long long result = InstallDriverPackage(m_package.Record());
        EXPECT_TRUE(result < 1 || result > 3) << result;
        EXPECT_LT((int)(result & 0xFFFFFFFF), 0) << "the low 32 bits are negative too";
        EXPECT_EQ(PackageInstallError(result), code);
        EXPECT_THAT(m_spooler.calls, ElementsAre(L"AddDriver"));  // no printer, no form touched
    }
    EXPECT_EQ(PackageInstallError(1), 0u);
}

TEST_F(PackageTest, DuplicatePrinterNameFailsTheInstallationButKeepsTheDriverAndForms) {
    TFakePrinter existing;
    existing.name = L"Ondrix Printer";
    m_spooler.printers.push_back(existing);
    TTDriverInfo r = m_package.Record();
    r.Driver_Forms = L"72 x 25mm[72,25]";
    long long result = InstallDriverPackage(r);
    EXPECT_EQ(PackageInstallError(result), (DWORD)ERROR_PRINTER_ALREADY_EXISTS);
    EXPECT_LT(result, 0);
    EXPECT_EQ(m_spooler.drivers.size(), 1u);
    EXPECT_EQ(m_spooler.forms.count(L"72 x 25mm"), 1u);
    EXPECT_THAT(m_log.Lines(), ::testing::Contains(L"INFO:" + Utf8("添加打印驱动实例失败：1802")));
}
}  // namespace
