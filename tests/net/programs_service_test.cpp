// The product's services for real, in a fresh prefix: installed the way the
// setup does it, configured through their component records, started by the
// service manager, asked over TCP on 127.0.0.1, stopped and removed; and
// uload.exe against SvcData stopped, running and not installed.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "platform/net/socket.h"
#include "platform/rtl/handles.h"
#include "programs/common/components.h"
#include "protocol/request_client.h"
#include "query/ucfg.h"
#include "query/uownver.h"
#include "registry/ureg.h"
#include "services/uscm.h"
#include "../unit/test_paths.h"

namespace {

const char* const kFolder = "C:\\Program Files\\Bsk\\quorvane";

// Runs the program as the setup does (shell "open", hidden window) and waits
// (bounded) for its exit code.
DWORD RunHidden(const std::string& program, const char* parameters)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = program.c_str();
    info.lpParameters = parameters;
    info.nShow = SW_HIDE;
    if (!ShellExecuteExA(&info) || info.hProcess == nullptr) return 0xFFFFFFFF;
    rtl::KernelHandle process(info.hProcess);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) return WAIT_TIMEOUT;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

SERVICE_STATUS WaitForState(const char* service, DWORD wanted)
{
    SERVICE_STATUS status{};
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    rtl::ScHandle svc(OpenServiceA(scm.get(), service, SERVICE_QUERY_STATUS));
    for (int i = 0; i < 600 && svc && QueryServiceStatus(svc.get(), &status) && status.dwCurrentState != wanted; ++i)
        Sleep(100);
    return status;
}

// The state now; 0 when the service is not there.
DWORD State(const char* service)
{
    SERVICE_STATUS status{};
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    rtl::ScHandle svc(OpenServiceA(scm.get(), service, SERVICE_QUERY_STATUS));
    return svc && QueryServiceStatus(svc.get(), &status) ? status.dwCurrentState : 0;
}

void Start(const char* service)
{
    TSvc svc(service, GENERIC_ALL);
    const DWORD rc = svc.Start();
    ASSERT_TRUE(rc == 0 || rc == ERROR_SERVICE_ALREADY_RUNNING) << rc;
    ASSERT_EQ(WaitForState(service, SERVICE_RUNNING).dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING)) << service;
}

void Stop(const char* service)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    rtl::ScHandle svc(OpenServiceA(scm.get(), service, SERVICE_STOP));
    SERVICE_STATUS s{};
    ControlService(svc.get(), SERVICE_CONTROL_STOP, &s);
    const SERVICE_STATUS status = WaitForState(service, SERVICE_STOPPED);
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED)) << service;
    EXPECT_EQ(status.dwWin32ExitCode, 0u) << service;
}

int FreePort()
{
    const net::WinsockSession session = net::StartWinsock();
    const net::Socket s = net::Listen("127.0.0.1", 0);
    return net::LocalPort(s.get());
}

void WriteRecord(const char* guid, const std::vector<std::string>& lines)
{
    ureg::TSetReg reg("SOFTWARE", "Bsk", HKEY_LOCAL_MACHINE);
    reg.Add("DisplayName=Brantel Sukma Teknika");
    reg.Add(std::string("Id=") + VendorGuid);
    reg.Write("");
    reg.SetKey("SOFTWARE", std::string("Bsk\\") + ProductGuid + "\\" + guid, HKEY_LOCAL_MACHINE);
    for (const std::string& line : lines) reg.Add(line);
    reg.Write("Data");
}

// The program copied into the product folder, as the setup writes it.
std::string Installed(const char* file)
{
    CreateDirectoryA("C:\\Program Files\\Bsk", nullptr);
    CreateDirectoryA(kFolder, nullptr);
    const std::string exe = std::string(kFolder) + "\\" + file;
    EXPECT_TRUE(CopyFileA(FixturePath(file).c_str(), exe.c_str(), FALSE)) << GetLastError();
    return exe;
}

