// The component GUIDs the setup names the component records by, and the
// service names the programs register.
#pragma once

namespace svc {

inline constexpr const char* ServerServiceGuid = "{75B90253-87A5-4A98-A65D-70539AC4749C}";
inline constexpr const char* ServerAppGuid = "{A0949F83-5A82-4FFA-83DB-569922E491BE}";
inline constexpr const char* DataRetrieverGuid = "{3BB06F16-0F3F-490E-B707-0F596E8F0EE0}";
inline constexpr const char* AgentGuid = "{DF5BAB2F-E50D-4848-8966-68321DA115FE}";
inline constexpr const char* ViewerGuid = "{C19B661D-A0F8-46C5-9CC6-02DCA0E655A7}";

inline constexpr const char* ServerServiceName = "SvcMaster";
inline constexpr const char* DataServiceName = "SvcData";
inline constexpr const char* AgentServiceName = "SvcClient";

}  // namespace svc
