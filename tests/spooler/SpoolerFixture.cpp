#include "SpoolerFixture.h"
#include "Lib_Log.h"
#include "Lib_Services.h"
#include <winspool.h>
#include "Lib_String.h"
#include "LogFixture.h"  // TRecordingAppender
#include "TLoggerUnit.h"
#include <memory>

namespace {
std::shared_ptr<TRecordingAppender> g_recorder;
}

TLogCapture::TLogCapture() : m_oldLogInfo(g_LogInfo) {
    g_LogInfo = 2;
    TLogger::PrepareRegistry();
    TLogger* root = TLogger::GetInstance();
    root->SetLevel(LevelALL);
    g_recorder = std::make_shared<TRecordingAppender>();
    root->AddAppender(g_recorder);
}

TLogCapture::~TLogCapture() {
    TLogger::FreeInstances();
    g_recorder.reset();
    g_LogInfo = m_oldLogInfo;
}

std::vector<std::wstring> TLogCapture::Lines() const { return g_recorder->Seen; }

SpoolerTest::SpoolerTest() : m_oldSpooler(Services().spooler) { Services().spooler = &m_spooler; }

SpoolerTest::~SpoolerTest() {
    Services().spooler = m_oldSpooler;
    EXPECT_EQ(m_spooler.OpenHandles(), 0u) << "a spooler handle was left open";
}

TPackage::TPackage() {
    for (const wchar_t* sub : {L"\\driver", L"\\driver\\depends", L"\\driver\\amd64", L"\\driver\\x86"})
        CreateDirectoryW((m_dir.Path() + sub).c_str(), nullptr);
}

void TPackage::Add(const std::wstring& relativePath) {
    WriteBytes(m_dir.File(relativePath), WideToUtf8(relativePath));
}

TTDriverInfo TPackage::Record() const {
    TTDriverInfo r;
    r.Inf = m_dir.File(L"VKT.inf");
    r.DriverName = L"VKT Label Printer";
    r.DriverInstanceName = L"Ondrix Printer";
    r.PortName = L"USB001";
    r.Unidrv_DataFile = L"UNIDRV.HLP,UNIRES.DLL";
    r.Unidrv_DriverFile = L"UNIDRV.DLL,UNIDRVUI.DLL";
    r.Driver_DataFile = L"LABEL.GPD,LABEL.INI";
    r.Driver_DriverFile = L"LABELUI.DLL";
    return r;
}

std::string ContentOf(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return "<missing>";
    return ReadBytes(path);
}

void RemoveWinePrinter(const wchar_t* printer, const wchar_t* driver) {
    HANDLE h = nullptr;
    if (OpenPrinterW(const_cast<LPWSTR>(printer), &h, nullptr)) {
        DeletePrinter(h);
        ClosePrinter(h);
    }
    DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(driver));
}
