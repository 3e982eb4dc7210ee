// The folder of agents' reports beside msvc.exe.
#pragma once

#include <string>
#include <vector>

#include "protocol/requests.h"
#include "report_file.h"

namespace msvc {

class TReportStore {
public:
    // The folder is made when the first report arrives.
    explicit TReportStore(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }

    // Keeps the report as the computer's latest: written to a new file in the
    // folder and moved over the old one, so a reader sees the old report or
    // the new one, never half of one. Raises rtl::Exception on failure.
    void Save(const std::string& computer, const std::string& from, const rtl::TStringList& inventory);

    // Every computer with a report, with the time of its last report.
    std::vector<proto::TReporter> List() const;

private:
    std::string folder_;
};

// The folder "Reports" beside this program.
std::string DefaultReportFolder();

}  // namespace msvc
