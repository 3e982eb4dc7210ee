// The bind-and-listen probe: proves that this machine can listen on a list of
// addresses and ports, holding them only for that moment.
#pragma once

#include <string>
#include <vector>

namespace net {

struct TBinding {
    std::string Address;  // dotted IPv4 address or host name; empty: all local addresses
    int Port = 0;
};

// Binds and listens on every binding in order (TCP), then releases them all.
// The first binding that fails raises its error; whatever was bound before it
// is released before the error leaves. "Could not bind socket. Address and
// port are already in use." when the port is taken, by another program or by
// an earlier binding of the same list.
void ProbeBindings(const std::vector<TBinding>& bindings);

}  // namespace net
