// Standard TCP/IP ports of the spooler: whether a port exists, and creating a raw TCP port
// (printer port 9100) through the port monitor's configuration interface.
#pragma once
#include <windows.h>
#include <string>

// The Standard TCP/IP port monitor's published record for its "AddPort" command.
const int MAX_PORTNAME_LEN = 64;
const int MAX_NETWORKNAME_LEN = 49;
const int MAX_SNMP_COMMUNITY_STR_LEN = 33;
const int MAX_QUEUENAME_LEN = 33;
const int MAX_IPADDR_STR_LEN = 16;
const DWORD PROTOCOL_RAWTCP_TYPE = 1;

struct PORT_DATA_1 {
    WCHAR sztPortName[MAX_PORTNAME_LEN];
    DWORD dwVersion;
    DWORD dwProtocol;
    DWORD cbSize;
    DWORD dwReserved;
    WCHAR sztHostAddress[MAX_NETWORKNAME_LEN];
    WCHAR sztSNMPCommunity[MAX_SNMP_COMMUNITY_STR_LEN];
    DWORD dwDoubleSpool;
    WCHAR sztQueue[MAX_QUEUENAME_LEN];
    WCHAR sztIPAddress[MAX_IPADDR_STR_LEN];
    BYTE Reserved[540];
    DWORD dwPortNumber;
    DWORD dwSNMPEnabled;
    DWORD dwSNMPDevIndex;
};
static_assert(sizeof(PORT_DATA_1) == 964, "the monitor checks the record's size");

// True when the local machine has a port of exactly this name (case matters).
// False as well when the port list cannot be read.
bool PortExists(const std::wstring& portName);

// Creates a raw TCP port on printer port 9100 of the address, SNMP off. True only when the
// monitor reports the port created. On false the thread's last error tells why: the code of
// the failed open or call, the monitor's own status, or ERROR_INVALID_PARAMETER for a name
// or address longer than its field (never cut short: the port would not be the one asked for).
bool AddTcpIpPort(const std::wstring& portName, const std::wstring& address);
