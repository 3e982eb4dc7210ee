// Who besides the administrators may start a service: the Startup Agent runs
// at logon as the logged-on user, whom a service's default security lets only
// look at it.
#pragma once

#include <windows.h>

#include <vector>

namespace svc {

// What a logged-on user needs to see the service's state and start it.
constexpr DWORD kInteractiveStartRights = SERVICE_START | SERVICE_QUERY_STATUS | SERVICE_INTERROGATE | READ_CONTROL;

// Makes in dacl the DACL of sd with an ACE allowing sid the given rights added
// at its end; leaves dacl empty when nothing needs to change (the allowed ACEs
// of sid hold the rights already, or the DACL is null and lets everyone in).
// Every other ACE is kept as it is. 0 or the Win32 error code.
DWORD DaclAllowing(PSECURITY_DESCRIPTOR sd, PSID sid, DWORD rights, std::vector<BYTE>& dacl);

// Lets interactive users start the service and query it, keeping what its
// security allows others. The handle needs READ_CONTROL and WRITE_DAC.
// 0 or the Win32 error code.
DWORD AllowInteractiveStart(SC_HANDLE service);

}  // namespace svc
