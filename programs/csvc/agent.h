// The agent's work: at start and then at a fixed interval, this computer's
// inventory is reported to the server.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/rtl/classes.h"
#include "protocol/request_client.h"

namespace agent {

constexpr unsigned DefaultIntervalSeconds = 300;
constexpr unsigned MinIntervalSeconds = 5;
constexpr unsigned MaxIntervalSeconds = 86400;

struct TAgentSettings {
    proto::TEndpoint Server;       // Host:Server of the record
    proto::TEndpoint DataService;  // 127.0.0.1:Data
    unsigned IntervalMs = DefaultIntervalSeconds * 1000;
};

// The settings from the agent's component record (Host, Server, Data, and
// the optional Interval in seconds, kept within its bounds). Raises
// rtl::Exception naming what is missing or wrong.
TAgentSettings SettingsFromRecord(const rtl::TStringList& record);

// One report: the inventory from the data service, or collected here when
// that does not answer; an [Agent] section says which. Raises on failure to
// deliver.
struct TReportSources {
    std::function<rtl::TStringList(const proto::TEndpoint&)> FromDataService;
    std::function<rtl::TStringList()> Collect;
    std::function<std::string()> ComputerName;
    std::function<void(const proto::TEndpoint&, const std::string&, const rtl::TStringList&)> Send;
};
void ReportOnce(const TAgentSettings& settings, const TReportSources& sources);

// Reports at once and then every interval until stop is signalled. A report
// runs on a thread of its own, so that a stop is obeyed within a moment even
// while a server is slow; a failed report is retried at the next
// interval, never sooner. onOutcome hears of every report that ended: an
// empty text for a delivered one, else the error.
void RunAgent(const TAgentSettings& settings, const TReportSources& sources, HANDLE stop,
              const std::function<void(const std::string&)>& onOutcome);

}  // namespace agent
