// The programs' listeners in-process: the shared line server with bad input,
// the server's reports, the data service's inventory, and the agent's loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "platform/net/client.h"
#include "platform/rtl/handles.h"
#include "programs/common/line_server.h"
#include "programs/csvc/agent.h"
#include "programs/dsvc/data_server.h"
#include "programs/msvc/install_server.h"
#include "protocol/request_client.h"

namespace {

int FreePort()
{
    const net::WinsockSession session = net::StartWinsock();
    const net::Socket s = net::Listen("127.0.0.1", 0);
    return net::LocalPort(s.get());
}

// Serves on a thread of the test until the test ends.
class TServing {
public:
    explicit TServing(std::function<void(HANDLE)> serve) : stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
        thread_ = std::thread([this, serve] {
            try {
                serve(stop_.get());
            } catch (const std::exception& e) {
                ADD_FAILURE() << "the server ended: " << e.what();
            }
        });
    }
    ~TServing()
    {
        SetEvent(stop_.get());
        thread_.join();
    }

private:
    rtl::KernelHandle stop_;
    std::thread thread_;
};

// A raw connection for what a well-behaved client never does.
class TRawClient {
public:
    explicit TRawClient(int port) : session_(net::StartWinsock()), socket_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP))
    {
        const sockaddr_in addr = net::ResolveIPv4("127.0.0.1", port, false);
        connected_ = connect(socket_.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
        DWORD waitMs = 10000;  // each read waits at most this long
        setsockopt(socket_.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&waitMs), sizeof waitMs);
    }
    bool Connected() const { return connected_; }
    void Send(const std::string& bytes)
    {
        send(socket_.get(), bytes.data(), static_cast<int>(bytes.size()), 0);
    }
    void Close() { socket_.reset(); }
    // Everything until the server closes; "TIMEOUT" when it keeps silent past the wait.
    std::string ReadToEnd()
    {
        std::string received;
        char buffer[4096];
        for (int i = 0; i < 1000; ++i) {
            const int n = recv(socket_.get(), buffer, sizeof buffer, 0);
            if (n > 0) {
                received.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && WSAGetLastError() == WSAETIMEDOUT) return received + "TIMEOUT";
            break;
        }
        return received;
    }

private:
    net::WinsockSession session_;
    net::Socket socket_;
    bool connected_ = false;
};

class TEchoSession : public svc::TLineSession {
public:
    TAction OnLine(const std::string& line, std::string& reply) override
    {
        if (line == "throw") throw std::runtime_error("session failure");
        svc::AppendLine(reply, "echo " + line);
        return line == "bye" ? TAction::Close : TAction::Continue;
    }
};

std::unique_ptr<svc::TLineServer> EchoServer(std::size_t maxClients, unsigned idleMs)
{
    svc::TLineServerOptions options;
    options.MaxClients = maxClients;
    options.IdleTimeoutMs = idleMs;
    options.MaxLineLength = 64;
    return std::make_unique<svc::TLineServer>(options,
                                              [](const svc::TPeer&) { return std::make_unique<TEchoSession>(); });
}

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // New on every run: the test prefix is kept between runs.
    const std::string root = std::string(temp) + "qv-" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount64());
    CreateDirectoryA(root.c_str(), nullptr);
    return root;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const rtl::FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return names;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") names.push_back(found.cFileName);
    } while (FindNextFileA(find.get(), &found));
    return names;
}

std::string FileText(const std::string& path)
{
    const rtl::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text(1 << 20, '\0');
    DWORD read = 0;
    if (!file || !ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) return {};
    text.resize(read);
    return text;
}

}  // namespace

