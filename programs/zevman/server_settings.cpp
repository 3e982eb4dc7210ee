#include "server_settings.h"

namespace zevman {

namespace {

struct TShown {
    const char* Name;   // in the record
    const char* Label;  // on the screen
};

const TShown kShown[] = {
    {"Host", "Server address"},    {"Server", "Server port"},      {"Client", "Client port"},
    {"Local", "Local port"},       {"Data", "Data port"},          {"HostName", "Database server"},
    {"DataBase", "Database name"}, {"User_Name", "Database login"}, {"Source", "Program"},
};

}  // namespace

std::vector<std::string> ServerSettingLines(const rtl::TStringList& record)
{
    std::vector<std::string> lines;
    for (const TShown& shown : kShown) {
        const bool present = record.IndexOfName(shown.Name) >= 0;
        const std::string value = record.Values(shown.Name);
        lines.push_back(std::string(shown.Label) + ": " + (!present ? "(not recorded)" : value.empty() ? "(empty)" : value));
    }
    return lines;
}

}  // namespace zevman
