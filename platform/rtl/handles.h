// The Win32 handle kinds the programs own.
#pragma once

#include <windows.h>

#include "handle.h"

namespace rtl {

struct RegKeyPolicy {
    using handle_type = HKEY;
    static HKEY invalid() noexcept { return nullptr; }
    static void close(HKEY h) noexcept { RegCloseKey(h); }
};

struct ScHandlePolicy {
    using handle_type = SC_HANDLE;
    static SC_HANDLE invalid() noexcept { return nullptr; }
    static void close(SC_HANDLE h) noexcept { CloseServiceHandle(h); }
};

struct FilePolicy {
    using handle_type = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { CloseHandle(h); }
};

struct KernelPolicy {
    using handle_type = HANDLE;
    static HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE h) noexcept { CloseHandle(h); }
};

struct ModulePolicy {
    using handle_type = HMODULE;
    static HMODULE invalid() noexcept { return nullptr; }
    static void close(HMODULE h) noexcept { FreeLibrary(h); }
};

using RegKey = UniqueHandle<RegKeyPolicy>;
using ScHandle = UniqueHandle<ScHandlePolicy>;
using FileHandle = UniqueHandle<FilePolicy>;      // CreateFile: INVALID_HANDLE_VALUE on failure
using KernelHandle = UniqueHandle<KernelPolicy>;  // processes, threads, events: NULL on failure
using Module = UniqueHandle<ModulePolicy>;

}  // namespace rtl
