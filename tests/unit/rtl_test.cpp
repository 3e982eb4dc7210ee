#include <gtest/gtest.h>
#include <windows.h>

#include "platform/rtl/classes.h"
#include "platform/rtl/module.h"
#include "platform/rtl/sysutils.h"

using namespace rtl;

TEST(Format, FillsPlaceholders)
{
    struct Case {
        std::string format;
        std::vector<FormatArg> args;
        std::string expected;
    };
    const Case cases[] = {
        {"Error=%u:%s", {std::uint64_t{2}, std::string("File not found")}, "Error=2:File not found"},
        {"%1:s-%0:s", {std::string("a"), std::string("b")}, "b-a"},
        {"%0:s %s", {std::string("x"), std::string("y")}, "x y"},  // an index moves the running one
        {"%d%%", {std::int64_t{-5}}, "-5%"},
        {"List index out of bounds (%d)", {std::int64_t{-1}}, "List index out of bounds (-1)"},
        {"no placeholders", {}, "no placeholders"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), c.expected) << c.format;
}

TEST(Format, MissingArgumentRaises)
{
    EXPECT_THROW(Format("%s %s", {std::string("one")}), EConvertError);
    EXPECT_THROW(Format("%d", {std::string("text")}), EConvertError);
    EXPECT_THROW(Format("%2:s", {std::string("a"), std::string("b")}), EConvertError);
    EXPECT_THROW(Format("%99999999999999999999:s", {std::string("a")}), EConvertError);  // an index too large to count
}

TEST(StrToInt, ConvertsOrNamesTheText)
{
    const std::pair<std::string, int> good[] = {{"1991", 1991}, {"01991", 1991}, {"-7", -7}, {" 42", 42},
                                                {"+3", 3},      {"2147483647", 2147483647}};
    for (const auto& [text, value] : good) EXPECT_EQ(StrToInt(text), value) << text;

    for (const std::string bad : {"", "abc", "12a", "1 2", "2147483648", "-", " "}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + bad + "' is not a valid integer value");
        }
    }
}

TEST(IntToHex, PadsButNeverCuts)
{
    const struct { std::uint64_t value; int digits; const char* text; } cases[] = {
        {0, 4, "0000"}, {0x4E4, 4, "04E4"}, {0x12345, 4, "12345"}, {0x8FFF1234, 8, "8FFF1234"}, {0xab, 0, "AB"},
    };
    for (const auto& c : cases) EXPECT_EQ(IntToHex(c.value, c.digits), c.text) << c.text;
}

TEST(SysErrorMessage, IsTheSystemTextTrimmed)
{
    const std::string text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    const char last = text.back();
    EXPECT_NE(last, '.');
    EXPECT_GT(static_cast<unsigned char>(last), ' ');
    EXPECT_EQ(ErrorLine(ERROR_FILE_NOT_FOUND), "Error=2:" + text);
}

TEST(RaiseLastOSError, CarriesCodeAndText)
{
    try {
        RaiseLastOSError(ERROR_ACCESS_DENIED);
        FAIL();
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), 5u);
        EXPECT_EQ(e.Message(), "System Error.  Code: 5.\r\n" + SysErrorMessage(5));
    }
    try {
        SetLastError(0);
        RaiseLastOSError();
        FAIL();
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Message(), "A call to an OS function failed");
    }
}

// A COM failure is no Win32 code: its own text, never "System Error.  Code: -2147...".
TEST(RaiseHResult, CarriesTheFailureWithItsOwnText)
{
    struct Case {
        HRESULT hr;
        std::string text;
    };
    const std::string denied = SysErrorMessage(static_cast<unsigned long>(E_ACCESSDENIED));
    const Case cases[] = {
        {E_ACCESSDENIED, denied.empty() ? "OLE error 80070005" : denied},
        {static_cast<HRESULT>(0x8FFF1234), "OLE error 8FFF1234"},  // no system text for it
    };
    for (const Case& c : cases) {
        try {
            OleCheck(c.hr);
            FAIL() << std::hex << c.hr;
        } catch (const EOSError& e) {
            EXPECT_EQ(e.ErrorCode(), static_cast<unsigned long>(c.hr));
            EXPECT_FALSE(e.Message().empty());
            EXPECT_EQ(e.Message(), c.text);
            EXPECT_EQ(e.Message().find("System Error"), std::string::npos);
        }
    }
    EXPECT_NO_THROW(OleCheck(S_OK));
    EXPECT_NO_THROW(OleCheck(S_FALSE));
}

TEST(TextConversion, AnsiAndUtf16RoundTrip)
{
    for (const std::string& text : {std::string(), std::string("C:\\Program Files"), std::string("a\0b", 3)}) {
        const std::wstring wide = Widen(text);
        EXPECT_EQ(wide.size(), text.size());
        EXPECT_EQ(Narrow(wide), text);
    }
    EXPECT_EQ(Widen("quorvane"), L"quorvane");
}

TEST(ModulePath, IsTheFullPathOfThisProgram)
{
    const std::string path = ModulePath();
    EXPECT_EQ(path.substr(1, 2), ":\\") << path;
    EXPECT_EQ(path.substr(path.size() - 12), "rtl_test.exe") << path;
}

TEST(StringList, NameValueLookup)
{
    TStringList list{"Class=Bsk", "Key=a=b", "no name here", "key=second", "=default", "Empty="};
    EXPECT_EQ(list.Values("KEY"), "a=b");  // case-insensitive, first line wins, value keeps "="
    EXPECT_EQ(list.IndexOfName("key"), 1);
    EXPECT_EQ(list.Values("no name here"), "");  // a line without "=" has no name
    EXPECT_EQ(list.Values(""), "default");
    EXPECT_EQ(list.Values("Empty"), "");
    EXPECT_EQ(list.Values("Missing"), "");
    EXPECT_EQ(list.Names(0), "Class");
    EXPECT_EQ(list.ValueFromIndex(2), "");

    list.SetValue("class", "quorvane");
    EXPECT_EQ(list[0], "class=quorvane");
    list.SetValue("New", "1");
    EXPECT_EQ(list[list.Count() - 1], "New=1");
}

TEST(StringList, IndexOutOfBoundsNamesTheIndex)
{
    TStringList list{"a"};
    for (int index : {-1, 1, 7}) {
        try {
            (void)list[index];
            ADD_FAILURE() << index;
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

TEST(StringList, TextRoundTrip)
{
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[2], "three");
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    list.SetText("a\r\n\r\nb\r\n");
    EXPECT_EQ(list.Count(), 3);  // an empty line inside is kept, the final break ends the last line
}

namespace {

class CountingList : public TStringList {
public:
    int changes = 0;

protected:
    void Changed() override { ++changes; }
};

class Other : public TPersistent {
public:
    const char* ClassName() const override { return "TOther"; }
};

}  // namespace

TEST(StringList, UpdateBracketSignalsOnce)
{
    CountingList list;
    list.BeginUpdate();
    list.Add("a");
    list.Add("b");
    list.BeginUpdate();
    list.Clear();
    list.EndUpdate();
    EXPECT_EQ(list.changes, 0);
    list.EndUpdate();
    EXPECT_EQ(list.changes, 1);
    list.Add("c");
    EXPECT_EQ(list.changes, 2);
}

TEST(Persistent, AssignErrorNamesBothClasses)
{
    TStringList list{"x"};
    Other other;
    try {
        list.Assign(&other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TOther to a TStringList");
    }
    EXPECT_EQ(list.Count(), 1);  // nothing changed
    try {
        other.Assign(&list);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TStringList to a TOther");
    }
}