TEST(LineServer, EveryKindOfBadClientIsAnsweredOrDropped)
{
    auto server = EchoServer(16, 1000);
    const int port = server->Port();
    TServing serving([&](HANDLE stop) { server->Serve(stop); });

    struct Case {
        const char* what;
        std::string send;
        std::string expected;  // everything received until the server closed
    };
    const Case cases[] = {
        {"a request, then its end", "a\r\nbye\r\n", "echo a\r\necho bye\r\n"},
        {"a bare LF ends a line too", "x\nbye\n", "echo x\r\necho bye\r\n"},
        {"an overlong line closes", std::string(65, 'x') + "\r\n", ""},
        {"an overlong line without its end closes", std::string(200, 'x'), ""},
        {"what was answered before an overlong line stays", "a\r\n" + std::string(70, 'y') + "\r\nb\r\n", "echo a\r\n"},
        {"a session that fails closes only its connection", "throw\r\nb\r\n", ""},
        {"a client that never sends is dropped", "", ""},
        {"half a line, then silence, is dropped", "half", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRawClient client(port);
        ASSERT_TRUE(client.Connected());
        client.Send(c.send);
        EXPECT_EQ(client.ReadToEnd(), c.expected);
    }
    // A client that closes mid-line leaves the server serving.
    {
        TRawClient client(port);
        client.Send("never finish");
        client.Close();
    }
    TRawClient after(port);
    after.Send("still\r\nbye\r\n");
    EXPECT_EQ(after.ReadToEnd(), "echo still\r\necho bye\r\n");
}

TEST(LineServer, ClientsBeyondTheLimitAreClosedAtOnce)
{
    auto server = EchoServer(2, 20000);
    const int port = server->Port();
    TServing serving([&](HANDLE stop) { server->Serve(stop); });
    TRawClient first(port), second(port);
    first.Send("1\r\n");
    second.Send("2\r\n");
    // Accepted in the order they came: the third is one too many.
    TRawClient third(port);
    third.Send("3\r\nbye\r\n");
    const std::string got = third.ReadToEnd();
    EXPECT_EQ(got.find("echo 3"), std::string::npos) << got;
    EXPECT_EQ(got.find("TIMEOUT"), std::string::npos);
    first.Close();
    second.Close();
    // Room again: served, after the server has seen the two go (bounded retries).
    std::string served;
    for (int attempt = 0; attempt < 50 && served.empty(); ++attempt) {
        TRawClient next(port);
        next.Send("4\r\nbye\r\n");
        served = next.ReadToEnd();
        if (served.empty()) Sleep(100);
    }
    EXPECT_EQ(served, "echo 4\r\necho bye\r\n");
}

TEST(ServerReports, ReportsAreKeptPerComputerAndListed)
{
    const std::string root = TempFolder("reports");
    const std::string folder = root + "\\Reports";
    TInstallServer server({"h", "1991", "1661", "1881", ""}, FreePort(), {"127.0.0.1"}, folder);
    TServing serving([&](HANDLE stop) { server.Serve(stop); });
    const proto::TEndpoint at{"127.0.0.1", server.Port()};

    EXPECT_TRUE(proto::RequestReporters(at).empty());  // no folder yet
    const rtl::TStringList first{"[Computer]", "Name=PC-01", ".dotted=1", "."};
    proto::SendReport(at, "PC-01", first);
    proto::SendReport(at, "PC-01", rtl::TStringList{"[Computer]", "Name=PC-01", "second=1"});
    // Names that would be paths, devices or odd text elsewhere.
    const std::string odd[] = {"..\\..\\outside", "C:\\Windows\\x", "a/b:c*d?e", "CON", "NUL.txt", "name with blanks"};
    for (const std::string& name : odd) proto::SendReport(at, name, rtl::TStringList{"x=1"});

    const std::vector<proto::TReporter> listed = proto::RequestReporters(at);
    ASSERT_EQ(listed.size(), 1u + std::size(odd));
    std::vector<std::string> names;
    for (const proto::TReporter& r : listed) {
        names.push_back(r.Computer);
        EXPECT_EQ(r.Time.size(), 19u) << r.Time;  // "YYYY-MM-DD hh:mm:ss"
    }
    for (const std::string& name : odd)
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name << " not in " << ::testing::PrintToString(names);

    // Nothing outside the folder; one file per computer, the latest report in it.
    EXPECT_EQ(FilesIn(root), std::vector<std::string>{"Reports"});
    EXPECT_EQ(FilesIn(folder).size(), listed.size());
    const std::string pc = FileText(folder + "\\" + msvc::ReportFileName("PC-01"));
    EXPECT_NE(pc.find("Computer=PC-01\r\nReceived="), std::string::npos) << pc;
    EXPECT_NE(pc.find("second=1"), std::string::npos);
    EXPECT_EQ(pc.find(".dotted"), std::string::npos);

    // The body keeps lines that begin with the end marker.
    proto::SendReport(at, "dots", first);
    const std::string dots = FileText(folder + "\\" + msvc::ReportFileName("dots"));
    EXPECT_NE(dots.find("Name=PC-01\r\n.dotted=1\r\n.\r\n"), std::string::npos) << dots;

    // Refused with a reason, the server going on.
    struct Refused {
        std::string computer;
        std::size_t lines;
    };
    const Refused refused[] = {{std::string(proto::MaxComputerName + 1, 'n'), 1},
                               {"too-many-lines", proto::MaxBodyLines + 1}};
    for (const Refused& r : refused) {
        rtl::TStringList body;
        for (std::size_t i = 0; i < r.lines; ++i) body.Add("a=b");
        EXPECT_THROW(proto::SendReport(at, r.computer, body), rtl::Exception) << r.computer;
    }
    EXPECT_THROW(proto::RequestInventory(at), rtl::Exception);
    EXPECT_EQ(proto::RequestReporters(at).size(), listed.size() + 1);
    // The install query still answers beside the reports.
    net::TTcpClient client("127.0.0.1", server.Port());
    client.Connect();
    client.WriteLn(proto::InstallRequest());
    EXPECT_EQ(proto::ParseInstallReply(client.ReadLn()).Host, "h");
}

TEST(ServerReports, WithoutAFolderReportsAreRefused)
{
    TInstallServer server({"h", "1991", "1661", "1881", ""}, FreePort(), {"127.0.0.1"});
    TServing serving([&](HANDLE stop) { server.Serve(stop); });
    try {
        proto::SendReport({"127.0.0.1", server.Port()}, "PC", rtl::TStringList{"a=1"});
        ADD_FAILURE() << "a report was taken";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "The server refused the request: This server keeps no reports.");
    }
    EXPECT_TRUE(proto::RequestReporters({"127.0.0.1", server.Port()}).empty());
}

