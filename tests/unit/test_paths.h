// Where the test programs find the fixtures built beside them, and where an
// installation goes on this prefix.
#pragma once

#include <windows.h>

#include <string>

#include "platform/rtl/module.h"

inline std::string TestBinDir()
{
    const std::string dir = rtl::ModulePath();
    return dir.substr(0, dir.find_last_of('\\'));
}

inline std::string FixturePath(const std::string& file)
{
    return TestBinDir() + "\\" + file;
}

// The product folder a setup installs to by default. Program Files differs
// between a 32-bit prefix and a 32-bit program in a 64-bit one ("(x86)"), so
// it comes from the system.
inline std::string DefaultProductFolder()
{
    char dir[MAX_PATH] = "";
    const DWORD n = GetEnvironmentVariableA("ProgramFiles", dir, MAX_PATH);
    return std::string(dir, n < MAX_PATH ? n : 0) + "\\Bsk\\quorvane";
}
