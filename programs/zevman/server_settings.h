// What the server application shows of its component record: the network
// and database settings, each with a name a person reads. The password is
// never shown. Pure.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/classes.h"

namespace zevman {

struct TServerSettings {
    std::string Server;  // the server's port, where agents report
    std::vector<std::string> Lines;  // "Server address: 10.0.0.1", one per setting
};

TServerSettings ServerSettings(const rtl::TStringList& record);

}  // namespace zevman
