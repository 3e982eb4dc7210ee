#include "service.h"

#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/rtl/handles.h"
#include "platform/rtl/module.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/thread.h"
#include "service_access.h"

namespace svc {

namespace {

constexpr DWORD kStartWaitMs = 30000;  // longest the work may take to get ready
constexpr DWORD kStopWaitMs = 20000;   // longest the work may take to stop
constexpr DWORD kPollMs = 500;         // pending states report progress this often
constexpr const char* kUnexpectedError = "The service stopped on an unexpected error.";

// The program whose service the dispatcher runs; ServiceMain gets no context.
const TServiceProgram* g_program = nullptr;

// One run of the service, from ServiceMain's start to SERVICE_STOPPED.
class TServiceRun {
public:
    explicit TServiceRun(const TServiceProgram& program) : program_(program) {}

    const TServiceProgram& Program() const { return program_; }
    void SetStatusHandle(SERVICE_STATUS_HANDLE h)
    {
        std::lock_guard<rtl::TLock> guard(lock_);
        statusHandle_ = h;
    }

    void Report(DWORD state, DWORD exitCode = NO_ERROR, DWORD waitHint = 0)
    {
        std::lock_guard<rtl::TLock> guard(lock_);
        // A stop request racing the end of the work must not revive a stopped service.
        if (status_.dwCurrentState == SERVICE_STOPPED) return;
        status_.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
        status_.dwCurrentState = state;
        status_.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
        status_.dwWin32ExitCode = exitCode;
        status_.dwServiceSpecificExitCode = exitCode == ERROR_SERVICE_SPECIFIC_ERROR ? 1 : 0;
        const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
        status_.dwCheckPoint = pending ? status_.dwCheckPoint + 1 : 0;
        status_.dwWaitHint = waitHint;
        SetServiceStatus(statusHandle_, &status_);
    }

    // Another checkpoint of the pending state, so the manager sees progress.
    void Progress()
    {
        DWORD state = 0, hint = 0;
        {
            std::lock_guard<rtl::TLock> guard(lock_);
            state = status_.dwCurrentState;
            hint = status_.dwWaitHint;
        }
        if (state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING) Report(state, NO_ERROR, hint);
    }

