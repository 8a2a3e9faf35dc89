// Tests run the installer against the in-memory spooler, with the log's records collected
// as "LEVEL:text".
#pragma once
#include "FakeSpooler.h"
#include "InstallAssist.h"
#include "TestUtil.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Collects the root logger's records while it lives; the previous spooler and verbosity come back after.
class TLogCapture {
public:
    TLogCapture();
    ~TLogCapture();
    std::vector<std::wstring> Lines() const;

private:
    int m_oldLogInfo;
};

class SpoolerTest : public ::testing::Test {
protected:
    SpoolerTest();
    ~SpoolerTest() override;

    TFakeSpooler m_spooler;
    TLogCapture m_log;

private:
    ISpooler* m_oldSpooler;
};

// A driver package in a private folder: driver\depends\, driver\amd64\ and driver\x86\.
// Every file holds its own relative path, so a copy shows where it came from.
class TPackage {
public:
    TPackage();
    // Creates the file with its relative path as content.
    void Add(const std::wstring& relativePath);
    TTDriverInfo Record() const;  // Inf in the package folder, LABEL file lists
    const std::wstring& Folder() const { return m_dir.Path(); }

private:
    TTempDir m_dir;
};

// The file's content, or "<missing>".
std::string ContentOf(const std::wstring& path);

// Takes a test printer and its driver out of Wine's spooler again (whatever is there).
void RemoveWinePrinter(const wchar_t* printer, const wchar_t* driver);
