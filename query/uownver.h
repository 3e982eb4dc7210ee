// Version query: the version resource strings of a program file (by default
// this program) as name=value lines.
#pragma once

#include <string>

#include "uQueryData.h"

// The ten version-string names, in the order their lines appear.
extern const char* const VersionInfoKeys[10];

class TVer : public TQueryData {
public:
    explicit TVer(bool runAtOnce = false);
    const char* ClassName() const override { return "TVer"; }

    int Query() override { return Query(nullptr); }
    // module: a file path, or nullptr for this program's own file.
    int Query(const char* module);
};
