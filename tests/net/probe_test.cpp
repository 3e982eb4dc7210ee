#include <gtest/gtest.h>

#include <algorithm>
#include <type_traits>
#include <vector>

#include "platform/net/host.h"
#include "protocol/install_query.h"
#include "platform/net/probe.h"
#include "platform/net/socket.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const kInUse = "Could not bind socket. Address and port are already in use.";

class Probe : public ::testing::Test {
protected:
    // n distinct ports that are free on every address at this moment.
    std::vector<std::string> FreePorts(int n)
    {
        std::vector<net::Socket> held;
        std::vector<std::string> ports;
        for (int i = 0; i < n; ++i) {
            held.push_back(net::Listen("", 0));
            ports.push_back(std::to_string(net::LocalPort(held.back().get())));
        }
        return ports;
    }

    // A listener as another program would open it: plain bind, no exclusive use.
    net::Socket Hold(const char* address, const std::string& port, bool reuse = false)
    {
        sockaddr_in addr = net::ResolveIPv4(address, std::stoi(port), true);
        net::Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        EXPECT_TRUE(s);
        if (reuse) {
            BOOL on = TRUE;
            setsockopt(s.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
        }
        EXPECT_EQ(bind(s.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0) << WSAGetLastError();
        EXPECT_EQ(listen(s.get(), 5), 0) << WSAGetLastError();
        return s;
    }

    // True when every port can be bound again on every address.
    bool AllFree(const std::vector<std::string>& ports)
    {
        try {
            std::vector<net::TBinding> bindings;
            for (const auto& p : ports) bindings.push_back({"", std::stoi(p)});
            net::ProbeBindings(bindings);
            return true;
        } catch (const rtl::Exception& e) {
            ADD_FAILURE() << e.Message();
            return false;
        }
    }

    net::WinsockSession session_ = net::StartWinsock();
};

// The message of the error that ProbeServerPorts raises, or "" when it passes.
std::string ServerProbeError(const std::string& host, const std::vector<std::string>& p)
{
    try {
        proto::ProbeServerPorts(host, p[0], p[1], p[2], p[3]);
        return std::string();
    } catch (const rtl::Exception& e) {
        return e.Message();
    }
}

}  // namespace

TEST_F(Probe, FourDistinctFreePortsPassAndAreReleased)
{
    const auto ports = FreePorts(4);
    EXPECT_EQ(ServerProbeError("127.0.0.1", ports), "");
    EXPECT_EQ(ServerProbeError("127.0.0.1", ports), "");  // nothing was kept bound
    EXPECT_TRUE(AllFree(ports));
}

TEST_F(Probe, EmptyHostBindsAllAddresses)
{
    const auto ports = FreePorts(4);
    EXPECT_EQ(ServerProbeError("", ports), "");
    // Held on loopback only, the port is still one of "all addresses".
    const net::Socket held = Hold("127.0.0.1", ports[2]);
    EXPECT_EQ(ServerProbeError("", ports), kInUse);
}

TEST_F(Probe, SamePortTwiceFailsAndLeavesNothingBound)
{
    const auto free = FreePorts(4);
    for (const char* host : {"127.0.0.1", ""}) {
        SCOPED_TRACE(host);
        // Local repeats Server: the third binding fails after two were bound.
        std::vector<std::string> ports = {free[0], free[1], free[0], free[3]};
        EXPECT_EQ(ServerProbeError(host, ports), kInUse);
        EXPECT_TRUE(AllFree(free));
        ports[2] = free[2];  // the user corrects the text and tries again
        EXPECT_EQ(ServerProbeError(host, ports), "");
    }
}

TEST_F(Probe, PortHeldByAnotherListenerFails)
{
    const struct {
        const char* holder;
        bool reuse;
        const char* probe;
    } cases[] = {
        {"127.0.0.1", false, "127.0.0.1"},
        {"0.0.0.0", false, "127.0.0.1"},  // the holder's wildcard covers our address
        {"127.0.0.1", false, ""},
        {"127.0.0.1", true, "127.0.0.1"},  // the holder allowed reuse; we still must not share
        {"0.0.0.0", true, "127.0.0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.holder) + (c.reuse ? " with SO_REUSEADDR, probe " : ", probe ") + c.probe);
        const auto ports = FreePorts(4);
        {
            const net::Socket held = Hold(c.holder, ports[1], c.reuse);  // the client's port, which is UDP by name
            EXPECT_EQ(ServerProbeError(c.probe, ports), kInUse);
        }
        EXPECT_TRUE(AllFree(ports));
    }
}

TEST_F(Probe, AddressOfNoLocalInterfaceFailsWithTheSocketText)
{
    const auto ports = FreePorts(4);
    // 192.0.2.1 is reserved for documentation: no interface here has it.
    const std::string error = ServerProbeError("192.0.2.1", ports);
    const std::string head = "Socket Error # 10049\r\n";
    ASSERT_EQ(error.substr(0, head.size()), head);
    EXPECT_GT(error.size(), head.size());  // the system's text follows
}

TEST_F(Probe, PortTextsAreConvertedFirstAndInOrder)
{
    const auto ports = FreePorts(4);
    const net::Socket held = Hold("127.0.0.1", ports[0]);
    const struct {
        std::vector<std::string> texts;
        std::string error;
    } cases[] = {
        {{ports[0], "18x1", ports[2], ports[3]}, "'18x1' is not a valid integer value"},
        {{ports[0], ports[1], "", "abc"}, "'' is not a valid integer value"},
        {{ports[0], ports[1], ports[2], "0"}, "'0' is not a valid port: a port is a number from 1 to 65535."},
        {{"70000", ports[1], ports[2], ports[3]}, "'70000' is not a valid port: a port is a number from 1 to 65535."},
        {{ports[0], "-1991", ports[2], ports[3]}, "'-1991' is not a valid port: a port is a number from 1 to 65535."},
        {{ports[0], "99999999999", ports[2], ports[3]}, "'99999999999' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        // The held port would fail the bind; the text error comes first.
        EXPECT_EQ(ServerProbeError("127.0.0.1", c.texts), c.error);
    }
}

TEST(PortText, Range)
{
    EXPECT_EQ(net::PortFromText("1"), 1);
    EXPECT_EQ(net::PortFromText("65535"), 65535);
    EXPECT_EQ(net::PortFromText("01991"), 1991);
    EXPECT_EQ(net::PortFromText(" 1661"), 1661);
    EXPECT_THROW(net::PortFromText("65536"), net::EPortRange);
    EXPECT_THROW(net::PortFromText("0"), net::EPortRange);
    EXPECT_THROW(net::PortFromText("1661 "), rtl::EConvertError);
}

TEST_F(Probe, DataPortOnLoopback)
{
    const auto ports = FreePorts(1);
    EXPECT_NO_THROW(proto::ProbeDataPort(ports[0]));
    {
        const net::Socket held = Hold("127.0.0.1", ports[0]);
        try {
            proto::ProbeDataPort(ports[0]);
            ADD_FAILURE() << "probe passed on a held port";
        } catch (const net::ESocketError& e) {
            EXPECT_EQ(e.Message(), kInUse);
            EXPECT_EQ(e.ErrorCode(), WSAEADDRINUSE);
        }
    }
    EXPECT_NO_THROW(proto::ProbeDataPort(ports[0]));
    EXPECT_THROW(proto::ProbeDataPort("x"), rtl::EConvertError);
}

// A copyable owner would close its socket twice.
static_assert(!std::is_copy_constructible_v<net::Socket> && !std::is_copy_assignable_v<net::Socket>);
static_assert(!std::is_copy_constructible_v<net::WinsockSession> && !std::is_copy_assignable_v<net::WinsockSession>);
static_assert(std::is_nothrow_move_constructible_v<net::Socket>);

TEST(HostNames, AddressesResolveToThemselves)
{
    // Only names that need no name server: tests send nothing off this machine.
    for (const char* address : {"127.0.0.1", "127.0.0.5", "192.0.2.7", "10.1.2.3"})
        EXPECT_EQ(net::HostAddress(address), address);
    for (const char* name : {"localhost", "LOCALHOST", "LocalHost"}) EXPECT_EQ(net::HostAddress(name), "127.0.0.1");
    EXPECT_THROW(net::HostAddress(""), rtl::Exception);
}

TEST(HostNames, TheLocalHostNameResolvesToADottedAddress)
{
    const std::string host = net::LocalHostName();
    EXPECT_FALSE(host.empty());
    const std::string address = net::HostAddress(host);
    EXPECT_EQ(std::count(address.begin(), address.end(), '.'), 3) << address;
}

TEST(HostNames, UnresolvableNameRaisesTheSocketError)
{
    try {
        // A label longer than the 63 characters DNS allows fails in the
        // resolver itself: no query leaves this machine.
        net::HostAddress(std::string(64, 'q') + ".invalid");
        FAIL() << "no error";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message().rfind("Socket Error # ", 0), 0u) << e.Message();
        EXPECT_NE(e.Message().find("\r\n"), std::string::npos) << e.Message();
    }
}
