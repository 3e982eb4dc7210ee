// msvc.exe for real: installed the way the setup does it, configured through
// its component record, started by the service manager and asked over TCP.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "platform/net/client.h"
#include "protocol/install_query.h"
#include "query/ucfg.h"
#include "query/uownver.h"
#include "registry/ureg.h"
#include "services/uscm.h"
#include "service_helpers.h"

using namespace svctest;

namespace {

const char* const kService = "SvcMaster";
const char* const kServerServiceGuid = "{75B90253-87A5-4A98-A65D-70539AC4749C}";

int AnyPort()
{
    const net::WinsockSession session = net::StartWinsock();
    const net::Socket s = net::Listen("", 0);
    return net::LocalPort(s.get());
}

void WriteRecord(const std::string& serverPort)
{
    svctest::WriteRecord(kServerServiceGuid,
                         {"DisplayName=quorvane Enterprise Server", "Id={75B90253-87A5-4A98-A65D-70539AC4749C}",
                          "FileVersion=1.0.0.0", "ProductVersion=1.0.0.0", "Uninstall=",
                          "Source=C:\\Program Files\\Bsk\\quorvane\\msvc.exe", "Host=10.20.30.40",
                          "Server=" + serverPort, "Client=1881", "Local=", "Data=1661", "HostName=dbhost",
                          "DataBase=zpprf", "User_Name=ontzuq", "Password=tovendu", "RdcPath="});
}

}  // namespace

TEST(MsvcService, InstallRunAnswerStopUninstall)
{
    // Installed in a folder whose path has blanks, as a real installation is.
    const std::string exe = Installed("msvc.exe");
    ASSERT_EQ(RunHidden(exe, "/install /silent"), 0u);
    ExpectRegistered(kService, exe, "quorvane Enterprise Server");
    // Installing again over the registration is no error.
    EXPECT_EQ(RunHidden(exe, "/install /silent"), 0u);

    // Without its record the service does not pretend to run.
    {
        TSvc svc(kService, GENERIC_ALL);
        ASSERT_EQ(svc.Start(), 0u);
    }
    SERVICE_STATUS status = WaitForState(kService, SERVICE_STOPPED);
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(status.dwWin32ExitCode, static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR));

    const std::string port = std::to_string(AnyPort());
    WriteRecord(port);
    {
        TSvc svc(kService, GENERIC_ALL);
        ASSERT_EQ(svc.Start(), 0u);
    }
    status = WaitForState(kService, SERVICE_RUNNING);
    ASSERT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));

    const proto::TInstallSettings got = proto::QueryInstallSettings("127.0.0.1", port);
    EXPECT_EQ(got.Host, "10.20.30.40");
    EXPECT_EQ(got.Server, port);
    EXPECT_EQ(got.Data, "1661");
    EXPECT_EQ(got.Client, "1881");
    EXPECT_EQ(got.Local, "");
    {
        net::TTcpClient client("127.0.0.1", std::stoi(port));
        client.Connect();
        client.WriteLn("Install 1.0");
        EXPECT_THROW(client.ReadLn(), net::EConnClosedGracefully);
    }
    // While it runs, its port is taken for the stage-2 probe too.
    EXPECT_THROW(proto::ProbeDataPort(port), net::ESocketError);

    {
        rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        rtl::ScHandle svc(OpenServiceA(scm.get(), kService, SERVICE_STOP));
        SERVICE_STATUS s{};
        ASSERT_TRUE(ControlService(svc.get(), SERVICE_CONTROL_STOP, &s)) << GetLastError();
    }
    status = WaitForState(kService, SERVICE_STOPPED);
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(status.dwWin32ExitCode, 0u);
    EXPECT_NO_THROW(proto::ProbeDataPort(port));  // released on stop

    // Started again and removed while running: stopped, then deleted.
    {
        TSvc svc(kService, GENERIC_ALL);
        ASSERT_EQ(svc.Start(), 0u);
    }
    ASSERT_EQ(WaitForState(kService, SERVICE_RUNNING).dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(RunHidden(exe, "/uninstall /silent"), 0u);
    {
        rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        rtl::ScHandle svc(OpenServiceA(scm.get(), kService, SERVICE_QUERY_STATUS));
        EXPECT_FALSE(svc);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
    }
    EXPECT_NO_THROW(proto::ProbeDataPort(port));
    EXPECT_EQ(RunHidden(exe, "/uninstall /silent"), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
}

TEST(MsvcService, CarriesTheVersionStringsTheSetupRecords)
{
    // The setup copies these two lines into the component record and stops
    // when either is missing.
    TVer ver;
    ver.Query(FixturePath("msvc.exe").c_str());
    EXPECT_NE(ver.List().IndexOfName("FileVersion"), -1);
    EXPECT_NE(ver.List().IndexOfName("ProductVersion"), -1);
    EXPECT_FALSE(ver.List().Values("FileVersion").empty());
    EXPECT_EQ(ver.List().Values("FileDescription"), "quorvane Enterprise Server");
    const HICON icon = ExtractIconA(GetModuleHandleA(nullptr), FixturePath("msvc.exe").c_str(), 0);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
}

TEST(MsvcService, OutsideTheServiceManagerItEndsAtOnce)
{
    const std::string exe = FixturePath("msvc.exe");
    // Run alone it says what it is and ends instead of waiting for a service manager.
    EXPECT_EQ(RunHidden(exe, nullptr), static_cast<DWORD>(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT));
    EXPECT_EQ(RunHidden(exe, "/frobnicate"), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RunHidden(exe, "/install /uninstall /silent"), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // Nothing was registered by any of these.
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    EXPECT_FALSE(rtl::ScHandle(OpenServiceA(scm.get(), kService, SERVICE_QUERY_STATUS)));
}

TEST(ServiceSkeleton, WorkThatIgnoresStopIsStillReportedStopped)
{
    const std::string exe = FixturePath("qvstuck.exe");
    ASSERT_EQ(RunHidden(exe, "/install /silent"), 0u);
    {
        TSvc svc("QvStuckSvc", GENERIC_ALL);
        ASSERT_EQ(svc.Start(), 0u);
    }
    ASSERT_EQ(WaitForState("QvStuckSvc", SERVICE_RUNNING).dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    {
        rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        rtl::ScHandle svc(OpenServiceA(scm.get(), "QvStuckSvc", SERVICE_STOP));
        SERVICE_STATUS s{};
        ASSERT_TRUE(ControlService(svc.get(), SERVICE_CONTROL_STOP, &s)) << GetLastError();
    }
    const SERVICE_STATUS status = WaitForState("QvStuckSvc", SERVICE_STOPPED);
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(status.dwWin32ExitCode, static_cast<DWORD>(ERROR_SERVICE_REQUEST_TIMEOUT));
    EXPECT_EQ(RunHidden(exe, "/uninstall /silent"), 0u);
}
