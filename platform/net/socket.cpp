#include "socket.h"

#include <cstdint>

namespace net {

EConnClosedGracefully::EConnClosedGracefully() : Exception("Connection Closed Gracefully.") {}

ELineTooLong::ELineTooLong() : Exception("Max line length exceeded.") {}

EPortRange::EPortRange(const std::string& text)
    : EConvertError(rtl::Format("'%s' is not a valid port: a port is a number from 1 to 65535.", {text}))
{
}

WinsockSession StartWinsock()
{
    WSADATA data{};
    const int rc = WSAStartup(MAKEWORD(2, 2), &data);
    if (rc != 0) RaiseSocketError(rc);
    return WinsockSession(1);
}

namespace {

// Wine has no message text for some Winsock codes; these stand in for the
// system's text only when it gives none.
std::string FallbackText(int code)
{
    switch (code) {
    case WSAEADDRNOTAVAIL: return "The address is not an address of this computer";
    case WSAENETUNREACH: return "The network cannot be reached";
    case WSAEHOSTUNREACH: return "The host cannot be reached";
    case WSAETIMEDOUT: return "The connection attempt timed out";
    case WSAECONNREFUSED: return "The connection was refused";
    case WSAECONNRESET: return "The connection was reset by the peer";
    case WSAHOST_NOT_FOUND: return "No such host is known";
    default: return std::string();
    }
}

}  // namespace

std::string SocketErrorText(int code)
{
    std::string text = rtl::SysErrorMessage(code);
    if (text.empty()) text = FallbackText(code);
    return rtl::Format("Socket Error # %d\r\n%s", {static_cast<std::int64_t>(code), text});
}

void RaiseSocketError(int code)
{
    throw ESocketError(code, SocketErrorText(code));
}

void RaiseLastSocketError()
{
    RaiseSocketError(WSAGetLastError());
}

void RaiseBindError(int code)
{
    // With exclusive use, Windows refuses an address that another socket holds
    // exclusively with WSAEACCES rather than WSAEADDRINUSE (and Wine does so
    // for the same port given twice): both mean the port is taken.
    if (code == WSAEADDRINUSE || code == WSAEACCES) throw ESocketError(code, "Could not bind socket. Address and port are already in use.");
    RaiseSocketError(code);
}

int PortFromText(const std::string& text)
{
    const int port = rtl::StrToInt(text);
    // 0 would bind a port of the system's choosing, and larger numbers would
    // wrap around in the 16-bit field: neither is what the user typed.
    if (port < 1 || port > 65535) throw EPortRange(text);
    return port;
}

namespace {

struct AddrInfoPolicy {
    using handle_type = addrinfo*;
    static addrinfo* invalid() noexcept { return nullptr; }
    static void close(addrinfo* p) noexcept { freeaddrinfo(p); }
};
using AddrInfo = rtl::UniqueHandle<AddrInfoPolicy>;

}  // namespace

sockaddr_in ResolveIPv4(const std::string& host, int port, bool forBinding)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<u_short>(port));
    if (host.empty()) {
        if (!forBinding) throw rtl::Exception("No server address was given.");
        addr.sin_addr.s_addr = htonl(INADDR_ANY);
        return addr;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    AddrInfo found;
    const int rc = getaddrinfo(host.c_str(), nullptr, &hints, found.put());
    if (rc != 0) RaiseSocketError(rc);
    if (!found || found.get()->ai_addr == nullptr) RaiseSocketError(WSAHOST_NOT_FOUND);
    addr.sin_addr = reinterpret_cast<const sockaddr_in*>(found.get()->ai_addr)->sin_addr;
    return addr;
}

Socket Listen(const std::string& address, int port)
{
    const sockaddr_in addr = ResolveIPv4(address, port, true);
    Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s) RaiseLastSocketError();
    // Without exclusive use, Windows lets a bind to one address share a port
    // that another program holds on all addresses; the probe must see that.
    BOOL exclusive = TRUE;
    setsockopt(s.get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    if (bind(s.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == SOCKET_ERROR)
        RaiseBindError(WSAGetLastError());
    if (listen(s.get(), SOMAXCONN) == SOCKET_ERROR) RaiseBindError(WSAGetLastError());
    return s;
}

std::string LocalAddress(SOCKET s)
{
    sockaddr_in addr{};
    int len = sizeof addr;
    if (getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == SOCKET_ERROR) RaiseLastSocketError();
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text) == nullptr) RaiseLastSocketError();
    return text;
}

int LocalPort(SOCKET s)
{
    sockaddr_in addr{};
    int len = sizeof addr;
    if (getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == SOCKET_ERROR) RaiseLastSocketError();
    return ntohs(addr.sin_port);
}

void SetNonBlocking(SOCKET s, bool on)
{
    u_long mode = on ? 1 : 0;
    if (ioctlsocket(s, FIONBIO, &mode) == SOCKET_ERROR) RaiseLastSocketError();
}

}  // namespace net
