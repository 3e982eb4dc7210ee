// The Win32 handle kinds the programs own.
#pragma once

#include <windows.h>

#include "handle.h"

namespace rtl {

// Handles whose "none" is NULL, closed by the given function.
template <class H, auto Close>
struct NullHandlePolicy {
    using handle_type = H;
    static H invalid() noexcept { return nullptr; }
    static void close(H h) noexcept { Close(h); }
};

// CreateFile reports failure with INVALID_HANDLE_VALUE, not NULL.
struct FilePolicy {
    using handle_type = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { CloseHandle(h); }
};

// FindFirstFile reports failure with INVALID_HANDLE_VALUE and is ended by FindClose.
struct FindPolicy {
    using handle_type = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { FindClose(h); }
};

using RegKey = UniqueHandle<NullHandlePolicy<HKEY, &RegCloseKey>>;
using ScHandle = UniqueHandle<NullHandlePolicy<SC_HANDLE, &CloseServiceHandle>>;
using FileHandle = UniqueHandle<FilePolicy>;
using KernelHandle = UniqueHandle<NullHandlePolicy<HANDLE, &CloseHandle>>;  // processes, threads, events
using Module = UniqueHandle<NullHandlePolicy<HMODULE, &FreeLibrary>>;
using EventSource = UniqueHandle<NullHandlePolicy<HANDLE, &DeregisterEventSource>>;
using FindHandle = UniqueHandle<FindPolicy>;
using LocalMemory = UniqueHandle<NullHandlePolicy<HLOCAL, &LocalFree>>;  // what the system allocates for us

}  // namespace rtl
