// rci.dat on disk: its layout as found, and its five programs written out
// into a folder, for installing an agent on another computer.
#pragma once

#include <string>
#include <vector>

#include "rcidata.h"

namespace rci {

// The layout of the file at path. Raises rtl::Exception when the file cannot
// be opened (missing, locked, no rights).
TLayout ReadFileLayout(const std::string& path);

// The names of the programs that are already in folder.
std::vector<std::string> ExistingPrograms(const std::string& folder);

// Writes each of the five programs to folder (created when missing) under
// its name, each first to a temporary file that then replaces the target, so
// that no target is ever left half-written. The layout is checked again
// first: a damaged file is refused with its problem and nothing is written.
// Raises rtl::Exception naming the file that failed; returns the paths written.
std::vector<std::string> ExportPrograms(const std::string& path, const std::string& folder);

}  // namespace rci
