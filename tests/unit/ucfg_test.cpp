#include <gtest/gtest.h>

#include "query/ucfg.h"
#include "registry/ureg.h"
#include "registry_fixture.h"

using namespace regtest;

namespace {

const std::string kVendorGuidKey = std::string("SOFTWARE\\") + VendorGuid;
const std::string kBskKey = "SOFTWARE\\Bsk";

class Config : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(kVendorGuidKey);
        DeleteTree(kBskKey);
    }
    void TearDown() override { SetUp(); }
};

std::vector<std::string> Lines(const TQueryData& q)
{
    return q.List().Lines();
}

}  // namespace

TEST(GuidText, ParsesBracedFormOfEitherCase)
{
    const std::pair<const char*, bool> cases[] = {
        {"{9FCBC283-05D1-4C66-97AD-7616C7EB6D99}", true},
        {"{9fcbc283-05d1-4c66-97ad-7616c7eb6d99}", true},
        {"9FCBC283-05D1-4C66-97AD-7616C7EB6D99", false},
        {"{9FCBC283-05D1-4C66-97AD-7616C7EB6D9}", false},
        {"{9FCBC283-05D1-4C66-97AD-7616C7EB6D9G}", false},
        {"{9FCBC283+05D1-4C66-97AD-7616C7EB6D99}", false},
        {"{A7C3B7DF-D3B6-4F34-A057-05CED05E35B1}", false},
        {"", false},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(IsGuidText(text, VendorGuid), expected) << text;
}

// Every row of the vendor outcome table, each on a registry made for it.
TEST_F(Config, VendorOutcomes)
{
    struct Case {
        const char* what;
        void (*setup)();
        int state;
        std::string keyName;
        std::vector<std::string> lines;
    };
    const std::string guid = VendorGuid;
    const Case cases[] = {
        {"empty machine", [] {}, -1, "Bsk", {"Class=Bsk", "Type=cfg"}},
        {"GUID key",
         [] { SetString(kVendorGuidKey, "DisplayName", "Brantel Sukma Teknika"); },
         1,
         guid,
         {"Class=Bsk", "Type=cfg", "Root=HKLM", "Key=" + guid, "DisplayName=Brantel Sukma Teknika"}},
        {"GUID key without values wins over a qualifying Bsk key",
         [] {
             CreateKey(kVendorGuidKey);
             SetString(kBskKey, "Id", VendorGuid);
         },
         1,
         guid,
         {"Class=Bsk", "Type=cfg", "Root=HKLM", "Key=" + guid}},
        {"Bsk with our Id",
         [] {
             SetString(kBskKey, "DisplayName", "Brantel Sukma Teknika");
             SetString(kBskKey, "Id", VendorGuid);
         },
         1,
         "Bsk",
         {"Class=Bsk", "Type=cfg", "Root=HKLM", "Key=Bsk", "DisplayName=Brantel Sukma Teknika", "Id=" + guid}},
        {"Bsk with our Id in lower case",
         [] { SetString(kBskKey, "Id", "{9fcbc283-05d1-4c66-97ad-7616c7eb6d99}"); },
         1,
         "Bsk",
         {"Class=Bsk", "Type=cfg", "Root=HKLM", "Key=Bsk", "Id={9fcbc283-05d1-4c66-97ad-7616c7eb6d99}"}},
        {"Bsk without Id", [] { SetString(kBskKey, "DisplayName", "Someone"); }, -1, guid, {"Class=Bsk", "Type=cfg"}},
        {"Bsk with Id named in another case",
         [] { SetString(kBskKey, "ID", VendorGuid); },
         -1,
         guid,
         {"Class=Bsk", "Type=cfg"}},
        {"Bsk with Id as expandable string",
         [] { SetValue(kBskKey, "Id", REG_EXPAND_SZ, VendorGuid, 39); },
         -1,
         guid,
         {"Class=Bsk", "Type=cfg"}},
        {"Bsk with Id lacking its terminating zero",
         [] {
             // The system would count a terminator that follows the data, so none may follow.
             const std::string unterminated = std::string(VendorGuid) + "X";
             SetValue(kBskKey, "Id", REG_SZ, unterminated.data(), 38);
         },
         -1,
         guid,
         {"Class=Bsk", "Type=cfg"}},
        {"Bsk with another GUID", [] { SetString(kBskKey, "Id", ProductGuid); }, -1, guid, {"Class=Bsk", "Type=cfg"}},
        {"Bsk with an Id that is no GUID",
         [] { SetString(kBskKey, "Id", "not a guid at all, but 38 characters!"); },
         -1,
         guid,
         {"Class=Bsk", "Type=cfg"}},
        {"vendor values named like our own lines are not added",
         [] {
             SetString(kVendorGuidKey, "Class", "x");
             SetString(kVendorGuidKey, "type", "x");
             SetString(kVendorGuidKey, "Root", "x");
             SetString(kVendorGuidKey, "KEY", "x");
             SetString(kVendorGuidKey, "Other", "y");
         },
         1,
         guid,
         {"Class=Bsk", "Type=cfg", "Root=HKLM", "Key=" + guid, "Other=y"}},
    };
    for (const auto& c : cases) {
        SetUp();
        c.setup();
        TBskSys vendor(true);
        EXPECT_EQ(vendor.State(), c.state) << c.what;
        EXPECT_EQ(vendor.KeyName(), c.keyName) << c.what;
        EXPECT_EQ(Lines(vendor), c.lines) << c.what;
    }
}

TEST_F(Config, VendorQueryRunsOnce)
{
    TBskSys vendor;
    EXPECT_EQ(vendor.KeyName(), "");
    EXPECT_EQ(vendor.Root(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(vendor.Query(), -1);
    SetString(kBskKey, "Id", VendorGuid);
    EXPECT_EQ(vendor.Query(), -1);
    EXPECT_EQ(vendor.KeyName(), "Bsk");
    EXPECT_EQ(vendor.List().Count(), 2);
}

namespace {

// Writes a vendor key "Bsk", the product key and components as the
// registration of an installation does: each record one binary value "Data".
void WriteInstallation(const std::vector<std::vector<std::string>>& components)
{
    SetString(kBskKey, "DisplayName", "Brantel Sukma Teknika");
    SetString(kBskKey, "Id", VendorGuid);
    const std::string product = kBskKey + "\\" + ProductGuid;
    SetString(product, "DisplayName", "quorvane");
    int n = 0;
    for (const auto& lines : components) {
        ureg::TSetReg reg(product, "Component" + std::to_string(n++), HKEY_LOCAL_MACHINE);
        for (const auto& line : lines) reg.Add(line);
        reg.Write("Data");
    }
}

}  // namespace

TEST_F(Config, ProductWithComponents)
{
    WriteInstallation({{"DisplayName=Enterprise Server", "Port=1991"}, {"DisplayName=Viewer"}});
    TBskSys vendor(true);
    TZevSys product;
    ASSERT_EQ(product.Query(&vendor), 1);
    const std::string key = std::string("Key=Bsk\\") + ProductGuid;
    EXPECT_EQ(Lines(product),
              (std::vector<std::string>{"Class=quorvane", "Type=cfg", "Root=HKLM", key, "DisplayName=quorvane", "Count=2"}));
    ASSERT_EQ(product.Count(), 2);
    EXPECT_EQ(product.Items(0)->Lines(), (std::vector<std::string>{"DisplayName=Enterprise Server", "Port=1991"}));
    EXPECT_EQ(product.Items(1)->Values("DisplayName"), "Viewer");

    rtl::TStringList text;
    product.AssignTo(&text);
    EXPECT_EQ(text.Count(), 6 + 3);
    EXPECT_EQ(text[6], "DisplayName=Enterprise Server");
}

TEST_F(Config, ProductKeyFoundWithoutRegardToCase)
{
    std::string lower = ProductGuid;
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    SetString(kBskKey, "Id", VendorGuid);
    CreateKey(kBskKey + "\\Unrelated");
    SetString(kBskKey + "\\" + lower, "DisplayName", "quorvane");
    TBskSys vendor(true);
    TZevSys product;
    EXPECT_EQ(product.Query(&vendor), 1);
    EXPECT_EQ(product.GetValue("Key"), "Bsk\\" + lower);  // the name as listed
}

TEST_F(Config, ProductOutcomesWithoutComponents)
{
    // Vendor present, product key absent.
    SetString(kBskKey, "Id", VendorGuid);
    {
        TBskSys vendor(true);
        TZevSys product;
        EXPECT_EQ(product.Query(&vendor), -1);
        EXPECT_EQ(Lines(product), (std::vector<std::string>{"Class=quorvane", "Type=cfg"}));
    }
    // Product key present, no component keys: complete, no "Count=" line.
    WriteInstallation({});
    {
        TBskSys vendor(true);
        TZevSys product;
        EXPECT_EQ(product.Query(&vendor), 1);
        EXPECT_EQ(product.Count(), 0);
        EXPECT_EQ(product.List().IndexOfName("Count"), -1);
    }
}

TEST_F(Config, ProductNeedsACompletedVendorQuery)
{
    WriteInstallation({{"DisplayName=Agent"}});
    TZevSys atOnce(true);  // queried without a vendor
    EXPECT_EQ(atOnce.State(), -1);
    TBskSys vendor(true);
    ASSERT_EQ(vendor.State(), 1);
    EXPECT_EQ(atOnce.Query(&vendor), -1);
    EXPECT_EQ(atOnce.List().Count(), 2);

    TBskSys notRun;
    TZevSys product;
    EXPECT_EQ(product.Query(&notRun), -1);
}

TEST_F(Config, ComponentKeyWithoutValueGivesAnEmptyItem)
{
    WriteInstallation({{"DisplayName=Agent"}});
    CreateKey(kBskKey + "\\" + ProductGuid + "\\Zz-empty");
    TBskSys vendor(true);
    TZevSys product;
    ASSERT_EQ(product.Query(&vendor), 1);
    ASSERT_EQ(product.Count(), 2);
    EXPECT_EQ(product.Items(1)->Count(), 0);
    EXPECT_EQ(product.GetValue("Count"), "2");
}

TEST_F(Config, ComponentRecordIsReadUpToItsFirstZeroByte)
{
    WriteInstallation({});
    const std::string component = kBskKey + "\\" + ProductGuid + "\\Odd";
    SetValue(component, "First", REG_BINARY, "A=1\nB=2\rC=3\0D=4", 16);
    TBskSys vendor(true);
    TZevSys product;
    ASSERT_EQ(product.Query(&vendor), 1);
    ASSERT_EQ(product.Count(), 1);
    EXPECT_EQ(product.Items(0)->Lines(), (std::vector<std::string>{"A=1", "B=2", "C=3"}));
}
