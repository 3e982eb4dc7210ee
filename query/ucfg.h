// Vendor and product configuration queries: read back what an earlier
// installation recorded below HKEY_LOCAL_MACHINE\SOFTWARE.
#pragma once

#include <windows.h>

#include <string>

#include "uQueryData.h"

extern const char* const VendorGuid;   // preferred vendor key name and its "Id"
extern const char* const ProductGuid;  // product key name below the vendor key
extern const char* const VendorShortKey;

// True when text is a braced GUID (hexadecimal digits of either case) equal to guid.
bool IsGuidText(const std::string& text, const std::string& guid);

class TBskSys : public TQueryData {
public:
    explicit TBskSys(bool runAtOnce = false);
    const char* ClassName() const override { return "TBskSys"; }

    int Query() override;

    HKEY Root() const { return root_; }
    const std::string& KeyName() const { return keyName_; }
    void SetKeyName(const std::string& name) { keyName_ = name; }

private:
    HKEY root_ = HKEY_LOCAL_MACHINE;
    std::string keyName_;
};

class TZevSys : public TQueryData {
public:
    // Created with runAtOnce it queries without a vendor and ends at -1.
    explicit TZevSys(bool runAtOnce = false);
    const char* ClassName() const override { return "TZevSys"; }

    int Query() override { return Query(nullptr); }
    // The vendor query must have completed (State 1); it is read during this call only.
    int Query(const TBskSys* vendor);

    HKEY Root() const { return root_; }

private:
    HKEY root_ = HKEY_LOCAL_MACHINE;
};
