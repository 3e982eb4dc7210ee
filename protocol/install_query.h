// What the connection stage of the wizard asks of the network, one call per
// branch. Every failure raises an rtl::Exception (or a subclass) whose message
// is the text to show; nothing is left bound or connected afterwards.
#pragma once

#include <string>

#include "install_reply.h"

namespace proto {

// Server chosen: converts the four port texts in this order (server, client,
// local, data; rtl::StrToInt, then 1..65535), then binds and listens on host
// at each port (TCP) and releases them all at once. An empty host stands for
// every local address.
void ProbeServerPorts(const std::string& host, const std::string& server, const std::string& client,
                      const std::string& local, const std::string& data);

// Agent chosen: connects to the server program at host and the port text,
// sends the install request, reads one reply line and parses it.
// connectTimeoutMs and readTimeoutMs bound the two waits.
TInstallSettings QueryInstallSettings(const std::string& host, const std::string& port,
                                      unsigned connectTimeoutMs = 10000, unsigned readTimeoutMs = 10000);

// User application only: binds and listens on 127.0.0.1 at the data port.
void ProbeDataPort(const std::string& data);

}  // namespace proto
