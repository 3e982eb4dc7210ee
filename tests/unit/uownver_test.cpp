#include <gtest/gtest.h>

#include "query/uownver.h"
#include "platform/rtl/sysutils.h"
#include "test_paths.h"

namespace {

// The ten lines a fixture gives when every string is read from table id.
std::vector<std::string> StringLines(const std::string& id, const std::string& omit = "")
{
    std::vector<std::string> lines;
    for (const char* name : VersionInfoKeys)
        if (name != omit) lines.push_back(std::string(name) + "=" + name + " " + id);
    return lines;
}

}  // namespace

TEST(VersionInfoKeys, FixedNamesInOrder)
{
    const std::vector<std::string> names(std::begin(VersionInfoKeys), std::end(VersionInfoKeys));
    EXPECT_EQ(names, (std::vector<std::string>{"CompanyName", "FileDescription", "FileVersion", "InternalName",
                                               "LegalCopyright", "LegalTradeMarks", "OriginalFileName", "ProductName",
                                               "ProductVersion", "Comments"}));
}

TEST(VersionQuery, ChoosesTheStringTable)
{
    struct Case {
        const char* fixture;
        std::string table;
        std::string omit;
    };
    const Case cases[] = {
        {"ver_ru.exe", "041904E3", ""},
        {"ver_us_unicode_ansi.exe", "040904E4", ""},  // the U.S. English ANSI pair wins
        {"ver_de_us.exe", "040904B0", ""},            // U.S. English over the first pair
        {"ver_de.exe", "040704E4", ""},               // the only pair
        {"ver_no_trademarks.exe", "040904E4", "LegalTradeMarks"},
    };
    for (const auto& c : cases) {
        const std::string path = FixturePath(c.fixture);
        TVer ver;
        EXPECT_EQ(ver.Query(path.c_str()), 1) << c.fixture;
        std::vector<std::string> expected{"Class=Ver", "Type=cfg", "Module=" + path};
        for (auto& line : StringLines(c.table, c.omit)) expected.push_back(line);
        EXPECT_EQ(ver.List().Lines(), expected) << c.fixture;
        EXPECT_EQ(ver.Query(path.c_str()), 1);  // a second query adds nothing
        EXPECT_EQ(ver.List().Count(), static_cast<int>(expected.size()));
    }
}

TEST(VersionQuery, FileWithoutVersionOrMissing)
{
    const std::pair<std::string, DWORD> cases[] = {
        {FixturePath("ver_none.exe"), ERROR_RESOURCE_TYPE_NOT_FOUND},
        {FixturePath("no_such_file.exe"), ERROR_FILE_NOT_FOUND},
    };
    for (const auto& [path, code] : cases) {
        TVer ver;
        EXPECT_EQ(ver.Query(path.c_str()), -1) << path;
        ASSERT_EQ(ver.List().Count(), 3) << path;
        const std::string error = ver.List()[2];
        // The code is whatever the system reports; its text follows, trimmed.
        ASSERT_EQ(error.rfind("Error=", 0), 0u) << error;
        const unsigned long reported = std::stoul(error.substr(6));
        EXPECT_EQ(error, rtl::ErrorLine(reported));
        if (code == ERROR_FILE_NOT_FOUND) {
            EXPECT_EQ(reported, code);
        }
        EXPECT_NE(error.back(), '.');
        EXPECT_EQ(ver.List().IndexOfName("Module"), -1);
        EXPECT_EQ(ver.Query(path.c_str()), -1);
        EXPECT_EQ(ver.List().Count(), 3);
    }
}

TEST(VersionQuery, WithoutArgumentDescribesThisProgram)
{
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    TVer ver(true);
    EXPECT_EQ(ver.State(), 1);
    EXPECT_EQ(ver.GetValue("Module"), std::string(self, n));
    EXPECT_EQ(ver.GetValue("FileVersion"), "9.8.7.6");
    EXPECT_EQ(ver.GetValue("ProductVersion"), "9.8");
}