    rtl::KernelHandle stop;

private:
    const TServiceProgram& program_;
    SERVICE_STATUS_HANDLE statusHandle_ = nullptr;
    rtl::TLock lock_;
    SERVICE_STATUS status_{};
};

// What the worker thread shares with ServiceMain.
struct TWorker {
    std::unique_ptr<TServiceWork> work;
    HANDLE stop = nullptr;
    rtl::KernelHandle ready;
    DWORD result = NO_ERROR;
    std::string error;
};

DWORD WINAPI WorkerProc(void* parameter)
{
    auto* w = static_cast<TWorker*>(parameter);
    try {
        w->result = w->work->Run(w->stop, [w] { SetEvent(w->ready.get()); });
    } catch (const std::exception& e) {
        w->error = e.what();
        w->result = ERROR_SERVICE_SPECIFIC_ERROR;
    } catch (...) {
        w->error = kUnexpectedError;
        w->result = ERROR_SERVICE_SPECIFIC_ERROR;
    }
    return 0;
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void* context)
{
    auto* run = static_cast<TServiceRun*>(context);
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        run->Report(SERVICE_STOP_PENDING, NO_ERROR, kStopWaitMs);
        SetEvent(run->stop.get());
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

// Waits for handle up to limitMs, reporting progress in between.
bool WaitReporting(TServiceRun& run, HANDLE handle, DWORD limitMs)
{
    for (DWORD waited = 0; waited < limitMs; waited += kPollMs) {
        if (WaitForSingleObject(handle, kPollMs) == WAIT_OBJECT_0) return true;
        run.Progress();
    }
    return false;
}

void RunService(TServiceRun& run)
{
    const TServiceProgram& program = run.Program();
    // The handler sets this event from the moment it is registered.
    run.stop.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const DWORD stopError = run.stop ? NO_ERROR : GetLastError();
    const SERVICE_STATUS_HANDLE status = RegisterServiceCtrlHandlerExA(program.Name.c_str(), Handler, &run);
    if (status == nullptr) {
        ReportError(program.Name, "Could not register the service's control handler: " +
                                      rtl::SysErrorMessage(GetLastError()));
        return;
    }
    run.SetStatusHandle(status);
    if (!run.stop) {
        run.Report(SERVICE_STOPPED, stopError);
        return;
    }
    run.Report(SERVICE_START_PENDING, NO_ERROR, kStartWaitMs);

    // The worker is released, not freed, if it does not end in time: its
    // thread may still use it until the process ends.
    auto worker = std::make_unique<TWorker>();
    worker->ready.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!worker->ready) {
        run.Report(SERVICE_STOPPED, GetLastError());
        return;
    }
    worker->stop = run.stop.get();
    try {
        worker->work = program.CreateWork();
    } catch (const std::exception& e) {
        ReportError(program.Name, e.what());
        run.Report(SERVICE_STOPPED, ERROR_SERVICE_SPECIFIC_ERROR);
        return;
    }
    rtl::KernelHandle thread(CreateThread(nullptr, 0, WorkerProc, worker.get(), 0, nullptr));
    if (!thread) {
        run.Report(SERVICE_STOPPED, GetLastError());
        return;
    }

    // Starting: until the work is ready, ends, or takes too long.
    const HANDLE starting[2] = {worker->ready.get(), thread.get()};
    bool ready = false;
    for (DWORD waited = 0;; waited += kPollMs) {
        const DWORD r = WaitForMultipleObjects(2, starting, FALSE, kPollMs);
        if (r == WAIT_OBJECT_0) {
            ready = true;
            break;
        }
        if (r == WAIT_OBJECT_0 + 1) break;
        if (waited >= kStartWaitMs) {
            ReportError(program.Name, "The service did not get ready in time and is stopped.");
            run.Report(SERVICE_STOP_PENDING, NO_ERROR, kStopWaitMs);
            SetEvent(run.stop.get());
            break;
        }
        run.Progress();
    }

    if (ready) {
        run.Report(SERVICE_RUNNING);
        const HANDLE running[2] = {thread.get(), run.stop.get()};
        WaitForMultipleObjects(2, running, FALSE, INFINITE);
    }
    if (!WaitReporting(run, thread.get(), kStopWaitMs)) {
        ReportError(program.Name, "The service did not stop in time.");
        worker.release();  // still in use by its thread; the process ends next
        run.Report(SERVICE_STOPPED, ERROR_SERVICE_REQUEST_TIMEOUT);
        return;
    }
    if (!worker->error.empty()) ReportError(program.Name, worker->error);
    run.Report(SERVICE_STOPPED, worker->result);
}

void WINAPI ServiceMain(DWORD, char**)
{
    // Lives as long as the process: a control may still reach the handler
    // while this function returns.
    static TServiceRun run(*g_program);
    try {
        RunService(run);
    } catch (const std::exception& e) {
        ReportError(g_program->Name, e.what());
        run.Report(SERVICE_STOPPED, ERROR_SERVICE_SPECIFIC_ERROR);
    } catch (...) {
        ReportError(g_program->Name, kUnexpectedError);
        run.Report(SERVICE_STOPPED, ERROR_SERVICE_SPECIFIC_ERROR);
    }
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsSwitch(const char* arg, const char* name)
{
    return (arg[0] == '/' || arg[0] == '-') && rtl::SameText(arg + 1, name);
}

void PrintAbout(const TServiceProgram& program)
{
    const std::string exe = BaseName(rtl::ModulePath());
    std::printf("%s: %s, the Windows service %s.\n%s\n\n", exe.c_str(), program.DisplayName.c_str(),
                program.Name.c_str(), program.Description.c_str());
    std::printf("  %s /install [/silent]    register the service (starts with Windows)\n", exe.c_str());
    std::printf("  %s /uninstall [/silent]  stop and remove the service\n\n", exe.c_str());
    std::printf("The service manager starts the service; run by itself the program does nothing.\n");
}

void PrintOutcome(const TServiceProgram& program, const char* done, DWORD code)
{
    if (code == NO_ERROR)
        std::printf("Service %s (%s) %s.\n", program.Name.c_str(), program.DisplayName.c_str(), done);
    else
        std::printf("Service %s could not be %s: %s (%lu).\n", program.Name.c_str(), done,
                    rtl::SysErrorMessage(code).c_str(), static_cast<unsigned long>(code));
}

}  // namespace

std::string QuotedImagePath(const std::string& path)
{
    return "\"" + path + "\"";
}

void ReportError(const std::string& serviceName, const std::string& text)
{
    OutputDebugStringA((serviceName + ": " + text + "\n").c_str());
    const rtl::EventSource source(RegisterEventSourceA(nullptr, serviceName.c_str()));
    if (!source) return;
    const char* strings[] = {text.c_str()};
    ReportEventA(source.get(), EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
}

DWORD InstallService(const TServiceProgram& program, const std::string& imagePath)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_CREATE_SERVICE));
    if (!scm) return GetLastError();
    const std::string image = QuotedImagePath(imagePath);
    rtl::ScHandle service(CreateServiceA(scm.get(), program.Name.c_str(), program.DisplayName.c_str(),
                                         SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                         SERVICE_ERROR_NORMAL, image.c_str(), nullptr, nullptr, nullptr, nullptr,
                                         nullptr));
    if (!service) {
        const DWORD error = GetLastError();
        if (error != ERROR_SERVICE_EXISTS) return error;
        // Installed again over an earlier registration: point it at this program.
        service.reset(OpenServiceA(scm.get(), program.Name.c_str(), SERVICE_CHANGE_CONFIG | READ_CONTROL | WRITE_DAC));
        if (!service) return GetLastError();
        if (!ChangeServiceConfigA(service.get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                  image.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                  program.DisplayName.c_str()))
            return GetLastError();
    }
    SERVICE_DESCRIPTIONA description{const_cast<char*>(program.Description.c_str())};
    ChangeServiceConfig2A(service.get(), SERVICE_CONFIG_DESCRIPTION, &description);  // cosmetic only
    // Without it the service still runs from boot; only a start at logon is lost.
    if (program.InteractiveStart) {
        if (const DWORD error = AllowInteractiveStart(service.get()))
            ReportError(program.Name, "Logged-on users could not be allowed to start the service: " +
                                          rtl::SysErrorMessage(error) + " (" + std::to_string(error) + ").");
    }
    return NO_ERROR;
}

