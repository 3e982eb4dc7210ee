// Comma-separated items, quoted where needed: the form of the install reply
// and of every list line the programs exchange. Pure text handling.
#pragma once

#include <string>

#include "platform/rtl/classes.h"

namespace proto {

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

}  // namespace proto
