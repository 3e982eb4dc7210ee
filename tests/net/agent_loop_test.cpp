// The product's loop across two machines: this prefix is the agent's
// computer (data service and agent installed as the setup installs them),
// the server service runs in a prefix of its own (with-msvc-service) at
// 127.0.0.1 and the port QV_LOOP_SERVER_PORT.
#include <gtest/gtest.h>

#include "programs/common/components.h"
#include "protocol/request_client.h"
#include "service_helpers.h"

using namespace svctest;

TEST(AgentLoop, TheServerInTheOtherPrefixListsThisComputer)
{
    const proto::TEndpoint server{"127.0.0.1", QV_LOOP_SERVER_PORT};
    // The server in the other prefix has heard from nobody yet.
    ASSERT_TRUE(proto::RequestReporters(server).empty());

    const std::string dsvc = Installed("dsvc.exe");
    const std::string csvc = Installed("csvc.exe");
    const std::string data = std::to_string(FreePort());
    WriteRecord(svc::DataRetrieverGuid, {"Data=" + data});
    WriteRecord(svc::AgentGuid, {"Host=127.0.0.1", "Server=" + std::to_string(server.Port), "Client=1881",
                                 "Data=" + data});
    ASSERT_EQ(RunHidden(dsvc, "/install /silent"), 0u);
    ASSERT_EQ(RunHidden(csvc, "/install /silent"), 0u);
    Start(svc::DataServiceName);
    EXPECT_TRUE(rtl::SameText(proto::RequestInventory({"127.0.0.1", std::stoi(data)}).Values("Name"), ThisComputer()));
    Start(svc::AgentServiceName);

    // The agent reports at its start; the wait for it is bounded.
    std::vector<proto::TReporter> listed;
    for (int i = 0; i < 120 && listed.empty(); ++i) {
        listed = proto::RequestReporters(server);
        if (listed.empty()) Sleep(500);
    }
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(rtl::SameText(listed[0].Computer, ThisComputer()));

    Stop(svc::AgentServiceName);
    Stop(svc::DataServiceName);
    EXPECT_EQ(RunHidden(csvc, "/uninstall /silent"), 0u);
    EXPECT_EQ(RunHidden(dsvc, "/uninstall /silent"), 0u);
}
