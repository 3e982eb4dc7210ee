// The skeleton of a service program: "/install" and "/uninstall" (each with
// "/silent" for no output), and, started by the service manager, the
// service's work on a thread of its own with its states reported.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace svc {

// What the service does while it runs.
class TServiceWork {
public:
    virtual ~TServiceWork() = default;
    // Runs on the service's worker thread until stop is signalled. Calls ready
    // once it serves; until then the service reports itself starting. Returns
    // the Win32 exit code (0 for a clean end). An exception is reported to the
    // event log and ends the service with a service-specific exit code.
    virtual DWORD Run(HANDLE stop, const std::function<void()>& ready) = 0;
};

struct TServiceProgram {
    std::string Name;         // key name, "SvcMaster"
    std::string DisplayName;  // "quorvane Enterprise Server"
    std::string Description;  // one sentence for the services list and the console
    std::function<std::unique_ptr<TServiceWork>()> CreateWork;
    // Logged-on users may start it too (the Startup Agent starts SvcData at logon).
    bool InteractiveStart = false;
};

// The whole of main(): returns the process exit code (0, or a Win32 error code).
int ServiceProgramMain(const TServiceProgram& program, int argc, char** argv);

// Registers the service (own process, automatic start) with the quoted image
// path; an existing registration of that name is brought up to date. 0 or
// the Win32 error code. When interactive users cannot be let start it, the
// event log says so and the registration stands.
DWORD InstallService(const TServiceProgram& program, const std::string& imagePath);

// Stops the service (waiting at most waitMs for it to stop) and removes it.
DWORD UninstallService(const std::string& name, DWORD waitMs);

// The path in double quotes, so that a path with blanks is one word.
std::string QuotedImagePath(const std::string& path);

// Writes an error to the event log under the service's name, and to the debugger.
void ReportError(const std::string& serviceName, const std::string& text);

}  // namespace svc
