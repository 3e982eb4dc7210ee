// The one TCP line server of the programs. Each connection gets a session
// that is handed the received lines one by one and answers with reply text.
// Bounded everywhere: line length, clients at once, silence of a client,
// length of a connection, reply bytes waiting to be sent.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/net/line.h"
#include "platform/net/socket.h"
#include "platform/rtl/classes.h"

namespace svc {

struct TLineServerOptions {
    // Addresses to listen on, each at Port: dotted IPv4 or host names; an
    // empty text is every local address. Port 0 picks a free port (the same
    // one for every address).
    std::vector<std::string> Addresses{"127.0.0.1"};
    int Port = 0;
    std::size_t MaxClients = 16;        // more are accepted and closed at once
    unsigned IdleTimeoutMs = 10000;     // a client silent this long is dropped
    unsigned ConnectionTimeoutMs = 60000;  // no connection lasts longer
    std::size_t MaxLineLength = net::MaxLineLength;  // a longer line closes the connection
};

// What the session learns of its connection.
struct TPeer {
    std::string LocalAddress;   // the address the client reached us on
    std::string RemoteAddress;
};

class TLineSession {
public:
    enum class TAction { Continue, Close };
    virtual ~TLineSession() = default;
    // One received line (without its line end). Appends what is to be sent to
    // reply (CR LF line ends included). Close: the reply is sent, then the
    // connection is closed and nothing more is read from it.
    virtual TAction OnLine(const std::string& line, std::string& reply) = 0;
};

using TSessionFactory = std::function<std::unique_ptr<TLineSession>(const TPeer&)>;

class TLineServer {
public:
    // Listens on every address; raises the bind error when one is taken.
    TLineServer(TLineServerOptions options, TSessionFactory factory);
    TLineServer(const TLineServer&) = delete;
    TLineServer& operator=(const TLineServer&) = delete;

    int Port() const { return port_; }

    // Serves until stop is signalled, noticing it within a fraction of a
    // second. A session that raises has its connection closed; the server
    // goes on.
    void Serve(HANDLE stop);

private:
    struct TConnection;
    void Accept(SOCKET listener, std::vector<TConnection>& connections, unsigned long long now);
    void Receive(TConnection& c, unsigned long long now);

    TLineServerOptions options_;
    TSessionFactory factory_;
    net::WinsockSession session_;
    std::vector<net::Socket> listeners_;
    int port_ = 0;
};

// Appends one line and its CR LF.
void AppendLine(std::string& reply, const std::string& line);
// Appends a whole "OK" reply: the lines, framed, and the end marker.
void AppendReply(std::string& reply, const rtl::TStringList& lines);

}  // namespace svc
