// Where the running program lies, and where it may load DLLs from.
#pragma once

#include <string>

namespace rtl {

// The full path of the program file of this process, however long.
std::string ModulePath();
// DLLs the program loads by name come from the system folder only, never
// from the folder the program was started from.
void RestrictDllSearch();
// The folder of a path (text before its last backslash or slash), "" for none.
std::string FolderOf(const std::string& path);

}  // namespace rtl
