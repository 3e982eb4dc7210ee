#include <gtest/gtest.h>

#include "registry/ureg.h"
#include "platform/rtl/sysutils.h"
#include "registry_fixture.h"

using namespace ureg;
using namespace regtest;

namespace {

const std::string kRoot = "SOFTWARE\\QvRegTest";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { DeleteTree(kRoot); }
    void TearDown() override { DeleteTree(kRoot); }
};

}  // namespace

TEST(HexEncode, LowerCaseHighNibbleFirst)
{
    const unsigned char bytes[] = {0x00, 0xAB, 0x10, 0xFF};
    char out[9] = "xxxxxxxx";
    HexEncode(bytes, out, 4);
    EXPECT_STREQ(out, "00ab10ff");  // the terminator is the buffer's own
    char untouched[3] = "zz";
    HexEncode(bytes, untouched, 0);
    EXPECT_STREQ(untouched, "zz");
}

TEST(ComposePath, JoinsWithoutNormalising)
{
    EXPECT_EQ(ComposePath("SOFTWARE", ""), "SOFTWARE");
    EXPECT_EQ(ComposePath("SOFTWARE", "Bsk"), "SOFTWARE\\Bsk");
    EXPECT_EQ(ComposePath("SOFTWARE\\", "\\Bsk\\"), "SOFTWARE\\\\\\Bsk\\");
}

TEST(RegValueAsText, RendersEachType)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"string", REG_SZ, std::string("Brantel\0junk", 12), "Brantel"},
        {"string without terminator", REG_SZ, "abc", "abc"},
        {"expandable, not expanded", REG_EXPAND_SZ, std::string("%SystemDrive%\\x\0", 16), "%SystemDrive%\\x"},
        {"empty string", REG_SZ, "", ""},
        {"binary", REG_BINARY, std::string("\x00\xAB\x10", 3), "00ab10"},
        {"empty binary", REG_BINARY, "", ""},
        {"number all bits", REG_DWORD, "\xFF\xFF\xFF\xFF", "-1"},
        {"number", REG_DWORD, std::string("\xC7\x07\x00\x00", 4), "1991"},
        {"number without bytes", REG_DWORD, "", "0"},
        {"multi-string", REG_MULTI_SZ, std::string("a\0b\0\0", 5), "a;b;"},
        {"multi-string line breaks", REG_MULTI_SZ, std::string("x\r\ny\0\0", 6), "x__y;"},
        {"multi-string without final NUL", REG_MULTI_SZ, std::string("a\0bc", 4), "a;bc;"},
        {"multi-string, first empty", REG_MULTI_SZ, std::string("\0a\0\0", 4), ""},
        {"64-bit number", REG_QWORD, std::string(8, '\x01'), ""},
        {"none", REG_NONE, "abc", ""},
        {"link", REG_LINK, "abc", ""},
    };
    for (const auto& c : cases) {
        TRegValue value("v", c.type, static_cast<int>(c.bytes.size()), c.bytes.data());
        EXPECT_EQ(value.AsText(), c.text) << c.what;
        EXPECT_EQ(value.AsText(), c.text) << c.what << " (second call)";
        EXPECT_EQ(value.Size(), static_cast<int>(c.bytes.size()));
    }
}

