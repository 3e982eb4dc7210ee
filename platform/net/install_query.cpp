#include "install_query.h"

#include "client.h"
#include "probe.h"

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

void ProbeServerPorts(const std::string& host, const std::string& server, const std::string& client,
                      const std::string& local, const std::string& data)
{
    std::vector<TBinding> bindings;
    for (const std::string* port : {&server, &client, &local, &data}) bindings.push_back({host, PortFromText(*port)});
    ProbeBindings(bindings);
}

TInstallSettings QueryInstallSettings(const std::string& host, const std::string& port, unsigned connectTimeoutMs,
                                      unsigned readTimeoutMs)
{
    TTcpClient tcp(host, PortFromText(port));
    tcp.SetConnectTimeout(connectTimeoutMs);
    tcp.SetReadTimeout(readTimeoutMs);
    tcp.Connect();
    tcp.WriteLn(InstallRequest());
    const std::string reply = tcp.ReadLn();
    tcp.Disconnect();
    return ParseInstallReply(reply);
}

void ProbeDataPort(const std::string& data)
{
    ProbeBindings({{"127.0.0.1", PortFromText(data)}});
}

}  // namespace net
