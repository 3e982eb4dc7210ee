#include <gtest/gtest.h>

#include <thread>

#include "platform/net/client.h"
#include "protocol/install_query.h"
#include "platform/rtl/handles.h"
#include "programs/msvc/install_server.h"

namespace {

// The query server of msvc.exe, serving on a thread of the test.
class QueryServer : public ::testing::Test {
protected:
    void Start(const proto::TInstallSettings& settings)
    {
        server_ = std::make_unique<TInstallServer>(settings, FreePort());
        stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        thread_ = std::thread([this] {
            try {
                server_->Serve(stop_.get());
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
        });
    }
    void TearDown() override
    {
        if (thread_.joinable()) {
            SetEvent(stop_.get());
            thread_.join();
        }
    }
    static int FreePort()
    {
        const net::WinsockSession session = net::StartWinsock();
        const net::Socket s = net::Listen("127.0.0.1", 0);
        return net::LocalPort(s.get());
    }
    std::string Port() const { return std::to_string(server_->Port()); }

    std::unique_ptr<TInstallServer> server_;
    rtl::KernelHandle stop_;
    std::thread thread_;
};

}  // namespace

TEST(ServerRecord, SettingsComeFromTheRecordLines)
{
    const rtl::TStringList record = {"DisplayName=quorvane Enterprise Server", "Host=10.0.0.5", "Server=1991",
                                     "Client=1881", "Local=", "Data=1661", "HostName=db", "RdcPath="};
    const proto::TInstallSettings s = proto::SettingsFromLines(record);
    EXPECT_EQ(s.Host, "10.0.0.5");
    EXPECT_EQ(s.Server, "1991");
    EXPECT_EQ(s.Client, "1881");
    EXPECT_EQ(s.Local, "");
    EXPECT_EQ(s.Data, "1661");
}

TEST_F(QueryServer, AnswersEveryInstallRequest)
{
    Start({"my host, \"the\" server", "1991", "1661", "1881", "1771"});
    const proto::TInstallSettings got = proto::QueryInstallSettings("127.0.0.1", Port());
    EXPECT_EQ(got.Host, "my host, \"the\" server");  // quoted on the wire, whole again here
    EXPECT_EQ(got.Server, "1991");
    EXPECT_EQ(got.Data, "1661");
    EXPECT_EQ(got.Client, "1881");
    EXPECT_EQ(got.Local, "1771");

    // Several requests on one connection, each answered.
    net::TTcpClient client("127.0.0.1", server_->Port());
    client.Connect();
    client.WriteLn(proto::InstallRequest());
    client.WriteLn(proto::InstallRequest());
    const std::string first = client.ReadLn();
    EXPECT_EQ(first, client.ReadLn());
    EXPECT_EQ(proto::ParseInstallReply(first).Server, "1991");
}

TEST_F(QueryServer, EmptyHostIsReportedAsTheAddressReached)
{
    Start({"", "1991", "1661", "1881", ""});
    const proto::TInstallSettings got = proto::QueryInstallSettings("127.0.0.1", Port());
    EXPECT_EQ(got.Host, "127.0.0.1");
    EXPECT_EQ(got.Local, "");
}

TEST_F(QueryServer, AnyOtherRequestClosesTheConnection)
{
    Start({"h", "1991", "1661", "1881", "1771"});
    const std::string others[] = {
        "install 1.0 {6B1E92C7-D0F2-4A6E-93B1-7E0D2C68FA15}",
        "Install 1.0 {6b1e92c7-d0f2-4a6e-93b1-7e0d2c68fa15}",
        "Install 2.0 {6B1E92C7-D0F2-4A6E-93B1-7E0D2C68FA15}",
        "Install 1.0 {6B1E92C7-D0F2-4A6E-93B1-7E0D2C68FA15} ",
        "",
        "GET / HTTP/1.0",
        std::string(net::MaxLineLength + 1, 'x'),
    };
    for (const std::string& request : others) {
        SCOPED_TRACE(request.substr(0, 60));
        net::TTcpClient client("127.0.0.1", server_->Port());
        client.Connect();
        client.WriteLn(request);
        EXPECT_THROW(client.ReadLn(), net::EConnClosedGracefully);
    }
    // A good request after a bad one on the same connection is not answered.
    net::TTcpClient client("127.0.0.1", server_->Port());
    client.Connect();
    client.WriteLn("hello");
    client.WriteLn(proto::InstallRequest());
    EXPECT_THROW(client.ReadLn(), net::EConnClosedGracefully);
    // The server still serves others.
    EXPECT_EQ(proto::QueryInstallSettings("127.0.0.1", Port()).Host, "h");
}

TEST_F(QueryServer, ClientThatEndsItsSideAfterTheRequestStillGetsTheReply)
{
    const proto::TInstallSettings settings{"h", "1991", "1661", "1881", "1771"};
    Start(settings);
    const net::WinsockSession session = net::StartWinsock();
    const net::Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    ASSERT_TRUE(s);
    const sockaddr_in addr = net::ResolveIPv4("127.0.0.1", server_->Port(), false);
    ASSERT_EQ(connect(s.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0) << WSAGetLastError();
    DWORD waitMs = 10000;  // each read waits at most this long
    setsockopt(s.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&waitMs), sizeof waitMs);
    const std::string request = proto::InstallRequest() + "\r\n";
    ASSERT_EQ(send(s.get(), request.data(), static_cast<int>(request.size()), 0), static_cast<int>(request.size()));
    ASSERT_EQ(shutdown(s.get(), SD_SEND), 0);

    std::string received;
    char buffer[1024];
    for (int n = 1; n > 0 && received.size() < 100000;) {
        n = recv(s.get(), buffer, sizeof buffer, 0);
        if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(received, proto::FormatInstallReply(settings) + "\r\n");
}

TEST_F(QueryServer, PortTakenIsRefused)
{
    Start({"h", "1991", "1661", "1881", "1771"});
    try {
        TInstallServer second({}, server_->Port());
        ADD_FAILURE() << "a second server shared the port";
    } catch (const net::ESocketError& e) {
        EXPECT_EQ(e.Message(), "Could not bind socket. Address and port are already in use.");
    }
}
