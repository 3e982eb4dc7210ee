// msvc.exe: the quorvane server service SvcMaster.
#include <memory>

#include "install_server.h"
#include "programs/common/component_record.h"
#include "programs/common/service.h"

namespace {

const char* const ServerServiceGuid = "{75B90253-87A5-4A98-A65D-70539AC4749C}";

class TMasterWork : public svc::TServiceWork {
public:
    DWORD Run(HANDLE stop, const std::function<void()>& ready) override
    {
        const proto::TInstallSettings settings = proto::SettingsFromLines(svc::ReadComponentRecord(ServerServiceGuid));
        int port = 0;
        try {
            port = net::PortFromText(settings.Server);
        } catch (const rtl::Exception& e) {
            throw rtl::Exception("The server port of the component record is not usable: " + e.Message());
        }
        std::unique_ptr<TInstallServer> server;
        try {
            server = std::make_unique<TInstallServer>(settings, port);
        } catch (const rtl::Exception& e) {
            throw rtl::Exception(rtl::Format("Cannot listen on TCP port %d: %s", {static_cast<std::int64_t>(port),
                                                                                   e.Message()}));
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
        "SvcMaster",
        "quorvane Enterprise Server",
        "The quorvane server: tells agent setups the server's network settings on its TCP port.",
        [] { return std::make_unique<TMasterWork>(); },
    };
    return svc::ServiceProgramMain(program, argc, argv);
}
