// The local host name and its IPv4 address, for the wizard's defaults.
#pragma once

#include <string>

// The machine's host name; raises the socket error when there is none.
std::string LocalHostName();

// The dotted IPv4 address a host name resolves to: "localhost" (any case) is
// 127.0.0.1, an address stands for itself, otherwise the resolver's first
// IPv4 address. Raises the socket error when the name does not resolve.
std::string ResolveIPv4(const std::string& name);