// A server that answers the list of computers with a fixed reply.
class TFixedListSession : public svc::TLineSession {
public:
    explicit TFixedListSession(rtl::TStringList lines) : lines_(std::move(lines)) {}
    TAction OnLine(const std::string&, std::string& reply) override
    {
        svc::AppendReply(reply, lines_);
        return TAction::Close;
    }

private:
    rtl::TStringList lines_;
};

TEST(ServerReports, AListLineThatIsNotUnderstoodIsAnErrorNotAMissingComputer)
{
    const std::string good = proto::FormatReporter({"PC-01", "2026-01-02 03:04:05"});
    struct Case {
        const char* bad;
        const char* shown;
    };
    const Case cases[] = {{"just-one-item", "just-one-item"}, {"", ""}};
    for (const Case& c : cases) {
        svc::TLineServer server({}, [&](const svc::TPeer&) {
            return std::make_unique<TFixedListSession>(rtl::TStringList{good, c.bad, good});
        });
        TServing serving([&](HANDLE stop) { server.Serve(stop); });
        try {
            const auto listed = proto::RequestReporters({"127.0.0.1", server.Port()});
            ADD_FAILURE() << "listed " << listed.size() << " of 3 lines";
        } catch (const proto::EBadReply& e) {
            EXPECT_EQ(e.Message(), std::string("The server's list of computers holds a line that is not understood: ") +
                                       c.shown);
        }
    }
    svc::TLineServer sound({}, [&](const svc::TPeer&) {
        return std::make_unique<TFixedListSession>(rtl::TStringList{good});
    });
    TServing serving([&](HANDLE stop) { sound.Serve(stop); });
    const auto listed = proto::RequestReporters({"127.0.0.1", sound.Port()});
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Computer, "PC-01");
}

