// Where the test programs find the fixtures built beside them.
#pragma once

#include <windows.h>

#include <string>

inline std::string TestBinDir()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\'));
}

inline std::string FixturePath(const std::string& file)
{
    return TestBinDir() + "\\" + file;
}
