// csvc.exe: the quorvane service SvcClient, the Agent. It reports this
// computer's inventory to the server at start and then at a fixed interval.
#include <memory>

#include "agent.h"
#include "programs/common/component_record.h"
#include "programs/common/components.h"
#include "programs/common/inventory.h"
#include "programs/common/service.h"

namespace {

class TAgentWork : public svc::TServiceWork {
public:
    DWORD Run(HANDLE stop, const std::function<void()>& ready) override
    {
        const agent::TAgentSettings settings = agent::SettingsFromRecord(svc::ReadComponentRecord(svc::AgentGuid));
        const agent::TReportSources sources{
            [](const proto::TEndpoint& data) { return proto::RequestInventory(data); },
            [] { return inv::CollectInventory(); },
            [] { return inv::ComputerName(); },
            [](const proto::TEndpoint& server, const std::string& computer, const rtl::TStringList& inventory) {
                proto::SendReport(server, computer, inventory);
            },
        };
        ready();
        // One event log entry when reports start failing, not one per interval.
        bool failing = false;
        agent::RunAgent(settings, sources, stop, [&](const std::string& error) {
            if (error.empty()) {
                failing = false;
                return;
            }
            if (!failing)
                svc::ReportError(svc::AgentServiceName, "The report to the server " + settings.Server.Host + ":" +
                                                            std::to_string(settings.Server.Port) +
                                                            " failed and is retried at the next interval: " + error);
            failing = true;
        });
        return NO_ERROR;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const svc::TServiceProgram program{
        svc::AgentServiceName,
        "quorvane Agent",
        "The quorvane Agent: reports this computer's inventory to the quorvane server at a fixed interval.",
        [] { return std::make_unique<TAgentWork>(); },
    };
    return svc::ServiceProgramMain(program, argc, argv);
}