DWORD UninstallService(const std::string& name, DWORD waitMs)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!scm) return GetLastError();
    rtl::ScHandle service(OpenServiceA(scm.get(), name.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
    if (!service) return GetLastError();
    SERVICE_STATUS status{};
    if (ControlService(service.get(), SERVICE_CONTROL_STOP, &status) || GetLastError() != ERROR_SERVICE_NOT_ACTIVE) {
        for (DWORD waited = 0; waited < waitMs; waited += 200) {
            if (!QueryServiceStatus(service.get(), &status) || status.dwCurrentState == SERVICE_STOPPED) break;
            Sleep(200);
        }
    }
    if (!DeleteService(service.get())) return GetLastError();
    return NO_ERROR;
}

int ServiceProgramMain(const TServiceProgram& program, int argc, char** argv)
{
    bool install = false, uninstall = false, silent = false, unknown = false;
    for (int i = 1; i < argc; ++i) {
        if (IsSwitch(argv[i], "install")) install = true;
        else if (IsSwitch(argv[i], "uninstall")) uninstall = true;
        else if (IsSwitch(argv[i], "silent")) silent = true;
        else unknown = true;
    }
    if (unknown || (install && uninstall)) {
        if (!silent) PrintAbout(program);
        return ERROR_INVALID_PARAMETER;
    }
    if (install) {
        const DWORD rc = InstallService(program, rtl::ModulePath());
        if (!silent) PrintOutcome(program, "installed", rc);
        return static_cast<int>(rc);
    }
    if (uninstall) {
        const DWORD rc = UninstallService(program.Name, 30000);
        if (!silent) PrintOutcome(program, "removed", rc);
        return static_cast<int>(rc);
    }
    if (silent) return ERROR_INVALID_PARAMETER;

    g_program = &program;
    std::string name = program.Name;
    SERVICE_TABLE_ENTRYA table[] = {{name.data(), ServiceMain}, {nullptr, nullptr}};
    if (StartServiceCtrlDispatcherA(table)) return 0;
    const DWORD error = GetLastError();
    // Started from a console rather than by the service manager.
    PrintAbout(program);
    return static_cast<int>(error);
}

}  // namespace svc
