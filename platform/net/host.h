// This machine's host name and name-to-address resolution.
#pragma once

#include <string>

namespace net {

// The local host name, and the dotted IPv4 address a name resolves to (a
// name that already is an address gives itself, "localhost" in any letter
// case 127.0.0.1; otherwise the resolver's first IPv4 address). HostAddress
// raises ESocketError when the name does not resolve.
std::string LocalHostName();
std::string HostAddress(const std::string& name);

}  // namespace net
