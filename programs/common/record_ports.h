// A port setting of a component record, and the error of a listener that
// cannot have its port.
#pragma once

#include <string>

#include "platform/rtl/classes.h"
#include "platform/rtl/sysutils.h"

namespace svc {

// The named line's value as a TCP port; raises rtl::Exception naming the
// setting when it is missing or no port.
int RecordPort(const rtl::TStringList& record, const std::string& name);

// "Cannot listen on TCP port %d: %s", for a listener that could not be made.
[[noreturn]] void RaiseListenError(int port, const rtl::Exception& cause);

}  // namespace svc
