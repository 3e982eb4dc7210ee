// The product's services for real, in a fresh prefix: installed the way the
// setup does it, configured through their component records, started by the
// service manager, asked over TCP on 127.0.0.1, stopped and removed; and
// uload.exe against SvcData stopped, running and not installed.
#include <gtest/gtest.h>

#include <windows.h>

#include "programs/common/components.h"
#include "protocol/request_client.h"
#include "query/uownver.h"
#include "service_helpers.h"

using namespace svctest;

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
    // Installed again over its registration: its DACL is read and written
    // once more. (Wine keeps no service DACL, so what it lets users do is
    // checked on the built DACL alone.)
    ASSERT_EQ(RunHidden(dsvc, "/install /silent"), 0u);
    ExpectRegistered(svc::DataServiceName, dsvc, "quorvane Data Retriever");
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
    const std::string report = kFolder + "\\Reports\\pc-" + listed[0].Computer + ".txt";
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
