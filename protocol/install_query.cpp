#include "install_query.h"

#include "platform/net/client.h"
#include "platform/net/probe.h"

namespace proto {

void ProbeServerPorts(const std::string& host, const std::string& server, const std::string& client,
                      const std::string& local, const std::string& data)
{
    std::vector<net::TBinding> bindings;
    for (const std::string* port : {&server, &client, &local, &data})
        bindings.push_back({host, net::PortFromText(*port)});
    net::ProbeBindings(bindings);
}

TInstallSettings QueryInstallSettings(const std::string& host, const std::string& port, unsigned connectTimeoutMs,
                                      unsigned readTimeoutMs)
{
    net::TTcpClient tcp(host, net::PortFromText(port));
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
    net::ProbeBindings({{"127.0.0.1", net::PortFromText(data)}});
}

}  // namespace proto
