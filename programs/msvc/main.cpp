// msvc.exe: the quorvane server service SvcMaster.
#include <memory>

#include "install_server.h"
#include "platform/rtl/sysutils.h"
#include "programs/common/component_record.h"
#include "programs/common/components.h"
#include "programs/common/record_ports.h"
#include "programs/common/service.h"
#include "report_store.h"

namespace {

const char* const ServiceName = svc::ServerServiceName;

std::unique_ptr<TInstallServer> Listen(const proto::TInstallSettings& settings, int port)
{
    const std::string folder = msvc::DefaultReportFolder();
    try {
        return std::make_unique<TInstallServer>(settings, port, ServerAddresses(settings.Host), folder);
    } catch (const net::ESocketError& e) {
        // The record's host may be a name or an address the agents reach
        // through a router rather than one of ours: serve on every address
        // rather than not at all. A port that is taken stays an error.
        if (settings.Host.empty() || e.ErrorCode() == WSAEADDRINUSE || e.ErrorCode() == WSAEACCES) throw;
        svc::ReportError(ServiceName, "The host " + settings.Host + " of the component record is not an address of "
                                      "this computer (" + e.Message() + "); the service listens on every address.");
        return std::make_unique<TInstallServer>(settings, port, std::vector<std::string>{""}, folder);
    }
}

class TMasterWork : public svc::TServiceWork {
public:
    DWORD Run(HANDLE stop, const std::function<void()>& ready) override
    {
        const rtl::TStringList record = svc::ReadComponentRecord(svc::ServerServiceGuid);
        const proto::TInstallSettings settings = proto::SettingsFromLines(record);
        const int port = svc::RecordPort(record, "Server");
        std::unique_ptr<TInstallServer> server;
        try {
            server = Listen(settings, port);
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
        ServiceName,
        "quorvane Enterprise Server",
        "The quorvane server: tells agent setups its network settings and keeps the agents' latest reports.",
        [] { return std::make_unique<TMasterWork>(); },
    };
    return svc::ServiceProgramMain(program, argc, argv);
}
