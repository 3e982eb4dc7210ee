// The install query: its request line and the reply line of comma-separated
// name=value items that reports the server's five network settings. Pure
// text handling, no Winsock.
#pragma once

#include <string>

#include "items.h"

namespace proto {

// The five settings the install query reports.
struct TInstallSettings {
    std::string Host;
    std::string Server;
    std::string Data;
    std::string Client;
    std::string Local;
};

// The five settings from name=value lines: names match without regard to
// case, the first line of a name wins, an absent name gives an empty value,
// other lines are ignored. The server reads its component record this way.
TInstallSettings SettingsFromLines(const rtl::TStringList& lines);

// The five settings from a reply line's items, as SettingsFromLines reads them.
TInstallSettings ParseInstallReply(const std::string& line);

// The reply line (without its line end) that reports the given settings.
std::string FormatInstallReply(const TInstallSettings& settings);

// The request line, without its CR LF.
extern const char* const InstallQueryGuid;
std::string InstallRequest();

}  // namespace proto
