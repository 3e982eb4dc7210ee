// The folder of agents' reports beside msvc.exe.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "protocol/requests.h"
#include "report_file.h"

namespace msvc {

class TReportStore {
public:
    static constexpr std::size_t DefaultMaxComputers = 10000;

    // The folder is made when the first report arrives. Reports of at most
    // maxComputers computers are kept: whoever can reach the port cannot
    // fill the disk with made-up names.
    explicit TReportStore(std::string folder, std::size_t maxComputers = DefaultMaxComputers)
        : folder_(std::move(folder)), maxComputers_(maxComputers)
    {
    }

    const std::string& Folder() const { return folder_; }

    // Keeps the report as the computer's latest: written to a new file in the
    // folder and moved over the old one, so a reader sees the old report or
    // the new one, never half of one. Raises rtl::Exception on failure, and
    // for a new computer when the store is full.
    void Save(const std::string& computer, const std::string& from, const rtl::TStringList& inventory);

    // Every computer with a report, with the time of its last report.
    std::vector<proto::TReporter> List() const;

private:
    // The number of report files, counting no further than limit.
    std::size_t CountReports(std::size_t limit) const;

    std::string folder_;
    std::size_t maxComputers_;
};

// The folder "Reports" beside this program.
std::string DefaultReportFolder();

}  // namespace msvc