TEST(DataService, AnswersTheInventoryAndNothingElse)
{
    std::atomic<int> collected{0};
    TDataServer server(FreePort(), [&] {
        ++collected;
        return rtl::TStringList{"[Computer]", "Name=here", ".odd=1"};
    });
    TServing serving([&](HANDLE stop) { server.Serve(stop); });
    const proto::TEndpoint at{"127.0.0.1", server.Port()};
    EXPECT_EQ(proto::RequestInventory(at).Lines(), (std::vector<std::string>{"[Computer]", "Name=here", ".odd=1"}));
    proto::RequestInventory(at);
    EXPECT_EQ(collected.load(), 1);  // fresh enough to be reused

    struct Case {
        std::string request;
        std::string reply;
    };
    const Case cases[] = {
        {"Hello", "ERROR Unknown request.\r\n"},
        {proto::ReportersRequest(), "ERROR The data service does not answer this request.\r\n"},
        {proto::InstallRequest(), "ERROR The data service does not answer this request.\r\n"},
    };
    for (const Case& c : cases) {
        TRawClient client(server.Port());
        client.Send(c.request + "\r\n");
        EXPECT_EQ(client.ReadToEnd(), c.reply) << c.request;
    }
}

TEST(Agent, ReportsFromTheDataServiceOrCollectsItself)
{
    TInstallServer server({"h", "1991", "1661", "1881", ""}, FreePort(), {"127.0.0.1"}, TempFolder("agent1") + "\\R");
    TServing serving([&](HANDLE stop) { server.Serve(stop); });
    TDataServer data(FreePort(), [] { return rtl::TStringList{"[Computer]", "Name=from-data"}; });
    TServing dataServing([&](HANDLE stop) { data.Serve(stop); });

    agent::TAgentSettings settings;
    settings.Server = {"127.0.0.1", server.Port()};
    settings.DataService = {"127.0.0.1", data.Port()};
    std::string computer = "AGENT-PC";
    rtl::TStringList sent;
    const agent::TReportSources sources{
        [](const proto::TEndpoint& at) { return proto::RequestInventory(at); },
        [] { return rtl::TStringList{"[Computer]", "Name=collected"}; },
        [&] { return computer; },
        [&](const proto::TEndpoint& at, const std::string& name, const rtl::TStringList& inventory) {
            sent = inventory;
            proto::SendReport(at, name, inventory);
        },
    };
    agent::ReportOnce(settings, sources);
    EXPECT_EQ(sent.Values("Name"), "from-data");
    EXPECT_EQ(sent.Values("Source"), "data service");

    settings.DataService.Port = FreePort();  // nobody there
    agent::ReportOnce(settings, sources);
    EXPECT_EQ(sent.Values("Name"), "collected");
    EXPECT_EQ(sent.Values("Source").rfind("agent", 0), 0u) << sent.Values("Source");
    const std::vector<proto::TReporter> listed = proto::RequestReporters(settings.Server);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Computer, "AGENT-PC");
}

