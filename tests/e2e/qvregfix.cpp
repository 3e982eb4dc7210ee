// Writes the registry records that an earlier installation leaves behind, as
// the setup's registration writes them, so that a scenario can start the setup
// on a machine that already holds them.
//
//   qvregfix RECORD|NAME=VALUE...
//
// RECORD: vendor, vendor-id-only (no DisplayName), product, or a component:
// server-service, server-app, data-retriever, agent, viewer. NAME=VALUE sets a
// line of the component records that follow it in place of the default (a
// server service's own settings, say, "Server=21991").
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "query/ucfg.h"
#include "record_fixture.h"
#include "registry/ureg.h"

namespace {

const std::string kFolder = "C:\\Program Files\\Bsk\\quorvane";

struct Component {
    const char* word;
    const char* guid;
    const char* displayName;
    const char* program;
    // which of the connection and database lines the record carries
    bool host, local, database, rdcPath;
};

const Component kComponents[] = {
    {"server-service", "{75B90253-87A5-4A98-A65D-70539AC4749C}", "quorvane Enterprise Server", "msvc.exe", true, true,
     true, true},
    {"server-app", "{A0949F83-5A82-4FFA-83DB-569922E491BE}", "quorvane Enterprise Control", "zevman.exe", true, true,
     true, false},
    {"data-retriever", "{3BB06F16-0F3F-490E-B707-0F596E8F0EE0}", "quorvane Data Retriever", "dsvc.exe", false, false,
     false, false},
    {"agent", "{DF5BAB2F-E50D-4848-8966-68321DA115FE}", "quorvane Agent", "csvc.exe", true, true, false, false},
    {"viewer", "{C19B661D-A0F8-46C5-9CC6-02DCA0E655A7}", "quorvane Viewer", "zev.exe", false, true, false, false},
};

std::string ProductPath()
{
    return std::string(VendorShortKey) + "\\" + ProductGuid;
}

// The writer reports nothing, so the helper looks for what it wrote.
bool Written(const ureg::TSetReg& reg)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, reg.KeyPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool Write(ureg::TSetReg& reg, const std::string& word, const std::vector<std::string>& lines)
{
    if (word == "vendor" || word == "vendor-id-only") {
        reg.SetKey("SOFTWARE", VendorShortKey, HKEY_LOCAL_MACHINE);
        if (word == "vendor") reg.Add("DisplayName=Brantel Sukma Teknika");
        reg.Add(std::string("Id=") + VendorGuid);
        reg.Write("");
        return true;
    }
    if (word == "product") {
        reg.SetKey("SOFTWARE", ProductPath(), HKEY_LOCAL_MACHINE);
        reg.Add("DisplayName=quorvane");
        reg.Write("");
        return true;
    }
    for (const Component& c : kComponents) {
        if (word != c.word) continue;
        reg.SetKey("SOFTWARE", ProductPath() + "\\" + c.guid, HKEY_LOCAL_MACHINE);
        AddDefaultRecord(reg, c.displayName, c.guid, kFolder + "\\" + c.program, {c.host, c.local, c.database, c.rdcPath});
        for (const std::string& line : lines) {
            const std::size_t eq = line.find('=');
            reg.SetValue(line.substr(0, eq), line.substr(eq + 1));
        }
        reg.Write("Data");
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    ureg::TSetReg reg("SOFTWARE", VendorShortKey, HKEY_LOCAL_MACHINE);
    std::vector<std::string> lines;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.find('=') != std::string::npos && word[0] != '=') {
            lines.push_back(word);
            continue;
        }
        if (!Write(reg, argv[i], lines)) {
            std::fprintf(stderr, "qvregfix: unknown record \"%s\"\n", argv[i]);
            return 2;
        }
        if (!Written(reg)) {
            std::fprintf(stderr, "qvregfix: %s not written to HKLM\\%s\n", argv[i], reg.KeyPath().c_str());
            return 1;
        }
    }
    return 0;
}
