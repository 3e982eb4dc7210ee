// The server side of the install query: on its TCP port the server service
// answers each request line "Install 1.0 {GUID}" with one reply line that
// reports its network settings; any other line closes the connection.
#pragma once

#include <windows.h>

#include "protocol/install_reply.h"
#include "platform/net/socket.h"

class TInstallServer {
public:
    static constexpr int MaxConnections = 32;
    static constexpr unsigned IdleTimeoutMs = 10000;  // a client that sends no line in this time is dropped

    // Listens on every local address at port; raises the bind error when the
    // port is taken.
    TInstallServer(proto::TInstallSettings settings, int port);
    TInstallServer(const TInstallServer&) = delete;
    TInstallServer& operator=(const TInstallServer&) = delete;

    int Port() const { return port_; }

    // Serves until stop is signalled; notices it within a fraction of a second.
    void Serve(HANDLE stop);

    // The reply line for a client connected through socket s (an empty Host
    // is replaced by the address the client reached us on).
    std::string Reply(SOCKET s) const;

private:
    proto::TInstallSettings settings_;
    net::WinsockSession session_;
    net::Socket listener_;
    int port_;
};
