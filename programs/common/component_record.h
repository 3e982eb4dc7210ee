// The component record that the setup writes for each installed program: the
// name=value lines of the binary value "Data" of
// HKEY_LOCAL_MACHINE\SOFTWARE\<vendor>\<product>\<component GUID>.
#pragma once

#include <string>

#include "platform/rtl/classes.h"

namespace svc {

// The record's lines. Raises rtl::Exception, naming the key, when the
// vendor key, the component key or its "Data" value cannot be found.
rtl::TStringList ReadComponentRecord(const std::string& componentGuid);

}  // namespace svc
