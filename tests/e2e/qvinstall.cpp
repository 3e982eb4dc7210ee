// Lays down an installation the way the setup's run writes it, without the
// wizard: program files and rci.dat, the registry records through the
// setup's writer, the services registered by their own programs and started,
// the shortcuts, and setup.sql.
//
//   qvinstall FOLDER server|agent|user...
//   qvinstall --touch PATH    a file of the user's own, such as a note (and its folder)
//   qvinstall --uninstaller FOLDER   only Uninstall.exe, in a folder of its own
//   qvinstall --move FROM TO  a program file taken away, also while it runs
//   qvinstall --reg KEY NAME TEXT   a string value below HKLM, as another program writes it
//
// The programs are taken from the "product" folder beside this program.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "installation.h"
#include "platform/rtl/handles.h"
#include "platform/rtl/module.h"
#include "query/ucfg.h"
#include "record_fixture.h"
#include "registry/ureg.h"
#include "services/uscm.h"

namespace {

using uninst::kComponents;

struct TFail {
    std::string what;
};

std::string Product(const char* file)
{
    return uninst::FolderOf(rtl::ModulePath()) + "\\product\\" + file;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TFail{"cannot read " + path};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) throw TFail{"cannot write " + path};
}

// Five entries: a 64-bit little-endian length, then the program's bytes.
std::string RciData()
{
    std::string data;
    for (const char* file : {"Uninstall.exe", "dsvc.exe", "uload.exe", "csvc.exe", "zev.exe"}) {
        const std::string bytes = ReadAll(Product(file));
        unsigned long long n = bytes.size();
        for (int i = 0; i < 8; ++i) data.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
        data += bytes;
    }
    return data;
}

void RunAndWait(const std::string& program, const std::string& args)
{
    std::string line = "\"" + program + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi))
        throw TFail{"cannot run " + program};
    rtl::KernelHandle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) throw TFail{program + " did not end"};
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    if (code != 0) throw TFail{program + " " + args + " ended with " + std::to_string(code)};
}

// The shape of each record as the registration writes it.
TRecordShape Shape(const std::string& program)
{
    return {program != "dsvc.exe" && program != "zev.exe", program != "dsvc.exe",
            program == "msvc.exe" || program == "zevman.exe", program == "msvc.exe"};
}

void Shortcut(IShellLinkA* link, const std::string& target, const char* description, const std::string& file)
{
    link->SetPath(target.c_str());
    link->SetDescription(description);
    IPersistFile* persist = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))))
        throw TFail{"no IPersistFile"};
    std::wstring wide(file.begin(), file.end());
    const HRESULT hr = persist->Save(wide.c_str(), TRUE);
    persist->Release();
    if (FAILED(hr)) throw TFail{"cannot save " + file};
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}

