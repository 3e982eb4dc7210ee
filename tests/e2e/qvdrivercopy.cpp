// Checks the setup's private copy of the driver library in the temp folder
// (folders "qvsetup-*" holding dbexpmss.dll).
//
//   qvdrivercopy present    one copy is there (the setup is running)
//   qvdrivercopy absent     none is left (the setup has ended)
//
// Exit code 0 when it is so, 1 otherwise (naming what was found).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/handles.h"

namespace {

std::vector<std::string> Copies()
{
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH + 1, temp);
    std::vector<std::string> found;
    if (n == 0 || n > MAX_PATH) return found;
    WIN32_FIND_DATAA data;
    const rtl::FindHandle find(FindFirstFileA((std::string(temp) + "qvsetup-*").c_str(), &data));
    if (!find) return found;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) found.push_back(std::string(temp) + data.cFileName);
    } while (FindNextFileA(find.get(), &data));
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string want = argc == 2 ? argv[1] : "";
    if (want != "present" && want != "absent") {
        std::printf("usage: qvdrivercopy present|absent\n");
        return 2;
    }
    const std::vector<std::string> folders = Copies();
    bool withLibrary = folders.size() == 1 &&
                       GetFileAttributesA((folders[0] + "\\dbexpmss.dll").c_str()) != INVALID_FILE_ATTRIBUTES;
    if (want == "present" ? withLibrary : folders.empty()) return 0;
    std::printf("qvdrivercopy: expected %s; found %zu folder(s)%s\n",
                want == "present" ? "one folder holding dbexpmss.dll" : "no folder", folders.size(),
                folders.size() == 1 && !withLibrary ? " without dbexpmss.dll" : "");
    for (const auto& f : folders) std::printf("    %s\n", f.c_str());
    std::fflush(stdout);
    return 1;
}
