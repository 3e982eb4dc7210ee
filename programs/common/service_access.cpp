#include "service_access.h"

namespace svc {

DWORD DaclAllowing(PSECURITY_DESCRIPTOR sd, PSID sid, DWORD rights, std::vector<BYTE>& dacl)
{
    dacl.clear();
    BOOL present = FALSE, defaulted = FALSE;
    PACL old = nullptr;
    if (!GetSecurityDescriptorDacl(sd, &present, &old, &defaulted)) return GetLastError();
    if (!present || old == nullptr) return NO_ERROR;  // a null DACL denies nobody anything
    ACL_SIZE_INFORMATION info{};
    if (!GetAclInformation(old, &info, sizeof info, AclSizeInformation)) return GetLastError();

    // A reinstall finds its own ACE from the last time: no second one.
    DWORD held = 0;
    for (DWORD i = 0; i < info.AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(old, i, &ace)) return GetLastError();
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE) != 0) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (EqualSid(&allowed->SidStart, sid)) held |= allowed->Mask;
    }
    if ((held & rights) == rights) return NO_ERROR;

    // The old ACEs in their order, then ours: an administrator's deny ACE still comes first.
    const DWORD aceSize = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    std::vector<BYTE> made(info.AclBytesInUse + aceSize);
    const auto acl = reinterpret_cast<PACL>(made.data());
    if (!InitializeAcl(acl, static_cast<DWORD>(made.size()), old->AclRevision)) return GetLastError();
    if (info.AceCount > 0) {
        void* first = nullptr;
        if (!GetAce(old, 0, &first)) return GetLastError();
        if (!AddAce(acl, old->AclRevision, 0, first, info.AclBytesInUse - sizeof(ACL))) return GetLastError();
    }
    if (!AddAccessAllowedAce(acl, ACL_REVISION, rights, sid)) return GetLastError();
    dacl = std::move(made);
    return NO_ERROR;
}

DWORD AllowInteractiveStart(SC_HANDLE service)
{
    std::vector<BYTE> sd(512);
    DWORD needed = 0;
    for (int attempt = 0;; ++attempt) {
        if (QueryServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, sd.data(), static_cast<DWORD>(sd.size()),
                                       &needed))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || attempt > 0) return error;
        sd.resize(needed);
    }

    alignas(DWORD) BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    if (!CreateWellKnownSid(WinInteractiveSid, nullptr, sid, &sidSize)) return GetLastError();
    std::vector<BYTE> dacl;
    if (const DWORD error = DaclAllowing(sd.data(), sid, kInteractiveStartRights, dacl)) return error;
    if (dacl.empty()) return NO_ERROR;

    SECURITY_DESCRIPTOR changed{};
    if (!InitializeSecurityDescriptor(&changed, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&changed, TRUE, reinterpret_cast<PACL>(dacl.data()), FALSE))
        return GetLastError();
    if (!SetServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, &changed)) return GetLastError();
    return NO_ERROR;
}

}  // namespace svc
