#include "host.h"

#include "socket.h"

namespace net {

std::string LocalHostName()
{
    const WinsockSession session = StartWinsock();
    char name[256] = {};
    if (gethostname(name, sizeof name) == SOCKET_ERROR) RaiseLastSocketError();
    return name;
}

std::string HostAddress(const std::string& name)
{
    // Whatever the resolver makes of it (some give the IPv6 loopback only),
    // this name stands for the IPv4 loopback.
    if (rtl::SameText(name, "localhost")) return "127.0.0.1";
    const WinsockSession session = StartWinsock();
    sockaddr_in addr = ResolveIPv4(name, 0, false);
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text) == nullptr) RaiseLastSocketError();
    return text;
}

}  // namespace net
