#include "agent.h"

#include <memory>
#include <mutex>

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/thread.h"
#include "programs/common/record_ports.h"

namespace agent {

TAgentSettings SettingsFromRecord(const rtl::TStringList& record)
{
    TAgentSettings s;
    s.Server.Host = record.Values("Host");
    if (s.Server.Host.empty()) throw rtl::Exception("The component record names no server host.");
    s.Server.Port = svc::RecordPort(record, "Server");
    s.DataService.Host = "127.0.0.1";
    s.DataService.Port = svc::RecordPort(record, "Data");
    // The local service answers at once or not at all.
    s.DataService.ConnectTimeoutMs = 2000;
    s.DataService.LineTimeoutMs = 30000;
    int seconds = 0;
    if (rtl::TryStrToInt(record.Values("Interval"), seconds)) {
        if (seconds < static_cast<int>(MinIntervalSeconds)) seconds = MinIntervalSeconds;
        if (seconds > static_cast<int>(MaxIntervalSeconds)) seconds = MaxIntervalSeconds;
        s.IntervalMs = static_cast<unsigned>(seconds) * 1000;
    }
    return s;
}

void ReportOnce(const TAgentSettings& settings, const TReportSources& sources)
{
    rtl::TStringList inventory;
    std::string source = "data service";
    try {
        inventory = sources.FromDataService(settings.DataService);
    } catch (const std::exception& e) {
        inventory = sources.Collect();
        source = std::string("agent (the data service did not answer: ") + e.what() + ")";
    }
    inventory.Add("[Agent]");
    inventory.Add("Source=" + source);
    sources.Send(settings.Server, sources.ComputerName(), inventory);
}

namespace {

// What a report's thread shares with the loop; whoever ends last frees it.
struct TReportRun {
    rtl::KernelHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    rtl::TLock lock;
    std::string error;
};

}  // namespace

void RunAgent(const TAgentSettings& settings, const TReportSources& sources, HANDLE stop,
              const std::function<void(const std::string&)>& onOutcome)
{
    for (;;) {
        const unsigned long long started = GetTickCount64();
        auto run = std::make_shared<TReportRun>();
        if (!run->done) rtl::RaiseLastOSError();
        rtl::StartThread([run, settings, sources] {
            std::string error;
            try {
                ReportOnce(settings, sources);
            } catch (const std::exception& e) {
                error = e.what();
            } catch (...) {
                error = "The report failed.";
            }
            std::lock_guard<rtl::TLock> guard(run->lock);
            run->error = error;
            SetEvent(run->done.get());
        });  // runs on by itself when the loop is stopped

        const HANDLE waits[2] = {stop, run->done.get()};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) return;  // the report is abandoned
        {
            std::lock_guard<rtl::TLock> guard(run->lock);
            onOutcome(run->error);
        }
        // The next report an interval after this one began.
        const unsigned long long spent = GetTickCount64() - started;
        const DWORD wait = spent >= settings.IntervalMs ? 0 : static_cast<DWORD>(settings.IntervalMs - spent);
        if (WaitForSingleObject(stop, wait) == WAIT_OBJECT_0) return;
    }
}

}  // namespace agent
