// The inventory as text: sections "[Name]", each followed by name=value
// lines. A probe that fails leaves its section with one "Error=" line. Pure.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/classes.h"

namespace inv {

struct TSection {
    std::string Name;
    rtl::TStringList Lines;  // name=value

    void Add(const std::string& name, const std::string& value);
};

// A value as it can stand in one line: control characters become blanks,
// blanks at either end are dropped.
std::string CleanValue(const std::string& value);
// A name may hold no "=", no "[" at its start and no control character.
std::string CleanName(const std::string& name);

rtl::TStringList FormatInventory(const std::vector<TSection>& sections);
// Lines before the first section header go to a section with an empty name;
// blank lines are skipped.
std::vector<TSection> ParseInventory(const rtl::TStringList& lines);

// The first section of that name (without regard to case), or nullptr.
const TSection* FindSection(const std::vector<TSection>& sections, const std::string& name);

// Windows 11 still calls itself "Windows 10 ..." in its ProductName; from
// build 22000 on the name says 11, the rest of it kept.
std::string WindowsProductName(const std::string& productName, unsigned long build);

// Sizes in bytes as whole mebibytes, for people and for lines.
std::string MegaBytes(unsigned long long bytes);

}  // namespace inv
