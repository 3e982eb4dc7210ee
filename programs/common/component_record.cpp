#include "component_record.h"

#include <cstring>

#include "query/ucfg.h"
#include "platform/rtl/sysutils.h"
#include "registry/ureg.h"

namespace svc {

rtl::TStringList ReadComponentRecord(const std::string& componentGuid)
{
    // The vendor key is "Bsk" or the vendor GUID, as the setup decided.
    TBskSys vendor(true);
    const std::string subKey = vendor.KeyName() + "\\" + ProductGuid + "\\" + componentGuid;
    const std::string where = "HKEY_LOCAL_MACHINE\\SOFTWARE\\" + subKey;
    if (vendor.State() != 1)
        throw rtl::Exception("The component record " + where + " was not found: the vendor key is missing.");
    const ureg::TRegLoadValue values("SOFTWARE", subKey, HKEY_LOCAL_MACHINE);
    const ureg::TRegValue* data = values.Opened() ? values.Find("Data") : nullptr;
    if (data == nullptr) throw rtl::Exception("The component record " + where + " has no value \"Data\".");
    const auto* bytes = reinterpret_cast<const char*>(data->Bytes());
    rtl::TStringList lines;
    if (bytes != nullptr) lines.SetText(std::string(bytes, strnlen(bytes, data->Size())));
    return lines;
}

}  // namespace svc
