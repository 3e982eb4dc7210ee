// How the server keeps agents' reports: one file per computer in its reports
// folder. The file starts with the head lines Computer=, Received= and From=,
// then the inventory as reported. Pure.
#pragma once

#include <string>

#include "platform/rtl/classes.h"

namespace msvc {

// A file name made from whatever a computer calls itself: letters, digits and
// "-" stay, every other byte becomes "_" and two hex digits; the "pc-" prefix
// keeps names like CON or NUL from naming a device. Never a path.
std::string ReportFileName(const std::string& computer);

// The folder beside msvc.exe that holds the reports, and the wildcard of its
// report files. The uninstaller removes what these name, so both take them from here.
extern const char* const ReportFolderName;
extern const char* const ReportFilePattern;

// The temporary file a report is written to before it replaces reportPath:
// its own name per thread and moment.
std::string ReportTempPath(const std::string& reportPath, unsigned long thread, unsigned long long tick);

// Whether a file name is one ReportFileName makes, or a temporary file of one
// left by a write that never finished. Case-insensitive, as file names are.
bool IsReportFile(const std::string& name);
bool IsReportTempFile(const std::string& name);

struct TReportHead {
    std::string Computer;
    std::string Received;  // UTC, "YYYY-MM-DD hh:mm:ss"
    std::string From;      // the agent's address
};

rtl::TStringList FormatReport(const TReportHead& head, const rtl::TStringList& inventory);
// The head of a report file's lines; false when the lines are no report.
bool ParseReportHead(const rtl::TStringList& lines, TReportHead& head);

// "YYYY-MM-DD hh:mm:ss" from its parts.
std::string TimeText(int year, int month, int day, int hour, int minute, int second);

}  // namespace msvc
