#include "module.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "sysutils.h"

namespace rtl {

void RestrictDllSearch()
{
    SetDllDirectoryA("");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return;
    const auto proc = GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (proc == nullptr) return;
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(proc));
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE SystemLibrary(const char* name)
{
    char folder[MAX_PATH];
    const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) RaiseLastOSError();
    const std::string path = std::string(folder, n) + "\\" + name;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) RaiseLastOSError();
    return module;
}

FARPROC ProcAddress(HMODULE module, const char* name)
{
    const FARPROC proc = GetProcAddress(module, name);
    if (proc == nullptr) RaiseLastOSError();
    return proc;
}

std::string ModulePath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        // Stops at the longest path the system allows, whatever the call reports.
        if (n < path.size() || path.size() >= 32768)
            return std::string(path.data(), std::min<std::size_t>(n, path.size()));
        path.resize(path.size() * 2);
    }
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace rtl
