// Puts itself in the place of a program file and runs it there, so that a
// test has that program running: a file the uninstaller finds in use.
//
//   qvrunas PATH     copies itself to PATH, starts it, prints one line once it
//                    runs, and waits for it (at most 120 s)
//
// The started copy runs until the helper ends (or 120 s have passed).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/rtl/handles.h"
#include "platform/rtl/module.h"

namespace {

constexpr DWORD kLimitMs = 120000;

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--until-ended") {
        rtl::KernelHandle helper(OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(argv[2], nullptr, 10)));
        if (helper) WaitForSingleObject(helper.get(), kLimitMs);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: qvrunas PATH\n");
        return 2;
    }
    const std::string path = argv[1];
    if (!CopyFileA(rtl::ModulePath().c_str(), path.c_str(), FALSE)) {
        std::fprintf(stderr, "qvrunas: cannot copy to %s (%lu)\n", path.c_str(), GetLastError());
        return 1;
    }
    std::string line = "\"" + path + "\" --until-ended " + std::to_string(GetCurrentProcessId());
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "qvrunas: cannot start %s (%lu)\n", path.c_str(), GetLastError());
        return 1;
    }
    rtl::KernelHandle process(pi.hProcess), thread(pi.hThread);
    std::printf("running %s\n", path.c_str());
    std::fflush(stdout);
    WaitForSingleObject(process.get(), kLimitMs);
    return 0;
}
