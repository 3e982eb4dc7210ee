#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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
