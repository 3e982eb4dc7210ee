// Running the product's service programs in a test prefix as the setup does:
// the program in the product folder, its component record, the service
// manager. Every wait is bounded.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/net/socket.h"
#include "platform/rtl/handles.h"
#include "query/ucfg.h"
#include "registry/ureg.h"
#include "services/uscm.h"
#include "../unit/test_paths.h"

namespace svctest {

inline const char* const kFolder = "C:\\Program Files\\Bsk\\quorvane";

// Runs the program as the setup does (shell "open", hidden window) and waits
// (bounded) for its exit code.
inline DWORD RunHidden(const std::string& program, const char* parameters)
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

inline SERVICE_STATUS WaitForState(const char* service, DWORD wanted)
{
    SERVICE_STATUS status{};
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    rtl::ScHandle svc(OpenServiceA(scm.get(), service, SERVICE_QUERY_STATUS));
    for (int i = 0; i < 600 && svc && QueryServiceStatus(svc.get(), &status) && status.dwCurrentState != wanted; ++i)
        Sleep(100);
    return status;
}

// The state now; 0 when the service is not there.
inline DWORD State(const char* service)
{
    SERVICE_STATUS status{};
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    rtl::ScHandle svc(OpenServiceA(scm.get(), service, SERVICE_QUERY_STATUS));
    return svc && QueryServiceStatus(svc.get(), &status) ? status.dwCurrentState : 0;
}

inline void Start(const char* service)
{
    TSvc svc(service, GENERIC_ALL);
    const DWORD rc = svc.Start();
    ASSERT_TRUE(rc == 0 || rc == ERROR_SERVICE_ALREADY_RUNNING) << rc;
    ASSERT_EQ(WaitForState(service, SERVICE_RUNNING).dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING)) << service;
}

inline void Stop(const char* service)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    rtl::ScHandle svc(OpenServiceA(scm.get(), service, SERVICE_STOP));
    SERVICE_STATUS s{};
    ControlService(svc.get(), SERVICE_CONTROL_STOP, &s);
    const SERVICE_STATUS status = WaitForState(service, SERVICE_STOPPED);
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED)) << service;
    EXPECT_EQ(status.dwWin32ExitCode, 0u) << service;
}

inline int FreePort()
{
    const net::WinsockSession session = net::StartWinsock();
    const net::Socket s = net::Listen("127.0.0.1", 0);
    return net::LocalPort(s.get());
}

inline void WriteRecord(const char* guid, const std::vector<std::string>& lines)
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
inline std::string Installed(const char* file)
{
    CreateDirectoryA("C:\\Program Files\\Bsk", nullptr);
    CreateDirectoryA(kFolder, nullptr);
    const std::string exe = std::string(kFolder) + "\\" + file;
    EXPECT_TRUE(CopyFileA(FixturePath(file).c_str(), exe.c_str(), FALSE)) << GetLastError();
    return exe;
}

inline void ExpectRegistered(const char* service, const std::string& exe, const char* displayName)
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

inline void ExpectRemoved(const char* service)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    EXPECT_FALSE(rtl::ScHandle(OpenServiceA(scm.get(), service, SERVICE_QUERY_STATUS))) << service;
}

inline std::string ThisComputer()
{
    char name[256] = {};
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
}

}  // namespace svctest
