// Where the test programs find the fixtures built beside them.
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
