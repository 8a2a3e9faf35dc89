// Standard TCP/IP ports against the in-memory spooler (addresses here are data only).
#include "Lib_String.h"
#include "SpoolerFixture.h"
#include "tcpxcv.h"
#include <cstring>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
class PortTest : public SpoolerTest {};

TEST_F(PortTest, PortExistsComparesWholeNamesWithLetterCase) {
    m_spooler.ports = {L"COM1:", L"USB001", L"192.168.1.50"};
    struct {
        const wchar_t* name;
        bool exists;
    } cases[] = {{L"USB001", true}, {L"192.168.1.50", true}, {L"usb001", false},
                 {L"192.168.1.5", false}, {L"USB0011", false}, {L"", false}};
    for (const auto& c : cases) EXPECT_EQ(PortExists(c.name), c.exists) << WideToUtf8(c.name);

    m_spooler.portListError = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(PortExists(L"USB001"));
}

TEST_F(PortTest, AddPortSendsARawTcpRecordOnPort9100) {
    SetLastError(1234);
    EXPECT_TRUE(AddTcpIpPort(L"192.168.1.50", L"192.168.1.50"));
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_THAT(m_spooler.calls, ElementsAre(L"OpenXcv:,XcvMonitor Standard TCP/IP Port", L"Xcv:AddPort"));
    EXPECT_EQ(m_spooler.xcvAccess, (DWORD)SERVER_ACCESS_ADMINISTER);
    ASSERT_EQ(m_spooler.xcvInputs.size(), 1u);
    ASSERT_EQ(m_spooler.xcvInputs[0].size(), 964u);

    PORT_DATA_1 sent;
    std::memcpy(&sent, m_spooler.xcvInputs[0].data(), sizeof(sent));
    PORT_DATA_1 expected = {};
    wcscpy(expected.sztPortName, L"192.168.1.50");
    expected.dwVersion = 1;
    expected.dwProtocol = PROTOCOL_RAWTCP_TYPE;
    expected.cbSize = 964;
    wcscpy(expected.sztHostAddress, L"192.168.1.50");
    wcscpy(expected.sztIPAddress, L"192.168.1.50");
    expected.dwPortNumber = 9100;
    // Byte for byte: SNMP off, no community, no queue, no double spooling, reserved bytes zero.
    EXPECT_EQ(std::memcmp(&sent, &expected, sizeof(sent)), 0);
    EXPECT_THAT(m_spooler.ports, ElementsAre(L"192.168.1.50"));
}

TEST_F(PortTest, FailureReturnsFalseAndLeavesTheCauseAsLastError) {
    struct {
        const char* what;
        DWORD openError, callError;
        bool portThere;
        DWORD lastError;
    } cases[] = {
        {"monitor cannot be opened", ERROR_UNKNOWN_PORT, 0, false, ERROR_UNKNOWN_PORT},
        {"call fails", 0, ERROR_ACCESS_DENIED, false, ERROR_ACCESS_DENIED},
        {"monitor reports the port exists", 0, 0, true, ERROR_ALREADY_EXISTS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_spooler.xcvOpenError = c.openError;
        m_spooler.xcvCallError = c.callError;
        m_spooler.ports = c.portThere ? std::vector<std::wstring>{L"192.168.1.50"} : std::vector<std::wstring>{};
        SetLastError(0);
        EXPECT_FALSE(AddTcpIpPort(L"192.168.1.50", L"192.168.1.50"));
        EXPECT_EQ(GetLastError(), c.lastError);
    }
}

TEST_F(PortTest, NameOrAddressLongerThanItsFieldIsRefusedNotCut) {
    struct {
        std::wstring name, address;
        bool accepted;
    } cases[] = {
        {std::wstring(63, L'p'), L"192.168.1.50", true},
        {std::wstring(64, L'p'), L"192.168.1.50", false},
        {L"192.168.100.200", L"192.168.100.200", true},  // 15 characters fill the address field
        {L"p", L"192.168.100.2001", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.name + L" " + c.address));
        m_spooler.calls.clear();
        SetLastError(0);
        EXPECT_EQ(AddTcpIpPort(c.name, c.address), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
            EXPECT_THAT(m_spooler.calls, IsEmpty());
        }
    }
}
}  // namespace
