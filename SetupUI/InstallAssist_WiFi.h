// The PC's own Wi-Fi connection (network name and key), read from the text output of the
// network shell, and the hidden child-process runner that captures that output.
#pragma once
#include <string>

// Runs the command line without a window, its standard output and error through one
// anonymous pipe, and waits for it to end. output becomes what it printed, decoded from
// the ANSI code page; a process that cannot be started leaves output as it was.
void RunAndCapture(const std::wstring& commandLine, std::wstring& output);

// The connected network's name and key, through Services().commands. True with the key,
// or with an empty key for an open network; false otherwise. The name is filled whenever
// the interface listing shows one, even when the result is false.
bool ReadCurrentWiFi(std::wstring& networkName, std::wstring& key);

// What the log shows in place of a secret: "******" for any text, "" for none, so the
// length never shows.
std::wstring MaskSecret(const std::wstring& secret);

// A stored command line ("netsh wlan ...") with its program named by full path in the
// system directory, so no copy elsewhere on the search path is started. Empty when the
// system directory cannot be read.
std::wstring SystemCommandLine(const std::wstring& stored);
