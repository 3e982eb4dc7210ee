#include "line_server.h"

#include <ws2tcpip.h>

#include <algorithm>

#include "platform/rtl/sysutils.h"
#include "protocol/requests.h"

namespace svc {

namespace {

constexpr std::size_t kMaxPendingReply = 4 * 1024 * 1024;  // beyond what any reply needs

std::string RemoteAddress(SOCKET s)
{
    sockaddr_in addr{};
    int len = sizeof addr;
    char text[INET_ADDRSTRLEN] = {};
    if (getpeername(s, reinterpret_cast<sockaddr*>(&addr), &len) == SOCKET_ERROR ||
        inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text) == nullptr)
        return std::string();
    return text;
}

}  // namespace

struct TLineServer::TConnection {
    net::Socket socket;
    net::TLineReader reader;
    std::unique_ptr<TLineSession> session;
    std::string out;          // reply bytes not yet sent
    bool closing = false;     // nothing more is read or answered
    bool peerDone = false;    // the client has closed its sending side
    bool shut = false;        // our side is closed; waiting for the client to close its side
    unsigned long long opened = 0;
    unsigned long long lastActivity = 0;
};

void AppendLine(std::string& reply, const std::string& line)
{
    reply += line;
    reply += "\r\n";
}

void AppendReply(std::string& reply, const rtl::TStringList& lines)
{
    AppendLine(reply, proto::OkLine);
    for (const std::string& line : proto::FrameBody(lines)) AppendLine(reply, line);
}

TLineServer::TLineServer(TLineServerOptions options, TSessionFactory factory)
    : options_(std::move(options)), factory_(std::move(factory)), session_(net::StartWinsock())
{
    if (options_.Addresses.empty()) throw rtl::Exception("The line server has no address to listen on.");
    // select watches at most FD_SETSIZE sockets, the listeners among them.
    if (options_.Addresses.size() >= FD_SETSIZE) throw rtl::Exception("The line server has too many addresses.");
    options_.MaxClients = std::min<std::size_t>(options_.MaxClients, FD_SETSIZE - options_.Addresses.size());
    port_ = options_.Port;
    for (const std::string& address : options_.Addresses) {
        listeners_.push_back(net::Listen(address, port_));
        port_ = net::LocalPort(listeners_.back().get());
        net::SetNonBlocking(listeners_.back().get(), true);
    }
}

void TLineServer::Accept(SOCKET listener, std::vector<TConnection>& connections, unsigned long long now)
{
    net::Socket s(accept(listener, nullptr, nullptr));
    if (!s) return;
    // One over the limit is let go at once rather than left waiting.
    if (connections.size() >= options_.MaxClients) return;
    u_long nonBlocking = 1;
    if (ioctlsocket(s.get(), FIONBIO, &nonBlocking) != 0) return;
    TConnection c;
    c.reader = net::TLineReader(options_.MaxLineLength);
    try {
        c.session = factory_({net::LocalAddress(s.get()), RemoteAddress(s.get())});
    } catch (const std::exception&) {
        return;  // the connection broke at once, or the session cannot be made: let it go
    }
    c.socket = std::move(s);
    c.opened = now;
    c.lastActivity = now;
    connections.push_back(std::move(c));
}

void TLineServer::Receive(TConnection& c, unsigned long long now)
{
    char buffer[8192];
    const int n = recv(c.socket.get(), buffer, sizeof buffer, 0);
    if (n < 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) c.socket.reset();
        return;
    }
    // A client may end its side right after its request and still wait for
    // the reply: what is owed is sent before we close.
    if (n == 0) {
        c.peerDone = true;
        return;
    }
    c.lastActivity = now;
    // After closing, what arrives is read and dropped, so that the close stays graceful.
    if (c.closing) return;
    c.reader.Feed(buffer, static_cast<std::size_t>(n));
    std::string line;
    while (!c.closing) {
        const auto r = c.reader.TakeLine(line);
        if (r == net::TLineReader::TResult::NeedMore) break;
        if (r == net::TLineReader::TResult::TooLong) {
            c.closing = true;
            break;
        }
        try {
            if (c.session->OnLine(line, c.out) == TLineSession::TAction::Close) c.closing = true;
        } catch (const std::exception&) {
            c.closing = true;  // the session could not answer; the others go on
        }
    }
}

void TLineServer::Serve(HANDLE stop)
{
    std::vector<TConnection> connections;
    while (WaitForSingleObject(stop, 0) != WAIT_OBJECT_0) {
        fd_set readable, writable;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        for (const net::Socket& l : listeners_) FD_SET(l.get(), &readable);
        for (const TConnection& c : connections) {
            // A client that does not read its replies is not read from either.
            if (!c.peerDone && c.out.size() < kMaxPendingReply) FD_SET(c.socket.get(), &readable);
            if (!c.out.empty()) FD_SET(c.socket.get(), &writable);
        }
        timeval tv{0, 200000};
        if (select(0, &readable, &writable, nullptr, &tv) == SOCKET_ERROR) net::RaiseLastSocketError();
        const unsigned long long now = GetTickCount64();

        for (const net::Socket& l : listeners_)
            if (FD_ISSET(l.get(), &readable)) Accept(l.get(), connections, now);

        for (TConnection& c : connections) {
            const SOCKET s = c.socket.get();
            if (s == INVALID_SOCKET) continue;
            if (FD_ISSET(s, &readable)) Receive(c, now);
            if (c.socket && !c.out.empty() && FD_ISSET(s, &writable)) {
                const int n = send(s, c.out.data(), static_cast<int>(c.out.size()), 0);
                if (n > 0) {
                    c.out.erase(0, static_cast<std::size_t>(n));
                    c.lastActivity = now;
                } else if (WSAGetLastError() != WSAEWOULDBLOCK) {
                    c.socket.reset();
                }
            }
            if (c.socket && c.peerDone && c.out.empty()) c.socket.reset();
            // Closing a socket with unread data would reset the connection;
            // ending our side first lets the client see a clean close.
            if (c.socket && c.closing && c.out.empty() && !c.shut) {
                shutdown(s, SD_SEND);
                c.shut = true;
            }
            if (c.socket && (now - c.lastActivity > options_.IdleTimeoutMs ||
                             now - c.opened > options_.ConnectionTimeoutMs))
                c.socket.reset();
        }
        std::erase_if(connections, [](const TConnection& c) { return !c.socket; });
    }
}

}  // namespace svc
