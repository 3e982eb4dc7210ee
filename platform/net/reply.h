// The reply line of the install query: comma-separated name=value items.
// Pure text handling, no Winsock.
#pragma once

#include <string>

#include "platform/rtl/classes.h"

namespace net {

// Splits a comma-separated line into its items. Blanks and control characters
// before an item are skipped; an unquoted item ends at a comma or at the first
// blank or control character; a quoted item may hold anything, a doubled
// quote standing for one quote.
rtl::TStringList SplitItems(const std::string& line);

// One item as it must be written for SplitItems to give it back unchanged:
// enclosed in quotes (inner quotes doubled) when it is empty or holds a comma,
// a quote, a blank or a control character.
std::string QuoteItem(const std::string& item);

// Joins items with commas, each quoted as needed.
std::string JoinItems(const rtl::TStringList& items);

// The five settings the install query reports.
struct TInstallSettings {
    std::string Host;
    std::string Server;
    std::string Data;
    std::string Client;
    std::string Local;
};

// Reads the five settings from a reply line; names match without regard to
// case, the first item of a name wins, an absent name gives an empty value,
// other items are ignored.
TInstallSettings ParseInstallReply(const std::string& line);

// The reply line (without its line end) that reports the given settings.
std::string FormatInstallReply(const TInstallSettings& settings);

// The request line, without its CR LF.
extern const char* const InstallQueryGuid;
std::string InstallRequest();

}  // namespace net
