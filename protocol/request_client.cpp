#include "request_client.h"

#include <windows.h>

#include "platform/net/client.h"
#include "platform/rtl/sysutils.h"

namespace proto {

rtl::TStringList Exchange(const TEndpoint& server, const std::string& request, const rtl::TStringList* body)
{
    const unsigned long long deadline = GetTickCount64() + ExchangeTimeoutMs;
    net::TTcpClient tcp(server.Host, server.Port);
    tcp.SetConnectTimeout(server.ConnectTimeoutMs);
    tcp.SetReadTimeout(server.LineTimeoutMs);
    tcp.Connect();
    tcp.WriteLn(request);
    if (body != nullptr)
        for (const std::string& line : FrameBody(*body)) tcp.WriteLn(line);

    const std::string status = tcp.ReadLn();
    std::string error;
    if (ParseErrorReply(status, error)) throw rtl::Exception("The server refused the request: " + error);
    if (status != OkLine) throw rtl::Exception("The server's reply is not understood: " + status.substr(0, 200));
    TBodyReader reader;
    for (;;) {
        if (GetTickCount64() > deadline)
            throw net::ETimedOut(rtl::Format("The reply did not end within %d seconds.",
                                             {static_cast<std::int64_t>(ExchangeTimeoutMs / 1000)}));
        const auto r = reader.Add(tcp.ReadLn());
        if (r == TBodyReader::TResult::Done) break;
        if (r == TBodyReader::TResult::TooBig) throw rtl::Exception("The reply is larger than allowed.");
    }
    tcp.Disconnect();
    return reader.Body();
}

rtl::TStringList RequestInventory(const TEndpoint& dataService)
{
    return Exchange(dataService, InventoryRequest());
}

void SendReport(const TEndpoint& server, const std::string& computer, const rtl::TStringList& inventory)
{
    Exchange(server, ReportRequest(computer), &inventory);
}

std::vector<TReporter> RequestReporters(const TEndpoint& server)
{
    std::vector<TReporter> reporters;
    for (const std::string& line : Exchange(server, ReportersRequest())) {
        TReporter r;
        if (ParseReporter(line, r)) reporters.push_back(std::move(r));
    }
    return reporters;
}

}  // namespace proto
