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
