// Winsock glue: session and socket owners, the error funnel, address and port
// conversion, and a listening socket.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "errors.h"
#include "platform/rtl/handle.h"

namespace net {

// WSAStartup is counted per call; the owner holds one count.
struct WinsockPolicy {
    using handle_type = int;
    static int invalid() noexcept { return 0; }
    static void close(int) noexcept { WSACleanup(); }
};
using WinsockSession = rtl::UniqueHandle<WinsockPolicy>;

struct SocketPolicy {
    using handle_type = SOCKET;
    static SOCKET invalid() noexcept { return INVALID_SOCKET; }
    static void close(SOCKET s) noexcept { closesocket(s); }
};
using Socket = rtl::UniqueHandle<SocketPolicy>;

// Winsock 2.2 for the owner's lifetime; raises ESocketError when unavailable.
WinsockSession StartWinsock();

// "Socket Error # %d" CR LF and the system's text for code.
std::string SocketErrorText(int code);
[[noreturn]] void RaiseSocketError(int code);
[[noreturn]] void RaiseLastSocketError();
// Bind and listen failures: an address and port taken give the bind text.
[[noreturn]] void RaiseBindError(int code);

// Port text to number: rtl::StrToInt, then 1..65535 (EPortRange otherwise).
int PortFromText(const std::string& text);

// IPv4 socket address of host (dotted address or name) and port. An empty
// host is every local address when forBinding, and refused otherwise.
sockaddr_in ResolveIPv4(const std::string& host, int port, bool forBinding);

// A TCP socket bound with exclusive use of the address and port and put into
// listening. Raises the bind text when someone else holds them.
Socket Listen(const std::string& address, int port);

// The local address of a connected or bound socket, dotted.
std::string LocalAddress(SOCKET s);
int LocalPort(SOCKET s);

// Blocking mode of a socket.
void SetNonBlocking(SOCKET s, bool on);

}  // namespace net
