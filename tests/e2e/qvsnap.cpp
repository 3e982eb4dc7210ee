// A picture of what an installation can change on a machine, to compare
// before and after: the keys and values below HKLM\SOFTWARE and the service
// registrations, the services, and the files below Program Files,
// ProgramData and the public profile.
//
//   qvsnap save FILE
//   qvsnap compare FILE [PATH...]   differences, except for the PATHs named
//   qvsnap copies                   uninstaller copies left in the temporary folder
//
// compare and copies end with 1 and print what they found when there is something.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"

namespace {

using TLines = std::set<std::string>;

std::string Hex(const BYTE* data, DWORD size)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (DWORD i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

void Registry(HKEY root, const std::string& path, TLines& lines)
{
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
    rtl::RegKey key(raw);
    lines.insert("key HKLM\\" + path);
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name, type = 0, size = static_cast<DWORD>(data.size());
        const LONG rc = RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            data.resize(size);
            --i;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        lines.insert("value HKLM\\" + path + "\\" + name + "|" + std::to_string(type) + "|" + Hex(data.data(), size));
    }
    std::vector<std::string> subKeys;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subKeys.emplace_back(name);
    }
    for (const std::string& s : subKeys) Registry(root, path + "\\" + s, lines);
}

void Files(const std::string& folder, TLines& lines)
{
    WIN32_FIND_DATAA found{};
    const rtl::FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return;
    std::vector<std::string> folders;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            lines.insert("dir " + path);
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(path);
        } else {
            lines.insert("file " + path + "|" + std::to_string(found.nFileSizeLow));
        }
    } while (FindNextFileA(find.get(), &found));
    for (const std::string& f : folders) Files(f, lines);
}

void Services(TLines& lines)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE));
    if (!scm) return;
    std::vector<BYTE> buffer(256 * 1024);
    DWORD needed = 0, count = 0, resume = 0;
    EnumServicesStatusA(scm.get(), SERVICE_WIN32, SERVICE_STATE_ALL,
                        reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()), static_cast<DWORD>(buffer.size()),
                        &needed, &count, &resume);
    const auto* services = reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) lines.insert(std::string("service ") + services[i].lpServiceName);
}

std::string Env(const char* name)
{
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA(name, value, sizeof value);
    return value;
}

TLines Snapshot()
{
    TLines lines;
    Registry(HKEY_LOCAL_MACHINE, "SOFTWARE", lines);
    Registry(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services", lines);
    Services(lines);
    for (const std::string& folder : {Env("ProgramFiles"), Env("ProgramData"), Env("PUBLIC")})
        if (!folder.empty()) Files(folder, lines);
    return lines;
}

// The path a line is about: after the kind word, up to the "|" of its data.
std::string PathOf(const std::string& line)
{
    const auto space = line.find(' ');
    const auto bar = line.find('|');
    return line.substr(space + 1, bar == std::string::npos ? std::string::npos : bar - space - 1);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "copies") {
        TLines temp;
        Files(Env("TEMP"), temp);
        int copies = 0;
        for (const std::string& line : temp)
            if (line.find("\\qvuninst-") != std::string::npos && line.find("\\Uninstall.exe|") != std::string::npos) {
                std::printf("left: %s\n", line.c_str());
                ++copies;
            }
        return copies == 0 ? 0 : 1;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: qvsnap save FILE | qvsnap compare FILE [PATH...] | qvsnap copies\n");
        return 2;
    }
    const std::string command = argv[1];
    const TLines now = Snapshot();
    if (command == "save") {
        std::ofstream out(argv[2], std::ios::binary);
        for (const std::string& line : now) out << line << "\n";
        std::printf("%u lines\n", static_cast<unsigned>(now.size()));
        return out ? 0 : 1;
    }
    if (command != "compare") return 2;
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "qvsnap: cannot read %s\n", argv[2]);
        return 2;
    }
    TLines before;
    for (std::string line; std::getline(in, line);) before.insert(line);
    std::vector<std::string> allowed(argv + 3, argv + argc);
    auto isAllowed = [&](const std::string& line) {
        return std::any_of(allowed.begin(), allowed.end(),
                           [&](const std::string& a) { return rtl::SameText(PathOf(line), a); });
    };
    int differences = 0;
    for (const std::string& line : before)
        if (!now.count(line) && !isAllowed(line)) {
            std::printf("gone: %s\n", line.c_str());
            ++differences;
        }
    for (const std::string& line : now)
        if (!before.count(line) && !isAllowed(line)) {
            std::printf("new:  %s\n", line.c_str());
            ++differences;
        }
    std::printf("%d difference(s)\n", differences);
    return differences == 0 ? 0 : 1;
}
