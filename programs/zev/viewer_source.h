// Where the Viewer takes this computer's inventory from: the local data
// service on the Data port of the Viewer's component record, or, when that
// cannot be asked or does not answer, its own collection.
#pragma once

#include <string>

#include "platform/rtl/classes.h"

struct TViewerInventory {
    rtl::TStringList Lines;
    bool FromService = false;
    std::string Source;  // one sentence: where the lines come from
    std::string Reason;  // why the service was not used; empty when it was
};

TViewerInventory GetViewerInventory();
