#include "probe.h"

#include "socket.h"

namespace net {

void ProbeBindings(const std::vector<TBinding>& bindings)
{
    const WinsockSession session = StartWinsock();
    std::vector<Socket> listening;
    listening.reserve(bindings.size());
    for (const TBinding& b : bindings) listening.push_back(Listen(b.Address, b.Port));
    // Switched off at once: the owners close every socket here, and on the
    // way out of an error above.
}

}  // namespace net
