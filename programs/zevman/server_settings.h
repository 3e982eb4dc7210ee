// What the server application shows of its component record: the network
// and database settings, each with a name a person reads. The password is
// never shown. Pure.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/classes.h"

namespace zevman {

// One line per setting: "Server address: 10.0.0.1".
std::vector<std::string> ServerSettingLines(const rtl::TStringList& record);

}  // namespace zevman
