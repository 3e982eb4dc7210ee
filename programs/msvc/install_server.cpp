#include "install_server.h"

#include <vector>

#include "platform/net/line.h"

namespace {

constexpr std::size_t MaxPendingReply = 65536;

struct TConnection {
    net::Socket socket;
    net::TLineReader reader;
    std::string out;          // reply bytes not yet sent
    bool closing = false;     // no more requests are answered
    bool peerDone = false;    // the client has closed its sending side
    bool shut = false;        // our side is closed; waiting for the client to close its side
    unsigned long long lastActivity = 0;
};

}  // namespace

TInstallServer::TInstallServer(proto::TInstallSettings settings, int port)
    : settings_(std::move(settings)), session_(net::StartWinsock()), listener_(net::Listen("", port)),
      port_(net::LocalPort(listener_.get()))
{
    net::SetNonBlocking(listener_.get(), true);
}

std::string TInstallServer::Reply(SOCKET s) const
{
    proto::TInstallSettings reported = settings_;
    // Installed for all addresses the record has no Host; the address the
    // agent reached us on is one it can reach again.
    if (reported.Host.empty()) reported.Host = net::LocalAddress(s);
    return proto::FormatInstallReply(reported);
}

void TInstallServer::Serve(HANDLE stop)
{
    const std::string request = proto::InstallRequest();
    std::vector<TConnection> connections;
    while (WaitForSingleObject(stop, 0) != WAIT_OBJECT_0) {
        fd_set readable, writable;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        if (connections.size() < MaxConnections) FD_SET(listener_.get(), &readable);
        for (const TConnection& c : connections) {
            // A client that does not read its replies is not read from either.
            if (!c.peerDone && c.out.size() < MaxPendingReply) FD_SET(c.socket.get(), &readable);
            if (!c.out.empty()) FD_SET(c.socket.get(), &writable);
        }
        timeval tv{0, 200000};
        if (select(0, &readable, &writable, nullptr, &tv) == SOCKET_ERROR) net::RaiseLastSocketError();
        const unsigned long long now = GetTickCount64();

        if (FD_ISSET(listener_.get(), &readable)) {
            net::Socket s(accept(listener_.get(), nullptr, nullptr));
            u_long nonBlocking = 1;
            if (s && ioctlsocket(s.get(), FIONBIO, &nonBlocking) == 0) {
                TConnection c;
                c.socket = std::move(s);
                c.lastActivity = now;
                connections.push_back(std::move(c));
            }
        }

        for (TConnection& c : connections) {
            const SOCKET s = c.socket.get();
            if (FD_ISSET(s, &readable)) {
                char buffer[4096];
                const int n = recv(s, buffer, sizeof buffer, 0);
                if (n < 0) {
                    if (WSAGetLastError() != WSAEWOULDBLOCK) c.socket.reset();
                    continue;
                }
                // A client may end its side right after its request and still
                // wait for the reply: what is owed is sent before we close.
                if (n == 0) c.peerDone = true;
                else c.lastActivity = now;
                // After closing, what arrives is read and dropped, so that the close stays graceful.
                if (n > 0 && !c.closing) {
                    c.reader.Feed(buffer, static_cast<std::size_t>(n));
                    std::string line;
                    for (;;) {
                        const auto r = c.reader.TakeLine(line);
                        if (r == net::TLineReader::TResult::NeedMore) break;
                        if (r == net::TLineReader::TResult::Line && line == request) {
                            try {
                                c.out += Reply(s) + "\r\n";
                                continue;
                            } catch (const net::ESocketError&) {
                                // The connection broke while we looked at it: it is closed below.
                            }
                        }
                        c.closing = true;  // anything else, or a line too long
                        break;
                    }
                }
            }
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
            if (c.socket && now - c.lastActivity > IdleTimeoutMs) c.socket.reset();
        }
        std::erase_if(connections, [](const TConnection& c) { return !c.socket; });
    }
}
