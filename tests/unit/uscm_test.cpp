#include <gtest/gtest.h>

#include "services/uscm.h"
#include "test_paths.h"

namespace {

const char* const kService = "QvTestSvc";

// Registers the fixture service (stopped, started on demand) through a
// connection of the test's own, and removes it again.
class Services : public ::testing::Test {
protected:
    void SetUp() override
    {
        scm_.reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ASSERT_TRUE(scm_) << GetLastError();
        Remove();
        std::string image = "\"";
        image += FixturePath("qvtestsvc.exe");
        image += '"';
        rtl::ScHandle svc(CreateServiceA(scm_.get(), kService, "quorvane test service", SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                         image.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(svc) << GetLastError();
    }
    void TearDown() override { Remove(); }

    // Stops the service if it runs (bounded wait) and deletes it.
    void Remove()
    {
        rtl::ScHandle svc(OpenServiceA(scm_.get(), kService, SERVICE_ALL_ACCESS));
        if (!svc) return;
        SERVICE_STATUS status{};
        ControlService(svc.get(), SERVICE_CONTROL_STOP, &status);
        for (int i = 0; i < 300 && QueryServiceStatus(svc.get(), &status) && status.dwCurrentState != SERVICE_STOPPED;
             ++i)
            Sleep(100);
        DeleteService(svc.get());
    }

    DWORD CurrentState()
    {
        rtl::ScHandle svc(OpenServiceA(scm_.get(), kService, SERVICE_QUERY_STATUS));
        SERVICE_STATUS status{};
        return svc && QueryServiceStatus(svc.get(), &status) ? status.dwCurrentState : 0;
    }

    rtl::ScHandle scm_;
};

}  // namespace

TEST_F(Services, ManagerOpensLazilyAndOnce)
{
    TSvcMan unused(0xF003F);  // constructed and destroyed: opens nothing, closes nothing
    TSvcMan man(0xF003F);
    const SC_HANDLE first = man.Handle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(man.Handle(), first);
    man.Close();
    EXPECT_NE(man.Handle(), nullptr);
}

TEST_F(Services, StartCodes)
{
    {
        TSvc svc(kService, GENERIC_ALL);
        EXPECT_EQ(svc.Start(), 0u);
        const SC_HANDLE h = svc.Handle();
        EXPECT_NE(h, nullptr);
        EXPECT_EQ(svc.Handle(), h);
    }
    {
        TSvc again(kService, GENERIC_ALL);
        EXPECT_EQ(again.Start(), static_cast<DWORD>(ERROR_SERVICE_ALREADY_RUNNING));
    }
    {
        TSvc missing("QvNoSuchService", GENERIC_ALL);
        EXPECT_EQ(missing.Handle(), nullptr);
        EXPECT_NE(missing.Manager().Handle(), nullptr);
        EXPECT_EQ(missing.Start(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    // Start does not wait; the service gets to running by itself.
    DWORD state = 0;
    for (int i = 0; i < 300 && (state = CurrentState()) != SERVICE_RUNNING; ++i) Sleep(100);
    EXPECT_EQ(state, static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(Services, HandlesAreClosedWithTheObject)
{
    {
        TSvc svc(kService, GENERIC_ALL);
        ASSERT_NE(svc.Handle(), nullptr);
    }
    // A service deleted while someone still holds it stays "marked for
    // deletion" and blocks a new registration under its name.
    {
        rtl::ScHandle own(OpenServiceA(scm_.get(), kService, DELETE));
        ASSERT_TRUE(own);
        ASSERT_TRUE(DeleteService(own.get()));
    }
    rtl::ScHandle again(CreateServiceA(scm_.get(), kService, "again", SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, "C:\\x.exe", nullptr, nullptr,
                                       nullptr, nullptr, nullptr));
    EXPECT_TRUE(again) << GetLastError();
}
