// dsvc.exe: the quorvane service SvcData, the Data Retriever. It answers the
// inventory request of this computer's programs on its Data port.
#include <memory>

#include "data_server.h"
#include "platform/rtl/sysutils.h"
#include "programs/common/component_record.h"
#include "programs/common/components.h"
#include "programs/common/inventory.h"
#include "programs/common/record_ports.h"
#include "programs/common/service.h"

namespace {

class TDataWork : public svc::TServiceWork {
public:
    DWORD Run(HANDLE stop, const std::function<void()>& ready) override
    {
        const int port = svc::RecordPort(svc::ReadComponentRecord(svc::DataRetrieverGuid), "Data");
        std::unique_ptr<TDataServer> server;
        try {
            server = std::make_unique<TDataServer>(port, [] { return inv::CollectInventory(); });
        } catch (const rtl::Exception& e) {
            svc::RaiseListenError(port, e);
        }
        ready();
        server->Serve(stop);
        return NO_ERROR;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const svc::TServiceProgram program{
        svc::DataServiceName,
        "quorvane Data Retriever",
        "The quorvane Data Retriever: tells this computer's quorvane programs its hardware and software inventory.",
        [] { return std::make_unique<TDataWork>(); },
        true,  // the Startup Agent starts it as the logged-on user
    };
    return svc::ServiceProgramMain(program, argc, argv);
}
