#include "ucfg.h"

#include <cctype>
#include <cstring>

#include "registry/ureg.h"
#include "platform/rtl/sysutils.h"

const char* const VendorGuid = "{9FCBC283-05D1-4C66-97AD-7616C7EB6D99}";
const char* const ProductGuid = "{A7C3B7DF-D3B6-4F34-A057-05CED05E35B1}";
const char* const VendorShortKey = "Bsk";

namespace {

constexpr const char* kSoftware = "SOFTWARE";

// Braced 8-4-4-4-12 hexadecimal digits.
bool IsBracedGuid(const std::string& text)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

void AppendKeyLines(rtl::TStringList& list, const std::string& keyPath, const ureg::TRegLoadValue& values)
{
    list.Add("Root=HKLM");
    list.Add("Key=" + keyPath);
    values.AddValuesTo(list);
}

// The vendor key named "Bsk" counts only when its "Id" is our vendor's GUID,
// stored as REG_SZ of exactly 38 characters and the terminating zero.
bool VendorIdQualifies(const ureg::TRegLoadValue& values)
{
    const ureg::TRegValue* id = values.Find("Id");
    if (id == nullptr || id->ValueType() != REG_SZ || id->Size() != 39) return false;
    const auto* bytes = reinterpret_cast<const char*>(id->Bytes());
    return IsGuidText(std::string(bytes, strnlen(bytes, id->Size())), VendorGuid);
}

}  // namespace

bool IsGuidText(const std::string& text, const std::string& guid)
{
    return IsBracedGuid(text) && rtl::SameText(text, guid);
}

// --------------------------------------------------------------------- TBskSys

TBskSys::TBskSys(bool runAtOnce) : TQueryData("Bsk", "cfg")
{
    if (runAtOnce) Query();
}

int TBskSys::Query()
{
    if (State() != 0) return State();
    SetState(-1);
    keyName_ = VendorGuid;
    ureg::TRegLoadValue values(kSoftware, keyName_, root_);
    if (values.Opened()) {
        AppendKeyLines(List(), keyName_, values);
        SetState(1);
        return State();
    }
    values.Load(kSoftware, VendorShortKey, root_);
    if (!values.Opened()) {
        keyName_ = VendorShortKey;
        return State();
    }
    if (VendorIdQualifies(values)) {
        keyName_ = VendorShortKey;
        AppendKeyLines(List(), keyName_, values);
        SetState(1);
    } else {
        // Someone else's "Bsk" key: ours must take the GUID name.
        keyName_ = VendorGuid;
    }
    return State();
}

// --------------------------------------------------------------------- TZevSys

TZevSys::TZevSys(bool runAtOnce) : TQueryData("quorvane", "cfg")
{
    if (runAtOnce) Query();
}

int TZevSys::Query(const TBskSys* vendor)
{
    if (State() != 0) return State();
    SetState(-1);
    if (vendor == nullptr || vendor->State() != 1) return State();

    std::string path = vendor->KeyName();
    ureg::TRegLoadKey keys(kSoftware, path, root_);
    int found = -1;
    for (int i = 0; i < keys.Count() && found < 0; ++i)
        if (rtl::SameText(keys[i], ProductGuid)) found = i;
    if (found < 0) return State();

    path += "\\" + keys[found];
    ureg::TRegLoadValue values(kSoftware, path, root_);
    AppendKeyLines(List(), path, values);

    keys.Load(kSoftware, path, root_);
    const std::string productKey = std::string(kSoftware) + "\\" + path;
    for (const auto& component : keys) {
        values.Load(productKey, component, root_);
        rtl::TStringList& item = AddItem();
        // A component key without a readable first value still marks an
        // installed component: it gets an empty sub-item rather than being
        // skipped, so the count of installed components stays right.
        if (values.Count() == 0) continue;
        const ureg::TRegValue& record = values.Items(0);
        const auto* bytes = reinterpret_cast<const char*>(record.Bytes());
        item.SetText(bytes ? std::string(bytes, strnlen(bytes, record.Size())) : std::string());
    }
    SetState(1);
    return State();
}
