#include "record_ports.h"

#include "platform/net/socket.h"

namespace svc {

int RecordPort(const rtl::TStringList& record, const std::string& name)
{
    try {
        return net::PortFromText(record.Values(name));
    } catch (const rtl::Exception& e) {
        throw rtl::Exception("The " + name + " port of the component record is not usable: " + e.Message());
    }
}


void RaiseListenError(int port, const rtl::Exception& cause)
{
    throw rtl::Exception(rtl::Format("Cannot listen on TCP port %d: %s", {static_cast<std::int64_t>(port),
                                                                           cause.Message()}));
}

}  // namespace svc