TEST(Agent, AServerThatIsDownGetsTheNextReportOnceUp)
{
    const int port = FreePort();
    agent::TAgentSettings settings;
    settings.Server = {"127.0.0.1", port, 2000, 5000};
    settings.DataService = {"127.0.0.1", FreePort(), 500, 500};
    settings.IntervalMs = 300;
    const agent::TReportSources sources{
        [](const proto::TEndpoint& at) { return proto::RequestInventory(at); },
        [] { return rtl::TStringList{"a=1"}; },
        [] { return std::string("LATE-PC"); },
        [](const proto::TEndpoint& at, const std::string& name, const rtl::TStringList& inventory) {
            proto::SendReport(at, name, inventory);
        },
    };
    rtl::KernelHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    rtl::KernelHandle failed(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    rtl::KernelHandle delivered(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> outcomes{0};
    std::thread agentThread([&] {
        agent::RunAgent(settings, sources, stop.get(), [&](const std::string& error) {
            ++outcomes;
            SetEvent(error.empty() ? delivered.get() : failed.get());
        });
    });
    EXPECT_EQ(WaitForSingleObject(failed.get(), 30000), WAIT_OBJECT_0);
    {
        TInstallServer server({"h", "1", "1", "1", ""}, port, {"127.0.0.1"}, TempFolder("agent2") + "\\R");
        TServing serving([&](HANDLE s) { server.Serve(s); });
        EXPECT_EQ(WaitForSingleObject(delivered.get(), 30000), WAIT_OBJECT_0);
        const std::vector<proto::TReporter> listed = proto::RequestReporters(settings.Server);
        ASSERT_FALSE(listed.empty());
        EXPECT_EQ(listed[0].Computer, "LATE-PC");
    }
    SetEvent(stop.get());
    agentThread.join();
    EXPECT_GE(outcomes.load(), 2);
}

TEST(ServerReports, AFullStoreTakesNoNewComputerButKeepsTheKnownOnes)
{
    msvc::TReportStore store(TempFolder("full") + "\\Reports", 2);
    store.Save("A", "127.0.0.1", rtl::TStringList{"n=1"});
    store.Save("B", "127.0.0.1", rtl::TStringList{"n=1"});
    EXPECT_THROW(store.Save("C", "127.0.0.1", rtl::TStringList{"n=1"}), rtl::Exception);
    EXPECT_NO_THROW(store.Save("A", "127.0.0.1", rtl::TStringList{"n=2"}));
    ASSERT_EQ(store.List().size(), 2u);
    EXPECT_EQ(store.List()[0].Computer, "A");
    EXPECT_EQ(store.List()[1].Computer, "B");
}

// Another handle on a report (List() on another thread, a virus scanner, a
// backup) makes the replace fail until it is closed: a new report waits a
// moment for it, and one that never gets through leaves the old one whole.
TEST(ServerReports, AReportHeldOpenIsReplacedOnceLetGoOrKeptWhole)
{
    const std::string folder = TempFolder("held") + "\\Reports";
    msvc::TReportStore store(folder);
    store.Save("PC-01", "127.0.0.1", rtl::TStringList{"n=1"});
    const std::string report = folder + "\\" + msvc::ReportFileName("PC-01");
    const auto holdOpen = [&report] {
        return rtl::FileHandle(CreateFileA(report.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
    };
    {
        const rtl::FileHandle held = holdOpen();
        ASSERT_TRUE(held);
        try {
            store.Save("PC-01", "127.0.0.1", rtl::TStringList{"n=2"});
            ADD_FAILURE() << "replaced a report held open";
        } catch (const rtl::Exception& e) {
            EXPECT_NE(e.Message().find("Cannot replace"), std::string::npos) << e.Message();
        }
    }
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{msvc::ReportFileName("PC-01")});
    EXPECT_NE(FileText(report).find("n=1"), std::string::npos);

    // Held when the report arrives, let go a little after its first try.
    rtl::FileHandle held = holdOpen();
    ASSERT_TRUE(held);
    std::thread release([&] {
        for (int i = 0; i < 2000 && FilesIn(folder).size() < 2; ++i) Sleep(5);  // the new report's own file
        Sleep(100);
        held.reset();
    });
    EXPECT_NO_THROW(store.Save("PC-01", "127.0.0.1", rtl::TStringList{"n=3"}));
    release.join();
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{msvc::ReportFileName("PC-01")});
    EXPECT_NE(FileText(report).find("n=3"), std::string::npos);
}
