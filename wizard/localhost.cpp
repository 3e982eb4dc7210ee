#include "localhost.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/rtl/sysutils.h"

namespace {

[[noreturn]] void RaiseSocketError(int code)
{
    throw rtl::Exception(rtl::Format("Socket Error # %d\r\n%s", {static_cast<std::int64_t>(code), rtl::SysErrorMessage(static_cast<unsigned long>(code))}));
}

// Winsock for the length of one lookup.
class TWinsock {
public:
    TWinsock()
    {
        WSADATA data;
        const int rc = WSAStartup(MAKEWORD(2, 2), &data);
        if (rc != 0) RaiseSocketError(rc);
    }
    ~TWinsock() { WSACleanup(); }
    TWinsock(const TWinsock&) = delete;
    TWinsock& operator=(const TWinsock&) = delete;
};

struct TAddrInfoOwner {
    addrinfo* list = nullptr;
    ~TAddrInfoOwner()
    {
        if (list != nullptr) freeaddrinfo(list);
    }
};

}  // namespace

std::string LocalHostName()
{
    TWinsock winsock;
    char name[256] = "";
    if (gethostname(name, sizeof name) != 0) RaiseSocketError(WSAGetLastError());
    return name;
}

std::string ResolveIPv4(const std::string& name)
{
    if (rtl::SameText(name, "localhost")) return "127.0.0.1";
    TWinsock winsock;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    TAddrInfoOwner result;
    const int rc = getaddrinfo(name.c_str(), nullptr, &hints, &result.list);
    if (rc != 0) RaiseSocketError(rc);
    for (const addrinfo* ai = result.list; ai != nullptr; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET) continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(ai->ai_addr);
        char text[INET_ADDRSTRLEN] = "";
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr) return text;
    }
    RaiseSocketError(WSAHOST_NOT_FOUND);
}
