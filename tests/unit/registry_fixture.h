// Helpers for tests that set up registry keys and count the process's handles.
#pragma once

#include <windows.h>

#include <string>

namespace regtest {

inline void SetValue(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
}

inline void SetString(const std::string& path, const std::string& name, const std::string& text)
{
    SetValue(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

inline void CreateKey(const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

inline void DeleteTree(const std::string& path)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

// Raw bytes and type of a value, or false when it is absent.
inline bool ReadValue(const std::string& path, const std::string& name, DWORD& type, std::string& bytes)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LSTATUS st = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (st == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        st = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
    }
    RegCloseKey(key);
    return st == ERROR_SUCCESS;
}

inline bool KeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline DWORD ValueCount(const std::string& path)
{
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return count;
}

// The value the next new handle gets. The system hands out the lowest free
// slot, so a handle left open by the code under test changes it. (The
// process's handle count itself is not kept by every system.)
inline HANDLE NextHandle()
{
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return probe;
}

// True when a handle left open shows in NextHandle; the probe is closed again.
inline bool LeaksShow()
{
    const HANDLE before = NextHandle();
    HANDLE held = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const bool shows = NextHandle() != before;
    CloseHandle(held);
    return shows;
}

}  // namespace regtest