void Install(const std::string& folder, bool s, bool a, bool u)
{
    CreateDirectoryA(uninst::FolderOf(folder).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> files;
    if (s) files.insert(files.end(), {"msvc.exe", "zevman.exe", "dbexpmss.dll"});
    if (a || u) files.insert(files.end(), {"dsvc.exe", "uload.exe"});
    if (a) files.push_back("csvc.exe");
    if (u) files.push_back("zev.exe");
    files.push_back("Uninstall.exe");
    for (const std::string& f : files)
        if (!CopyFileA(Product(f.c_str()).c_str(), (folder + "\\" + f).c_str(), FALSE)) throw TFail{"cannot copy " + f};
    if (s) WriteAll(folder + "\\rci.dat", RciData());

    TBskSys vendor(true);
    TZevSys product(false);
    product.Query(&vendor);
    const std::string v = vendor.KeyName();
    ureg::TSetReg reg("SOFTWARE", v, HKEY_LOCAL_MACHINE);
    if (vendor.State() != 1) {
        reg.Add("DisplayName=Brantel Sukma Teknika");
        reg.Add(std::string("Id=") + VendorGuid);
        reg.Write("");
    }
    const std::string productKey = v + "\\" + ProductGuid;
    if (product.State() != 1) {
        reg.SetKey("SOFTWARE", productKey, HKEY_LOCAL_MACHINE);
        reg.Add("DisplayName=quorvane");
        reg.Write("");
    }
    reg.SetKey("SOFTWARE", "Microsoft\\Windows\\CurrentVersion\\Uninstall\\{47F45A1D-BB47-42A4-8DAF-628E428695DC}",
               HKEY_LOCAL_MACHINE);
    for (const std::string& line :
         {std::string("DisplayName=quorvane"), "UninstallString=\"" + folder + "\\Uninstall.exe\"", std::string("Publisher=Brantel Sukma Teknika"),
          "DisplayIcon=" + folder + "\\Uninstall.exe,1", std::string("RegCompany=demo"), std::string("RegOwner=demo")})
        reg.Add(line);
    reg.Write("");
    for (const uninst::TComponentInfo& c : kComponents) {
        const std::string program = c.program;
        const bool chosen = ((program == "msvc.exe" || program == "zevman.exe") && s) ||
                            (program == "dsvc.exe" && (a || u)) || (program == "csvc.exe" && a) ||
                            (program == "zev.exe" && u);
        if (!chosen) continue;
        reg.SetKey("SOFTWARE", productKey + "\\" + c.guid, HKEY_LOCAL_MACHINE);
        AddDefaultRecord(reg, c.displayName, c.guid, folder + "\\" + program, Shape(program));
        reg.Write("Data");
        if (program == "dsvc.exe") {
            reg.SetKey("SOFTWARE", "Microsoft\\Windows\\CurrentVersion\\Run", HKEY_LOCAL_MACHINE);
            reg.Add("quorvanestartupagent=\"" + folder + "\\uload.exe\"");
            reg.Write("");
        }
        if (c.service != nullptr) RunAndWait(folder + "\\" + program, "/install /silent");
    }
    for (const uninst::TComponentInfo& c : kComponents) {
        if (c.service == nullptr) continue;
        const std::string program = folder + "\\" + c.program;
        if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        TSvc service(c.service, GENERIC_ALL);
        const DWORD rc = service.Start();
        if (rc != 0 && rc != ERROR_SERVICE_ALREADY_RUNNING)
            throw TFail{std::string("cannot start ") + c.service + ": " + std::to_string(rc)};
    }
    if (s) WriteAll(folder + "\\setup.sql", "-- quorvane database script\r\n");

    if (!s && !u) return;
    const std::string menu = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\quorvane";
    const std::string desktop = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    CreateDirectoryA(menu.c_str(), nullptr);
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        throw TFail{"no shell link object"};
    try {
        if (s) {
            Shortcut(link, folder + "\\zevman.exe", "manage quorvane", menu + "\\quorvane Enterprise Ridir Control.lnk");
            Shortcut(link, folder + "\\zevman.exe", "manage quorvane", desktop + "\\quorvane Enterprise Ridir Control.lnk");
        }
        if (u) {
            Shortcut(link, folder + "\\zev.exe", "view system information", menu + "\\quorvane Viewer.lnk");
            Shortcut(link, folder + "\\zev.exe", "view system information", desktop + "\\quorvane Viewer.lnk");
        }
        Shortcut(link, folder + "\\Uninstall.exe", "remove/uninstall quorvane", menu + "\\Uninstall quorvane.lnk");
    } catch (...) {
        link->Release();
        throw;
    }
    link->Release();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--touch") {
        try {
            // Its folder too, such as one the programs make when they run.
            const std::string path = argv[2];
            const auto slash = path.find_last_of('\\');
            if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
            WriteAll(path, "the user's own notes\r\n");
            return 0;
        } catch (const TFail& f) {
            std::fprintf(stderr, "qvinstall: %s\n", f.what.c_str());
            return 1;
        }
    }
    if (argc == 5 && std::string(argv[1]) == "--reg") {
        HKEY raw = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, argv[2], 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
            ERROR_SUCCESS)
            return 1;
        rtl::RegKey key(raw);
        const std::string text = argv[4];
        return RegSetValueExA(key.get(), argv[3], 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS
                   ? 0
                   : 1;
    }
    if (argc == 4 && std::string(argv[1]) == "--move") return MoveFileExA(argv[2], argv[3], 0) ? 0 : 1;
    if (argc == 3 && std::string(argv[1]) == "--uninstaller") {
        CreateDirectoryA(argv[2], nullptr);
        const std::string target = std::string(argv[2]) + "\\Uninstall.exe";
        return CopyFileA(Product("Uninstall.exe").c_str(), target.c_str(), FALSE) ? 0 : 1;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: qvinstall FOLDER server|agent|user...\n");
        return 2;
    }
    bool s = false, a = false, u = false;
    for (int i = 2; i < argc; ++i) {
        const std::string w = argv[i];
        if (w == "server") s = true;
        else if (w == "agent") a = true;
        else if (w == "user") u = true;
        else {
            std::fprintf(stderr, "qvinstall: unknown part \"%s\"\n", argv[i]);
            return 2;
        }
    }
    CoInitialize(nullptr);
    int rc = 0;
    try {
        Install(argv[1], s, a, u);
        std::printf("installed in %s\n", argv[1]);
    } catch (const TFail& f) {
        std::fprintf(stderr, "qvinstall: %s\n", f.what.c_str());
        rc = 1;
    }
    CoUninitialize();
    return rc;
}