TEST_F(Registry, LoadKeyListsSubKeysOrOneErrorLine)
{
    CreateKey(kRoot + "\\Alpha");
    CreateKey(kRoot + "\\Beta\\Deeper");
    TRegLoadKey keys("SOFTWARE", "QvRegTest", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(keys.Lines(), (std::vector<std::string>{"Alpha", "Beta"}));

    keys.Load(kRoot + "\\Alpha", "", HKEY_LOCAL_MACHINE);  // empty SubKey opens Key itself
    EXPECT_EQ(keys.Count(), 0);

    keys.Load("SOFTWARE", "QvRegTest\\Missing", HKEY_LOCAL_MACHINE);
    ASSERT_EQ(keys.Count(), 1);
    EXPECT_EQ(keys[0], "Error=2:" + rtl::SysErrorMessage(2));
}

TEST_F(Registry, LoadValueOpenedAndCount)
{
    CreateKey(kRoot + "\\Empty");
    TRegLoadValue values("SOFTWARE", "QvRegTest\\Empty", HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(values.Opened());
    EXPECT_EQ(values.Count(), 0);

    values.Load("SOFTWARE", "QvRegTest\\Missing", HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(values.Opened());
    EXPECT_EQ(values.Count(), 0);

    SetString(kRoot, "DisplayName", "Brantel Sukma Teknika");
    const DWORD number = 1991;
    SetValue(kRoot, "Port", REG_DWORD, &number, sizeof number);
    SetValue(kRoot, "Blob", REG_BINARY, "\x01\x02", 2);
    values.Load("SOFTWARE", "QvRegTest", HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(values.Opened());
    ASSERT_EQ(values.Count(), 3);
    const TRegValue* port = values.Find("Port");
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->ValueType(), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(port->Size(), 4);
    EXPECT_EQ(port->AsText(), "1991");
    EXPECT_EQ(values.Find("Blob")->AsText(), "0102");

    values.Clear();
    EXPECT_FALSE(values.Opened());
    EXPECT_EQ(values.Count(), 0);
}

TEST_F(Registry, FindIsCaseSensitiveAddValuesToIsNot)
{
    SetString(kRoot, "ID", "upper");
    SetString(kRoot, "Key", "from registry");
    SetString(kRoot, "Other", "o");
    SetString(kRoot, "", "default text");
    TRegLoadValue values("SOFTWARE", "QvRegTest", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(values.Find("Id"), nullptr);
    EXPECT_NE(values.Find("ID"), nullptr);

    rtl::TStringList target{"key=kept", "line without name"};
    values.AddValuesTo(target);
    EXPECT_EQ(target.Values("Key"), "kept");
    EXPECT_EQ(target.IndexOf("Key=from registry"), -1);
    EXPECT_EQ(target.Values("ID"), "upper");
    EXPECT_EQ(target.Values("Other"), "o");
    EXPECT_NE(target.IndexOf("=default text"), -1);  // the default value has an empty name
    EXPECT_EQ(target.Count(), 5);
}

TEST_F(Registry, AssignToReplacesAStringListAndRefusesOthers)
{
    SetString(kRoot, "A", "1");
    TRegLoadValue values("SOFTWARE", "QvRegTest", HKEY_LOCAL_MACHINE);
    rtl::TStringList target{"old=line"};
    target.Assign(&values);
    EXPECT_EQ(target.Lines(), (std::vector<std::string>{"A=1"}));

    TRegLoadValue other("SOFTWARE", "QvRegTest", HKEY_LOCAL_MACHINE);
    try {
        values.AssignTo(&other);
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TRegLoadValue to a TRegLoadValue");
    }
}

TEST_F(Registry, SetRegWritesStringValues)
{
    TSetReg reg("SOFTWARE", "QvRegTest\\Strings", HKEY_LOCAL_MACHINE);
    reg.Add("DisplayName=X");
    reg.Add("Id=Y");
    reg.Add("Password=");
    reg.Add("X=a=b");
    reg.Add("displayname=Z");  // same name as the registry compares: overwrites
    reg.Write("");

    struct Expect {
        const char* name;
        std::string bytes;
    };
    const Expect expected[] = {{"DisplayName", std::string("Z\0", 2)},
                               {"Id", std::string("Y\0", 2)},
                               {"Password", std::string("\0", 1)},
                               {"X", std::string("a=b\0", 4)}};
    for (const auto& e : expected) {
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(ReadValue(kRoot + "\\Strings", e.name, type, bytes)) << e.name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << e.name;
        EXPECT_EQ(bytes, e.bytes) << e.name;
    }
    EXPECT_EQ(ValueCount(kRoot + "\\Strings"), 4u);
    EXPECT_EQ(reg.Count(), 5);  // the lines stay after Write
}

TEST_F(Registry, SetRegWritesOneBinaryRecord)
{
    TSetReg reg("SOFTWARE", "QvRegTest\\Binary", HKEY_LOCAL_MACHINE);
    reg.Add("DisplayName=X");
    reg.Add("Id=Y");
    reg.Write("Data");
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadValue(kRoot + "\\Binary", "Data", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, std::string("DisplayName=X\r\nId=Y\r\n\0", 22));
    EXPECT_EQ(ValueCount(kRoot + "\\Binary"), 1u);

    // Lines appended before the next SetKey are written with the earlier ones.
    reg.Add("Port=1991");
    reg.Write("Data");
    ASSERT_TRUE(ReadValue(kRoot + "\\Binary", "Data", type, bytes));
    EXPECT_EQ(bytes, std::string("DisplayName=X\r\nId=Y\r\nPort=1991\r\n\0", 33));
}

TEST_F(Registry, SetRegEmptyListAndSetKey)
{
    TSetReg reg("SOFTWARE", "QvRegTest\\EmptyStrings", HKEY_LOCAL_MACHINE);
    reg.Write("");
    EXPECT_TRUE(KeyExists(kRoot + "\\EmptyStrings"));
    EXPECT_EQ(ValueCount(kRoot + "\\EmptyStrings"), 0u);

    reg.SetKey("SOFTWARE", "QvRegTest\\EmptyBinary", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.KeyPath(), kRoot + "\\EmptyBinary");
    reg.Write("Data");
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadValue(kRoot + "\\EmptyBinary", "Data", type, bytes));
    EXPECT_EQ(bytes, std::string(1, '\0'));

    reg.Add("Never=written");
    reg.SetKey("SOFTWARE", "QvRegTest\\Next", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.Count(), 0);
    reg.Write("");
    EXPECT_EQ(ValueCount(kRoot + "\\Next"), 0u);
}

TEST_F(Registry, SetRegOnAnUnusableRootReturnsQuietly)
{
    TSetReg reg("SOFTWARE", "QvRegTest\\Bogus", reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)));
    reg.Add("A=1");
    EXPECT_NO_THROW(reg.Write(""));
    EXPECT_NO_THROW(reg.Write("Data"));
    EXPECT_FALSE(KeyExists(kRoot + "\\Bogus"));
}

TEST_F(Registry, NoHandleLeaksOnAnyPath)
{
    ASSERT_TRUE(LeaksShow());
    CreateKey(kRoot + "\\Sub");
    SetString(kRoot, "A", "1");
    const HANDLE before = NextHandle();
    for (int i = 0; i < 20; ++i) {
        TRegLoadKey present("SOFTWARE", "QvRegTest", HKEY_LOCAL_MACHINE);
        TRegLoadKey missing("SOFTWARE", "QvRegTest\\Missing", HKEY_LOCAL_MACHINE);
        TRegLoadValue values("SOFTWARE", "QvRegTest", HKEY_LOCAL_MACHINE);
        values.Load("SOFTWARE", "QvRegTest\\Missing", HKEY_LOCAL_MACHINE);
        TSetReg reg("SOFTWARE", "QvRegTest\\Written", HKEY_LOCAL_MACHINE);
        reg.Add("B=2");
        reg.Write("");
        reg.Write("Data");
    }
    EXPECT_EQ(NextHandle(), before);
}
