// The server service's listener: on its TCP port it answers the install query
// ("Install 1.0 {GUID}", one reply line with its network settings, any number
// per connection), takes agents' reports ("Report 1.0 <computer>") and lists
// the computers that reported ("Reporters 1.0"). A line that is no request
// closes the connection without a reply, as the install query always did.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "programs/common/line_server.h"
#include "protocol/install_reply.h"
#include "report_store.h"

class TInstallServer {
public:
    static constexpr std::size_t MaxConnections = 32;
    static constexpr unsigned IdleTimeoutMs = 10000;  // a client that sends nothing in this time is dropped

    // Listens at port on each address (empty: every local address); raises
    // the bind error when the port is taken. Without a report folder, reports
    // are refused.
    TInstallServer(proto::TInstallSettings settings, int port, std::vector<std::string> addresses = {""},
                   std::string reportFolder = std::string());
    TInstallServer(const TInstallServer&) = delete;
    TInstallServer& operator=(const TInstallServer&) = delete;

    int Port() const { return server_->Port(); }

    // Serves until stop is signalled; notices it within a fraction of a second.
    void Serve(HANDLE stop) { server_->Serve(stop); }

    // The reply line for a client that reached us on localAddress (an empty
    // Host is replaced by that address).
    std::string Reply(const std::string& localAddress) const;

private:
    class TSession;

    proto::TInstallSettings settings_;
    std::unique_ptr<msvc::TReportStore> store_;
    std::unique_ptr<svc::TLineServer> server_;
};

// Where the server listens: everywhere when the record names no host, else
// the host's address and the loopback.
std::vector<std::string> ServerAddresses(const std::string& host);
