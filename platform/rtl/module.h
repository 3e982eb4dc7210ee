// The program's own file, and where it loads DLLs from.
#pragma once

#include <string>

namespace rtl {

// DLLs loaded by name come from the system folder only, never from the
// program's own folder (a download or temporary folder others can write to).
// Older systems without the call still start, with the current folder at
// least taken out of the search.
void RestrictDllSearch();

// The full path of the running program's file.
std::string ModulePath();
// The folder of a path (text before its last backslash or slash), "" for none.
std::string FolderOf(const std::string& path);

}  // namespace rtl
