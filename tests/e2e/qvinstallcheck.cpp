// Checks from outside what an installation left on the machine; one check
// per run, exit code 0 when it holds, 1 with the reason printed when not.
//
//   qvinstallcheck values KEY NAME...            HKLM\KEY holds exactly these values
//   qvinstallcheck service NAME running|stopped|absent   (waits up to 30 s for it)
//   qvinstallcheck link programs|desktop FILE TARGET DESCRIPTION
//   qvinstallcheck no-link programs|desktop FILE
//   qvinstallcheck same FILE COPY                the two files are byte-equal
//   qvinstallcheck rci RCI PROGRAM...            RCI is each PROGRAM after its 8-byte length
//   qvinstallcheck hold FILE                     creates FILE (and its folder) and keeps it
//                                                open without sharing, as a running program
//                                                does, until ended (at most 5 minutes)
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/ui_handles.h"

namespace {

std::string WindowsPath(std::string path)
{
    if (path.empty() || path[0] != '/') return path;
    path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool ReadAll(const std::string& path, std::string& bytes)
{
    std::ifstream in(WindowsPath(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return true;
}

int Fail(const std::string& reason)
{
    std::printf("qvinstallcheck: %s\n", reason.c_str());
    return 1;
}

int Values(const std::string& key, std::set<std::string> expected)
{
    rtl::RegKey opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS)
        return Fail("no key HKLM\\" + key);
    std::set<std::string> found;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD length = sizeof name;
        if (RegEnumValueA(opened.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        found.insert(name);
    }
    if (found == expected) return 0;
    std::string list;
    for (const auto& n : found) list += " \"" + n + "\"";
    return Fail("HKLM\\" + key + " holds the values" + list);
}

int Service(const std::string& name, const std::string& state)
{
    std::string now;
    for (int i = 0; i < 150; ++i) {
        rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        rtl::ScHandle svc(OpenServiceA(scm.get(), name.c_str(), SERVICE_QUERY_STATUS));
        SERVICE_STATUS status{};
        if (!svc) now = "absent";
        else if (QueryServiceStatus(svc.get(), &status))
            now = status.dwCurrentState == SERVICE_RUNNING ? "running"
                  : status.dwCurrentState == SERVICE_STOPPED ? "stopped"
                                                             : "pending";
        if (now == state) return 0;
        Sleep(200);
    }
    return Fail("service " + name + " is " + now + ", not " + state);
}

std::string LinkPath(const std::string& where, const std::string& file)
{
    char folder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, folder, where == "desktop" ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_COMMON_PROGRAMS,
                            FALSE);
    return std::string(folder) + "\\" + file;
}

int Link(const std::string& path, const std::string& target, const std::string& description)
{
    const std::wstring wide = rtl::Widen(path);
    ui::ComPtr<IShellLinkA> link;
    ui::ComPtr<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.put()))) ||
        FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put()))) ||
        FAILED(persist.get()->Load(wide.c_str(), STGM_READ)))
        return Fail("no shortcut " + path);
    char foundTarget[MAX_PATH] = {}, foundDescription[MAX_PATH] = {};
    link.get()->GetPath(foundTarget, MAX_PATH, nullptr, SLGP_RAWPATH);
    link.get()->GetDescription(foundDescription, MAX_PATH);
    if (target != foundTarget || description != foundDescription)
        return Fail(path + " points at \"" + foundTarget + "\" described \"" + foundDescription + "\"");
    return 0;
}

int Main(const std::vector<std::string>& a)
{
    const std::string& what = a.size() > 1 ? a[1] : std::string();
    if (what == "values" && a.size() >= 3) return Values(a[2], std::set<std::string>(a.begin() + 3, a.end()));
    if (what == "service" && a.size() == 4) return Service(a[2], a[3]);
    if (what == "link" && a.size() == 6) return Link(LinkPath(a[2], a[3]), a[4], a[5]);
    if (what == "no-link" && a.size() == 4) {
        const std::string path = LinkPath(a[2], a[3]);
        return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? 0 : Fail(path + " exists");
    }
    if (what == "same" && a.size() == 4) {
        std::string one, two;
        if (!ReadAll(a[2], one)) return Fail("cannot read " + a[2]);
        if (!ReadAll(a[3], two)) return Fail("cannot read " + a[3]);
        return one == two ? 0 : Fail(a[2] + " differs from " + a[3]);
    }
    if (what == "rci" && a.size() >= 4) {
        std::string rci, expected;
        if (!ReadAll(a[2], rci)) return Fail("cannot read " + a[2]);
        for (std::size_t i = 3; i < a.size(); ++i) {
            std::string program;
            if (!ReadAll(a[i], program)) return Fail("cannot read " + a[i]);
            std::uint64_t n = program.size();
            for (int b = 0; b < 8; ++b) expected += static_cast<char>((n >> (8 * b)) & 0xFF);
            expected += program;
        }
        return rci == expected ? 0 : Fail(a[2] + " (" + std::to_string(rci.size()) + " bytes) is not the programs' " +
                                          std::to_string(expected.size()) + " bytes with their lengths");
    }
    if (what == "hold" && a.size() == 3) {
        const std::string folder = a[2].substr(0, a[2].find_last_of('\\'));
        SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        rtl::FileHandle file(CreateFileA(a[2].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return Fail("cannot create " + a[2] + ": error " + std::to_string(GetLastError()));
        std::printf("holding %s\n", a[2].c_str());
        std::fflush(stdout);
        Sleep(300000);
        return 0;
    }
    std::printf("qvinstallcheck: unknown or incomplete check\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int rc = Main(std::vector<std::string>(argv, argv + argc));
    CoUninitialize();
    return rc;
}
