// The installation engine run whole against this prefix, with a recording
// status sink and no pauses: what it shows, what it writes, and where it
// stops when something is in its way.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/rtl/files.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/ui_handles.h"
#include "query/uownver.h"
#include "registry/ureg.h"
#include "registry_fixture.h"
#include "unofileversion.h"
#include "wizard/uinstall.h"

namespace {

const std::string Product = "SOFTWARE\\Bsk\\{A7C3B7DF-D3B6-4F34-A057-05CED05E35B1}";
const std::string UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{47F45A1D-BB47-42A4-8DAF-628E428695DC}";

class Recorder : public IInstallStatus {
public:
    void ShowStep(const std::string& text) override { steps.push_back(text); }
    void ShowDatabaseError(const std::string& message) override { errors.push_back(message); }
    std::vector<std::string> steps, errors;
};

std::string TempFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "qv run " + std::to_string(GetCurrentProcessId()) + "\\" + name;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Bytes(const TPayloadRecord& r)
{
    return std::string(reinterpret_cast<const char*>(r.Data), r.Size);
}

std::string RegText(const std::string& key, const std::string& name)
{
    DWORD type = 0;
    std::string bytes;
    if (!regtest::ReadValue(key, name, type, bytes)) return "<absent>";
    if (type == REG_SZ && !bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

std::string Special(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}

// A shortcut's target and description, read back through the shell.
std::pair<std::string, std::string> Link(const std::string& file)
{
    ui::ComPtr<IShellLinkA> link;
    ui::ComPtr<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.put()))) ||
        FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put()))) ||
        FAILED(persist.get()->Load(rtl::Widen(file).c_str(), STGM_READ)))
        return {"<no link>", ""};
    char target[MAX_PATH] = {}, description[MAX_PATH] = {};
    link.get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link.get()->GetDescription(description, MAX_PATH);
    return {target, description};
}

bool ServiceRegistered(const char* name)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    for (int i = 0; i < 150; ++i) {  // the programs register themselves a moment later
        if (rtl::ScHandle(OpenServiceA(scm.get(), name, SERVICE_QUERY_STATUS))) return true;
        Sleep(200);
    }
    return false;
}

class InstallRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    // Runs the engine; returns the message it ended with ("" for success).
    std::string Run(const TInstallInput& input, const TPayloadSet& payloads = TPayloadSet::Carried())
    {
        try {
            TInstallRun(input, sqlc, status, nullptr, payloads).Execute();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    dbx::TSQLConnection sqlc;  // no driver attached: connecting fails as a database error
    Recorder status;
};

TInstallInput Input(bool s, bool a, bool u, const std::string& folder)
{
    TInstallInput in;
    in.Server = s, in.Agent = a, in.UserApp = u;
    in.Folder = folder;
    in.Settings = {"127.0.0.1", "1991", "1881", "", "1661", "dbhost", "zpprf", "ontzuq", "tovendu"};
    return in;
}

TEST_F(InstallRun, ServerAndUserApplicationFromStartToEnd)
{
    TInstallInput in = Input(true, false, true, TempFolder("Program Files\\quorvane"));
    in.Create = true;
    in.Script = true;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(Run(in), "");
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    std::printf("engine run without pauses: %lld ms for %zu status steps\n", static_cast<long long>(ms),
                status.steps.size());

    // Every step in order; the failed connection ends the statements early.
    std::vector<std::string> expected = PlanSteps(in, {false, false});
    std::erase_if(expected, [](const std::string& t) {
        return t == "Creating database" || t == "Adding login" || t == "Adding database objects";
    });
    EXPECT_EQ(status.steps, expected);
    ASSERT_EQ(status.errors.size(), 1u);
    EXPECT_NE(status.errors[0].find("Unable to Load"), std::string::npos) << status.errors[0];

    const TPayloadSet p = TPayloadSet::Carried();
    for (const TPayloadRecord* r : {p.Server, p.ServerApp, p.Driver, p.DataRetriever, p.StartupAgent, p.Viewer,
                                    p.Uninstaller})
        EXPECT_TRUE(ReadAll(ProgramPath(in.Folder, r->Name)) == Bytes(*r)) << r->Name;
    EXPECT_EQ(GetFileAttributesA(ProgramPath(in.Folder, "csvc.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    std::string rci;
    for (const TPayloadRecord* r : {p.Uninstaller, p.DataRetriever, p.StartupAgent, p.Agent, p.Viewer}) {
        const auto field = RciLengthField(r->Size);
        rci.append(reinterpret_cast<const char*>(field.data()), field.size());
        rci += Bytes(*r);
    }
    EXPECT_TRUE(ReadAll(ProgramPath(in.Folder, "rci.dat")) == rci);
    EXPECT_NE(ReadAll(ProgramPath(in.Folder, "setup.sql")).find("GO\r\n"), std::string::npos);

    EXPECT_EQ(RegText("SOFTWARE\\Bsk", "DisplayName"), "Brantel Sukma Teknika");
    EXPECT_EQ(RegText("SOFTWARE\\Bsk", "Id"), "{9FCBC283-05D1-4C66-97AD-7616C7EB6D99}");
    EXPECT_EQ(RegText(Product, "DisplayName"), "quorvane");
    const std::string uninstaller = ProgramPath(in.Folder, "Uninstall.exe");
    EXPECT_EQ(RegText(UninstallKey, "DisplayName"), "quorvane");
    EXPECT_EQ(RegText(UninstallKey, "UninstallString"), QuotedProgramPath(in.Folder, "Uninstall.exe"));
    EXPECT_EQ(RegText(UninstallKey, "Publisher"), "Brantel Sukma Teknika");
    EXPECT_EQ(RegText(UninstallKey, "DisplayIcon"), uninstaller + ",1");
    EXPECT_EQ(RegText(UninstallKey, "RegCompany"), "demo");
    EXPECT_EQ(RegText(UninstallKey, "RegOwner"), "demo");
    EXPECT_EQ(RegText("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "quorvanestartupagent"),
              QuotedProgramPath(in.Folder, "uload.exe"));

    // Each component key holds only Data: its record with the program's own versions.
    for (TComponent c : {TComponent::ServerService, TComponent::ServerApp, TComponent::DataRetriever,
                         TComponent::Viewer}) {
        const std::string key = Product + "\\" + ComponentGuid(c);
        EXPECT_EQ(regtest::ValueCount(key), 1u) << key;
        TVer version(false);
        version.Query(ProgramPath(in.Folder, ComponentProgram(c)).c_str());
        TVer uninstall(false);
        uninstall.Query(uninstaller.c_str());
        ureg::TSetReg record("", "", HKEY_LOCAL_MACHINE);
        for (const auto& line : ComponentRecord(c, "FileVersion=" + version.List().Values("FileVersion"),
                                                "ProductVersion=" + version.List().Values("ProductVersion"),
                                                uninstall.List().Values("FileVersion"), in.Folder, in.Settings))
            record.Add(line);
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(regtest::ReadValue(key, "Data", type, data)) << key;
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(data, record.BinaryForm()) << key;
    }
    EXPECT_FALSE(regtest::KeyExists(Product + "\\" + ComponentGuid(TComponent::Agent)));

    const std::string menu = Special(CSIDL_COMMON_PROGRAMS) + "\\quorvane\\";
    const std::string desktop = Special(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\";
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(Link(menu + "quorvane Enterprise Ridir Control.lnk"),
              Pair(ProgramPath(in.Folder, "zevman.exe"), "manage quorvane"));
    EXPECT_EQ(Link(menu + "quorvane Viewer.lnk"), Pair(ProgramPath(in.Folder, "zev.exe"), "view system information"));
    EXPECT_EQ(Link(menu + "Uninstall quorvane.lnk"), Pair(uninstaller, "remove/uninstall quorvane"));
    EXPECT_EQ(Link(desktop + "quorvane Enterprise Ridir Control.lnk").first, ProgramPath(in.Folder, "zevman.exe"));
    EXPECT_EQ(Link(desktop + "quorvane Viewer.lnk").first, ProgramPath(in.Folder, "zev.exe"));
    EXPECT_EQ(GetFileAttributesA((desktop + "Uninstall quorvane.lnk").c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(ServiceRegistered("SvcMaster"));
    EXPECT_TRUE(ServiceRegistered("SvcData"));

    // A second run finds vendor and product and leaves their steps out.
    status.steps.clear();
    const TInstallInput again = Input(false, false, true, TempFolder("again"));
    ASSERT_EQ(Run(again), "");
    EXPECT_EQ(status.steps, PlanSteps(again, {true, true}));
}

struct FailureCase {
    const char* name;
    std::string folder;
    bool lock;                  // hold zev.exe open in the folder
    bool noFileVersion;         // the viewer's program lacks FileVersion
    std::string messageStart;
    std::string lastStep;
};

TEST_F(InstallRun, StopsAtTheFirstErrorWithItsMessage)
{
    const std::string locked = TempFolder("locked");
    const std::string noVersion = TempFolder("no version");
    const std::vector<FailureCase> cases = {
        {"drive that does not exist", "Q:\\quorvane", false, false, "System Error.  Code: ", "Creating folder"},
        {"folder that is not a full path", "quorvane", false, false, "The destination folder \"quorvane\" is not a full path",
         "Creating folder"},
        {"file locked by a running program", locked, true, false,
         "Cannot create file \"" + locked + "\\zev.exe\". ", "Extracting quorvane Viewer file"},
        {"program without FileVersion", noVersion, false, true, "List index out of bounds (-1)",
         "Registering quorvane Viewer"},
    };
    for (const FailureCase& c : cases) {
        status.steps.clear();
        rtl::FileHandle held;
        if (c.lock) {
            ASSERT_TRUE(rtl::ForceDirectories(c.folder));
            held.reset(CreateFileA(ProgramPath(c.folder, "zev.exe").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                   nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(held) << c.name;
        }
        TPayloadSet payloads = TPayloadSet::Carried();
        if (c.noFileVersion) payloads.Viewer = &TNoFileVersion;
        const std::string message = Run(Input(false, false, true, c.folder), payloads);
        EXPECT_EQ(message.rfind(c.messageStart, 0), 0u) << c.name << ": " << message;
        ASSERT_FALSE(status.steps.empty()) << c.name;
        EXPECT_EQ(status.steps.back(), c.lastStep) << c.name;
        if (c.lastStep == "Creating folder") {
            EXPECT_EQ(GetFileAttributesA(c.folder.c_str()), INVALID_FILE_ATTRIBUTES) << c.name;
        }
    }
}

TEST(Extraction, ErrorsNameTheFile)
{
    const std::string missing = TempFolder("missing\\deeper");
    try {
        ExtractPayload(missing, TNoFileVersion);
        FAIL() << "no error";
    } catch (const rtl::EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"" + missing + "\\zev.exe\". ", 0), 0u) << e.Message();
    }
    // A full disk: the write fails (or comes up short) and says which file.
    rtl::FileHandle full(CreateFileA("Z:\\dev\\full", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(full);
    try {
        rtl::WriteWhole(full.get(), TNoFileVersion.Data, TNoFileVersion.Size, "X:\\zev.exe");
        FAIL() << "no error";
    } catch (const rtl::EWriteError& e) {
        EXPECT_EQ(e.Message(), "Cannot write file \"X:\\zev.exe\". " + rtl::SysErrorMessage(ERROR_DISK_FULL));
    }
}

TEST(ServiceInstallation, AProgramTheShellCannotStartIsAnError)
{
    const std::string missing = TempFolder("nowhere\\msvc.exe");
    try {
        InstallService(missing, nullptr);
        FAIL() << "no error";
    } catch (const rtl::Exception& e) {
        // The shell's result for a missing file is the system's code 2.
        EXPECT_EQ(e.Message(), rtl::SysErrorMessage(ERROR_FILE_NOT_FOUND));
    }
}

struct TShortWriteJob {
    HANDLE pipe;
    std::string message;
};

// A thread procedure: WINAPI, which a lambda is not on 32-bit.
DWORD WINAPI WriteIntoPipe(void* p)
{
    auto* j = static_cast<TShortWriteJob*>(p);
    try {
        rtl::WriteWhole(j->pipe, TNoFileVersion.Data, TNoFileVersion.Size, "X:\\zev.exe");
    } catch (const rtl::EWriteError& e) {
        j->message = e.Message();
    }
    return 0;
}

// A pipe that takes no more than its buffer at once stands in for a disk
// that fills up part way through a write.
TEST(Extraction, ShortWriteIsAnErrorNamingTheFile)
{
    const char* name = "\\\\.\\pipe\\qv-short-write";
    rtl::FileHandle server(CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 512, 512, 0,
                                            nullptr));
    ASSERT_TRUE(server) << GetLastError();
    rtl::FileHandle client(CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(client) << GetLastError();
    TShortWriteJob job{server.get(), ""};
    rtl::KernelHandle thread(CreateThread(nullptr, 0, WriteIntoPipe, &job, 0, nullptr));
    ASSERT_TRUE(thread);
    // Should the system make the write wait instead, the reader goes away
    // and the write ends as a failure; either way the wait is bounded.
    if (WaitForSingleObject(thread.get(), 10000) == WAIT_TIMEOUT) client.reset();
    ASSERT_EQ(WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(job.message, "Cannot write file \"X:\\zev.exe\". " + rtl::SysErrorMessage(ERROR_DISK_FULL));
}

}  // namespace
