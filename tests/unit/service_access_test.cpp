// The DACL that lets logged-on users start SvcData, built from real
// security descriptors. Wine's service manager keeps no DACL of a service
// (it hands out an empty one and grants every right asked for at open), so
// the descriptors are made here from SDDL.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <cstring>
#include <string>

#include "platform/rtl/handles.h"
#include "programs/common/service_access.h"

namespace {

// The DACL a new service gets on current Windows.
const char* const kDefault =
    "D:(A;;CCLCSWRPWPDTLOCRRC;;;SY)(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;BA)(A;;CCLCSWLOCRRC;;;IU)(A;;CCLCSWLOCRRC;;;SU)";
const char* const kAdded = "(A;;RPLCLORC;;;IU)";

rtl::LocalMemory Descriptor(const std::string& sddl)
{
    PSECURITY_DESCRIPTOR sd = nullptr;
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
        << sddl << ": " << GetLastError();
    return rtl::LocalMemory(sd);
}

// The ACEs of a DACL as bytes, to compare two DACLs whatever their sizes.
std::string Aces(PACL acl)
{
    ACL_SIZE_INFORMATION info{};
    EXPECT_TRUE(GetAclInformation(acl, &info, sizeof info, AclSizeInformation));
    return std::string(reinterpret_cast<const char*>(acl) + sizeof(ACL), info.AclBytesInUse - sizeof(ACL));
}

std::string DaclAces(PSECURITY_DESCRIPTOR sd)
{
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    EXPECT_TRUE(GetSecurityDescriptorDacl(sd, &present, &acl, &defaulted));
    return present && acl ? Aces(acl) : std::string();
}

TEST(ServiceAccess, TheRightToStartIsAddedOnceAndNothingElseChanges)
{
    alignas(DWORD) BYTE interactive[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof interactive;
    ASSERT_TRUE(CreateWellKnownSid(WinInteractiveSid, nullptr, interactive, &size));
    const std::string fullRights = "CCDCLCSWRPWPDTLOCRSDRCWDWO";

    struct Case {
        const char* name;
        std::string before;
        std::string after;  // empty: left as it is
    };
    const Case cases[] = {
        {"the default DACL gains the ACE at its end", kDefault, std::string(kDefault) + kAdded},
        {"a reinstall finds it there already", std::string(kDefault) + kAdded, ""},
        {"rights spread over two ACEs count together", "D:(A;;RPLC;;;IU)(A;;LORC;;;IU)", ""},
        {"full rights already include it", "D:(A;;" + fullRights + ";;;IU)", ""},
        {"the same rights for other users are not ours", "D:(A;;RPLCLORC;;;BU)", std::string("D:(A;;RPLCLORC;;;BU)") + kAdded},
        {"a denied ACE stays first and still denies", "D:(D;;RP;;;IU)(A;;" + fullRights + ";;;BA)",
         "D:(D;;RP;;;IU)(A;;" + fullRights + ";;;BA)" + kAdded},
        {"an inherit-only ACE grants the service nothing", "D:(A;IO;RPLCLORC;;;IU)", std::string("D:(A;IO;RPLCLORC;;;IU)") + kAdded},
        // What Wine's service manager hands out for every service.
        {"an empty DACL gets just this ACE", "D:", std::string("D:") + kAdded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const rtl::LocalMemory before = Descriptor(c.before);
        ASSERT_TRUE(before);
        std::vector<BYTE> dacl{1, 2, 3};
        ASSERT_EQ(svc::DaclAllowing(before.get(), interactive, svc::kInteractiveStartRights, dacl), 0u);
        if (c.after.empty()) {
            EXPECT_TRUE(dacl.empty());
            continue;
        }
        ASSERT_FALSE(dacl.empty());
        const rtl::LocalMemory after = Descriptor(c.after);
        EXPECT_EQ(Aces(reinterpret_cast<PACL>(dacl.data())), DaclAces(after.get()));
        EXPECT_TRUE(IsValidAcl(reinterpret_cast<PACL>(dacl.data())));
    }

    // A null DACL, and none at all, let everyone in already. (Wine's SDDL
    // reader makes an empty DACL of "D:NO_ACCESS_CONTROL", so these are built by hand.)
    for (const BOOL present : {TRUE, FALSE}) {
        SECURITY_DESCRIPTOR open{};
        ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
        ASSERT_TRUE(SetSecurityDescriptorDacl(&open, present, nullptr, FALSE));
        std::vector<BYTE> dacl{1};
        EXPECT_EQ(svc::DaclAllowing(&open, interactive, svc::kInteractiveStartRights, dacl), 0u);
        EXPECT_TRUE(dacl.empty()) << present;
    }
}

}  // namespace