void ExpectRegistered(const char* service, const std::string& exe, const char* displayName)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    rtl::ScHandle svc(OpenServiceA(scm.get(), service, SERVICE_QUERY_CONFIG));
    ASSERT_TRUE(svc) << GetLastError();
    std::vector<char> buffer(8192);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    DWORD needed = 0;
    ASSERT_TRUE(QueryServiceConfigA(svc.get(), config, static_cast<DWORD>(buffer.size()), &needed));
    EXPECT_EQ(std::string(config->lpBinaryPathName), "\"" + exe + "\"");
    EXPECT_EQ(config->dwStartType, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(config->dwServiceType, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(std::string(config->lpDisplayName), displayName);
    auto* description = reinterpret_cast<SERVICE_DESCRIPTIONA*>(buffer.data());
    ASSERT_TRUE(QueryServiceConfig2A(svc.get(), SERVICE_CONFIG_DESCRIPTION, reinterpret_cast<BYTE*>(buffer.data()),
                                     static_cast<DWORD>(buffer.size()), &needed));
    ASSERT_NE(description->lpDescription, nullptr);
    EXPECT_NE(std::string(description->lpDescription).find("quorvane"), std::string::npos);
}

void ExpectRemoved(const char* service)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    EXPECT_FALSE(rtl::ScHandle(OpenServiceA(scm.get(), service, SERVICE_QUERY_STATUS))) << service;
}

std::string ThisComputer()
{
    char name[256] = {};
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
}

}  // namespace

TEST(DataService, InstallRunAnswerStopUninstall)
{
    const std::string exe = Installed("dsvc.exe");
    ASSERT_EQ(RunHidden(exe, "/install /silent"), 0u);
    ExpectRegistered(svc::DataServiceName, exe, "quorvane Data Retriever");

    // Without its record the service does not pretend to run.
    {
        TSvc svc(svc::DataServiceName, GENERIC_ALL);
        ASSERT_EQ(svc.Start(), 0u);
    }
    const SERVICE_STATUS failed = WaitForState(svc::DataServiceName, SERVICE_STOPPED);
    EXPECT_EQ(failed.dwWin32ExitCode, static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR));

    const int port = FreePort();
    WriteRecord(svc::DataRetrieverGuid, {"DisplayName=quorvane Data Retriever",
                                         std::string("Id=") + svc::DataRetrieverGuid, "Data=" + std::to_string(port)});
    Start(svc::DataServiceName);
    const rtl::TStringList inventory = proto::RequestInventory({"127.0.0.1", port});
    EXPECT_EQ(inventory.IndexOf("[Computer]"), 0);
    EXPECT_TRUE(rtl::SameText(inventory.Values("Name"), ThisComputer()));
    EXPECT_NE(inventory.IndexOf("[Programs]"), -1);
    // A request it does not know is answered, and it keeps serving.
    EXPECT_THROW(proto::RequestReporters({"127.0.0.1", port}), rtl::Exception);
    EXPECT_EQ(State(svc::DataServiceName), static_cast<DWORD>(SERVICE_RUNNING));

    Stop(svc::DataServiceName);
    Start(svc::DataServiceName);
    EXPECT_EQ(RunHidden(exe, "/uninstall /silent"), 0u);
    ExpectRemoved(svc::DataServiceName);
}

TEST(StartupAgent, StartsTheDataServiceOnlyWhenItIsInstalledAndStopped)
{
    const std::string uload = Installed("uload.exe");
    // Not installed: nothing to start, and it says so by its exit code.
    EXPECT_EQ(RunHidden(uload, "/install /silent"), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
    EXPECT_EQ(RunHidden(uload, nullptr), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));

    const std::string dsvc = Installed("dsvc.exe");
    const int port = FreePort();
    WriteRecord(svc::DataRetrieverGuid, {"Data=" + std::to_string(port)});
    ASSERT_EQ(RunHidden(dsvc, "/install /silent"), 0u);
    ASSERT_NE(State(svc::DataServiceName), static_cast<DWORD>(SERVICE_RUNNING));

    // Stopped: started.
    EXPECT_EQ(RunHidden(uload, "/install /silent"), 0u);
    EXPECT_EQ(WaitForState(svc::DataServiceName, SERVICE_RUNNING).dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_NO_THROW(proto::RequestInventory({"127.0.0.1", port}));
    // Running: left alone.
    EXPECT_EQ(RunHidden(uload, nullptr), 0u);
    EXPECT_EQ(State(svc::DataServiceName), static_cast<DWORD>(SERVICE_RUNNING));
    // Stopped again, the logon start starts it too.
    Stop(svc::DataServiceName);
    EXPECT_EQ(RunHidden(uload, nullptr), 0u);
    EXPECT_EQ(WaitForState(svc::DataServiceName, SERVICE_RUNNING).dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));

    EXPECT_EQ(RunHidden(dsvc, "/uninstall /silent"), 0u);
}

