#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "uCreateDb.h"
#include "uCreateLogin.h"
#include "uCreateTable.h"
#include "uEulaData.h"
#include "uUseDb.h"
#include "ucsvcfile.h"
#include "udbexpmssdll.h"
#include "udsvcfile.h"
#include "umsvcfile.h"
#include "uuninstallfile.h"
#include "uuloadfile.h"
#include "uzevfile.h"
#include "uzevmanfile.h"
#include "usampleexe.h"
#include "usamplesql.h"
#include "test_paths.h"

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RecordBytes(const TPayloadRecord& r)
{
    return std::string(reinterpret_cast<const char*>(r.Data), r.Size);
}

}  // namespace

TEST(Payload, RecordHoldsTheFileExactly)
{
    EXPECT_STREQ(TSampleExe.Name, "ver_ru.exe");
    const std::string file = FileBytes(FixturePath("ver_ru.exe"));
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(TSampleExe.Size, file.size());
    EXPECT_EQ(RecordBytes(TSampleExe), file);
    EXPECT_EQ(RecordBytes(TSampleExe).substr(0, 2), "MZ");
}

TEST(Payload, TextStopsAtTheFinalNul)
{
    EXPECT_STREQ(TSample.Name, "sample.sql");
    EXPECT_EQ(TSample.Size, 11u);
    EXPECT_EQ(TSample.Text(), "SELECT 1\r\n");
    EXPECT_EQ(TSample.Text().size(), TSample.Size - 1);
}

// Every record setup.exe carries holds exactly the file the build made: the
// programs and the driver as built, the SQL texts with their closing NUL,
// the licence text as checked in. The files sit beside the test.
TEST(PayloadRecords, EveryRecordHoldsItsFileExactly)
{
    struct Case {
        const TPayloadRecord& record;
        const char* name;
        const char* file;   // beside the test
        bool closingNul;    // the record is the file and one NUL
    };
    const Case cases[] = {
        {TFMs, "msvc.exe", "msvc.exe", false},
        {TFDs, "dsvc.exe", "dsvc.exe", false},
        {TFCa, "zev.exe", "zev.exe", false},
        {TFMa, "zevman.exe", "zevman.exe", false},
        {TFCs, "csvc.exe", "csvc.exe", false},
        {TFUi, "Uninstall.exe", "Uninstall.exe", false},
        {TFUl, "uload.exe", "uload.exe", false},
        {TFDbx, "dbexpmss.dll", "dbexpmss.dll", false},
        {TFCDb, "CreateDb.sql", "records\\CreateDb.sql", true},
        {TFCLogin, "CreateLogin.sql", "records\\CreateLogin.sql", true},
        {TFCTable, "CreateTable.sql", "records\\CreateTable.sql", true},
        {TFUDb, "UseDb.sql", "records\\UseDb.sql", true},
        {TEula, "eula brantelsukma.rtf", "records\\eula.rtf", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.record.Name, c.name);
        std::string expected = FileBytes(FixturePath(c.file));
        ASSERT_FALSE(expected.empty());
        if (c.closingNul) expected += '\0';
        EXPECT_EQ(c.record.Size, expected.size());
        EXPECT_TRUE(RecordBytes(c.record) == expected);
        if (!c.closingNul && std::string(c.name).find(".rtf") == std::string::npos) {
            EXPECT_EQ(expected.substr(0, 2), "MZ");
        }
    }
}
