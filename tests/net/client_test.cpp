#include <gtest/gtest.h>

#include "platform/net/client.h"
#include "protocol/install_query.h"
#include "test_server.h"

using nettest::TTestServer;

namespace {

const char* const kRequest = "Install 1.0 {6B1E92C7-D0F2-4A6E-93B1-7E0D2C68FA15}\r\n";

// The message of the error the query raises, or "" when it succeeds.
std::string QueryError(const std::string& host, const std::string& port, unsigned readMs = 10000)
{
    try {
        proto::QueryInstallSettings(host, port, 10000, readMs);
        return std::string();
    } catch (const rtl::Exception& e) {
        return e.Message();
    }
}

}  // namespace

TEST(InstallQuery, ReadsTheServersReply)
{
    const struct {
        const char* what;
        std::string reply;
        proto::TInstallSettings expected;
    } cases[] = {
        {"CR LF", "Host=10.1.2.3,Server=1991,Data=1661,Client=1881,Local=1771\r\n",
         {"10.1.2.3", "1991", "1661", "1881", "1771"}},
        {"LF only, no Local", "host=h,SERVER=2,data=3,Client=4\n", {"h", "2", "3", "4", ""}},
        {"quoted, and a second line that is not read", "\"Host=a b\",Server=1\r\nHost=later\r\n",
         {"a b", "1", "", "", ""}},
        {"longest line", "Host=" + std::string(net::MaxLineLength - 5, 'x') + "\r\n",
         {std::string(net::MaxLineLength - 5, 'x'), "", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TTestServer server(TTestServer::TMode::Answer, c.reply);
        const proto::TInstallSettings s = proto::QueryInstallSettings("127.0.0.1", server.PortText());
        EXPECT_EQ(s.Host, c.expected.Host);
        EXPECT_EQ(s.Server, c.expected.Server);
        EXPECT_EQ(s.Data, c.expected.Data);
        EXPECT_EQ(s.Client, c.expected.Client);
        EXPECT_EQ(s.Local, c.expected.Local);
        EXPECT_EQ(server.Received(), kRequest);
    }
}

TEST(InstallQuery, ServerThatFailsToAnswer)
{
    const struct {
        const char* what;
        TTestServer::TMode mode;
        std::string reply;
        std::string error;
    } cases[] = {
        {"closes at once", TTestServer::TMode::CloseAtOnce, "", "Connection Closed Gracefully."},
        {"closes after part of a line", TTestServer::TMode::AnswerAndClose, "Host=a,Server=1", "Connection Closed Gracefully."},
        {"line one character too long", TTestServer::TMode::Answer, std::string(net::MaxLineLength + 1, 'x') + "\r\n",
         "Max line length exceeded."},
        {"endless line", TTestServer::TMode::Answer, std::string(100000, 'x'), "Max line length exceeded."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TTestServer server(c.mode, c.reply);
        EXPECT_EQ(QueryError("127.0.0.1", server.PortText()), c.error);
    }
}

TEST(InstallQuery, ServerThatNeverAnswersEndsInATimeout)
{
    TTestServer server(TTestServer::TMode::Silent);
    try {
        proto::QueryInstallSettings("127.0.0.1", server.PortText(), 10000, 1000);
        ADD_FAILURE() << "the query returned";
    } catch (const net::ETimedOut& e) {
        EXPECT_EQ(e.Message(), "No reply from 127.0.0.1 port " + server.PortText() + " within 1 seconds.");
    }
}

TEST(InstallQuery, UnreachableServer)
{
    std::string port;
    {
        TTestServer gone(TTestServer::TMode::CloseAtOnce);
        port = gone.PortText();
    }  // nothing listens there any more
    try {
        proto::QueryInstallSettings("127.0.0.1", port);
        ADD_FAILURE() << "connected to a closed port";
    } catch (const net::ESocketError& e) {
        EXPECT_EQ(e.ErrorCode(), WSAECONNREFUSED);
        const std::string head = "Socket Error # 10061\r\n";
        EXPECT_EQ(e.Message().substr(0, head.size()), head);
        EXPECT_GT(e.Message().size(), head.size());
    }
    EXPECT_EQ(QueryError("127.0.0.1", "19x1"), "'19x1' is not a valid integer value");
    EXPECT_EQ(QueryError("127.0.0.1", "0"), "'0' is not a valid port: a port is a number from 1 to 65535.");
    EXPECT_EQ(QueryError("", "1991"), "No server address was given.");
}

TEST(TcpClient, ReadsLinesInTurnAndCanReconnect)
{
    TTestServer server(TTestServer::TMode::Answer, "first\r\nsecond\nunread\n");
    net::TTcpClient client("127.0.0.1", server.Port());
    EXPECT_FALSE(client.Connected());
    client.Connect();
    ASSERT_TRUE(client.Connected());
    client.WriteLn("hello");
    EXPECT_EQ(client.ReadLn(), "first");
    EXPECT_EQ(client.ReadLn(), "second");
    client.Disconnect();
    EXPECT_FALSE(client.Connected());
    EXPECT_THROW(client.ReadLn(), net::ESocketError);
    EXPECT_EQ(server.Received(), "hello\r\n");

    // A new connection starts clean: nothing left from the old one is read.
    // (The listener still takes the connection; nobody answers on it.)
    client.Connect();
    ASSERT_TRUE(client.Connected());
    client.SetReadTimeout(300);
    EXPECT_THROW(client.ReadLn(), net::ETimedOut);
}
