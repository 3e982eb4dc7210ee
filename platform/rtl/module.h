// The program's own file, and where it loads DLLs from.
#pragma once

#include <windows.h>

#include <string>

namespace rtl {

// DLLs loaded by name come from the system folder only, never from the
// program's own folder (a download or temporary folder others can write to).
// Older systems without the call still start, with the current folder at
// least taken out of the search.
void RestrictDllSearch();

// A DLL of the system folder, loaded by its full path there and kept for the
// process: for DLLs that are no KnownDLLs (version.dll), which a program
// imports by name would be looked for in its own folder first, before it runs.
// Raises EOSError when the DLL cannot be loaded.
HMODULE SystemLibrary(const char* name);

// An entry of a loaded DLL as a function pointer; raises EOSError when missing.
FARPROC ProcAddress(HMODULE module, const char* name);
template <class Fn>
Fn Proc(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(ProcAddress(module, name)));
}

// The full path of the running program's file.
std::string ModulePath();
// The folder of a path (text before its last backslash or slash), "" for none.
std::string FolderOf(const std::string& path);

}  // namespace rtl
