// uload.exe: the quorvane Startup Agent. Run at logon (the Run value) and by
// the setup with "/install /silent": when the Data Retriever is installed but
// not running it asks the service manager to start it. No window; it ends
// within a bounded time whatever happens.
#include <windows.h>

#include "platform/rtl/handles.h"
#include "programs/common/components.h"

namespace {

constexpr DWORD kWaitMs = 15000;  // longest wait for a starting service to settle
constexpr DWORD kPollMs = 250;

// The current state, or 0 when it cannot be read.
DWORD State(SC_HANDLE service)
{
    SERVICE_STATUS status{};
    return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

// 0 when SvcData runs (or was asked to and is on its way), else an error code.
// A logged-on user may look at the service but may lack the right to start
// it: that right is asked for only when there is something to start.
DWORD EnsureDataServiceRuns()
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!scm) return GetLastError();
    rtl::ScHandle service(OpenServiceA(scm.get(), svc::DataServiceName, SERVICE_QUERY_STATUS));
    if (!service) return GetLastError();  // not installed: nothing to do
    // A service in a pending state settles first; the wait is bounded.
    DWORD state = State(service.get());
    for (DWORD waited = 0; (state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING) && waited < kWaitMs;
         waited += kPollMs) {
        Sleep(kPollMs);
        state = State(service.get());
    }
    if (state != SERVICE_STOPPED) return state == SERVICE_RUNNING || state == SERVICE_START_PENDING ? 0 : ERROR_SERVICE_REQUEST_TIMEOUT;
    rtl::ScHandle starter(OpenServiceA(scm.get(), svc::DataServiceName, SERVICE_START));
    if (!starter) return GetLastError();
    if (!StartServiceA(starter.get(), 0, nullptr)) {
        const DWORD error = GetLastError();
        return error == ERROR_SERVICE_ALREADY_RUNNING ? 0 : error;
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Both the plain start and "/install /silent" do the same; nothing else is read.
    return static_cast<int>(EnsureDataServiceRuns());
}
