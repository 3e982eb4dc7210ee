// The service programs register themselves when run with "/install /silent";
// near the end the run asks the service manager to start what they registered.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "programs/common/components.h"
#include "services/uscm.h"
#include "uinstall.h"

void InstallService(const std::string& program, HWND owner)
{
    // Not awaited: the program registers its service while the run goes on.
    const auto result = reinterpret_cast<std::intptr_t>(
        ShellExecuteA(owner, "open", program.c_str(), "/install /silent", nullptr, SW_HIDE));
    if (result <= 32) throw rtl::Exception(rtl::SysErrorMessage(static_cast<unsigned long>(result)));
}

void TInstallRun::StartServices()
{
    Step(TStep::StartServices);
    // Start results are not reported: a service that is not registered yet
    // or already running is left as it is.
    if (Step(TStep::StartServer)) TSvc(svc::ServerServiceName, GENERIC_ALL).Start();
    if (Step(TStep::StartDataRetriever)) {
        TSvc data(svc::DataServiceName, GENERIC_ALL);
        if (data.Start() == 0) InstallService(ProgramPath(input_.Folder, payloads_.StartupAgent->Name), owner_);
    }
    if (Step(TStep::StartAgent)) TSvc(svc::AgentServiceName, GENERIC_ALL).Start();
}