TEST(Agent, ReportsToAServerThatComesUpLaterThroughTheDataService)
{
    const std::string msvc = Installed("msvc.exe");
    const std::string dsvc = Installed("dsvc.exe");
    const std::string csvc = Installed("csvc.exe");
    const std::string server = std::to_string(FreePort());
    const std::string data = std::to_string(FreePort());
    WriteRecord(svc::ServerServiceGuid, {"Host=127.0.0.1", "Server=" + server, "Client=1881", "Data=" + data});
    WriteRecord(svc::DataRetrieverGuid, {"Data=" + data});
    // The shortest interval, so that the test sees a second report.
    WriteRecord(svc::AgentGuid, {"Host=127.0.0.1", "Server=" + server, "Client=1881", "Data=" + data, "Interval=1"});
    for (const std::string* exe : {&msvc, &dsvc, &csvc}) ASSERT_EQ(RunHidden(*exe, "/install /silent"), 0u);
    ExpectRegistered(svc::AgentServiceName, csvc, "quorvane Agent");
    ExpectRegistered(svc::ServerServiceName, msvc, "quorvane Enterprise Server");

    // The agent first, with the server down: it keeps running and retries.
    Start(svc::DataServiceName);
    Start(svc::AgentServiceName);
    Sleep(1000);  // room for the first, failing report
    EXPECT_EQ(State(svc::AgentServiceName), static_cast<DWORD>(SERVICE_RUNNING));
    Start(svc::ServerServiceName);

    std::vector<proto::TReporter> listed;
    for (int i = 0; i < 60 && listed.empty(); ++i) {
        listed = proto::RequestReporters({"127.0.0.1", std::stoi(server)});
        if (listed.empty()) Sleep(500);
    }
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(rtl::SameText(listed[0].Computer, ThisComputer()));
    // The report came through the data service and sits beside msvc.exe.
    const std::string report = std::string(kFolder) + "\\Reports\\pc-" + listed[0].Computer + ".txt";
    const rtl::FileHandle file(CreateFileA(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file) << report;
    std::string text(1 << 20, '\0');
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr));
    text.resize(read);
    EXPECT_NE(text.find("Source=data service"), std::string::npos) << text.substr(0, 2000);

    for (const char* service : {svc::AgentServiceName, svc::ServerServiceName, svc::DataServiceName}) Stop(service);
    for (const std::string* exe : {&csvc, &msvc, &dsvc}) EXPECT_EQ(RunHidden(*exe, "/uninstall /silent"), 0u);
    for (const char* service : {svc::AgentServiceName, svc::ServerServiceName, svc::DataServiceName})
        ExpectRemoved(service);
}

TEST(Programs, EveryProgramCarriesItsVersionStrings)
{
    const char* const programs[] = {"msvc.exe", "dsvc.exe", "csvc.exe", "uload.exe", "zev.exe", "zevman.exe",
                                    "Uninstall.exe"};
    for (const char* program : programs) {
        SCOPED_TRACE(program);
        TVer ver;
        ver.Query(FixturePath(program).c_str());
        EXPECT_FALSE(ver.List().Values("FileVersion").empty());
        EXPECT_FALSE(ver.List().Values("ProductVersion").empty());
        EXPECT_EQ(ver.List().Values("CompanyName"), "Brantel Sukma Teknika");
        EXPECT_EQ(ver.List().Values("ProductName"), "quorvane");
    }
}
