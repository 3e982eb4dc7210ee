// The client side of the programs' requests: one connection per exchange,
// every wait bounded (connect, each line, the whole exchange).
#pragma once

#include <string>
#include <vector>

#include "requests.h"

namespace proto {

struct TEndpoint {
    std::string Host;
    int Port = 0;
    unsigned ConnectTimeoutMs = proto::ConnectTimeoutMs;
    unsigned LineTimeoutMs = proto::LineTimeoutMs;
};

// Sends the request line (and the body, when given), and returns the reply
// lines. An "ERROR" reply raises rtl::Exception with the server's text; a
// broken, silent or oversized reply raises the network layer's errors.
rtl::TStringList Exchange(const TEndpoint& server, const std::string& request, const rtl::TStringList* body = nullptr);

rtl::TStringList RequestInventory(const TEndpoint& dataService);
void SendReport(const TEndpoint& server, const std::string& computer, const rtl::TStringList& inventory);
std::vector<TReporter> RequestReporters(const TEndpoint& server);

}  // namespace proto
