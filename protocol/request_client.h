// The client side of the programs' requests: one connection per exchange,
// every wait bounded (connect, each line, the whole exchange).
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/sysutils.h"
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

// A reply that arrived whole but does not read as the request's answer.
class EBadReply : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const noexcept override { return "EBadReply"; }
};

rtl::TStringList RequestInventory(const TEndpoint& dataService);
void SendReport(const TEndpoint& server, const std::string& computer, const rtl::TStringList& inventory);
// Raises EBadReply for a line of the list that does not read as a computer and a time.
std::vector<TReporter> RequestReporters(const TEndpoint& server);

}  // namespace proto
