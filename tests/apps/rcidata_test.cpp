// Reading rci.dat's layout: a sound file, and every way a file can be
// damaged, each reported and never trusted.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "programs/zevman/rcidata.h"
#include "programs/zevman/server_settings.h"

namespace {

std::string LengthField(std::uint64_t n)
{
    std::string field;
    for (int i = 0; i < 8; ++i) field += static_cast<char>((n >> (8 * i)) & 0xFF);
    return field;
}

std::string Program(std::size_t size, char fill)
{
    std::string bytes(size, fill);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    return bytes;
}

const std::size_t kSizes[rci::ProgramCount] = {300, 120, 77, 4096, 999};

std::string SoundFile()
{
    std::string file;
    for (int i = 0; i < rci::ProgramCount; ++i)
        file += LengthField(kSizes[i]) + Program(kSizes[i], static_cast<char>('a' + i));
    return file;
}

// Offset of entry i's length field in the sound file.
std::size_t EntryOffset(int i)
{
    std::size_t offset = 0;
    for (int k = 0; k < i; ++k) offset += 8 + kSizes[k];
    return offset;
}

rci::TLayout Read(const std::string& file)
{
    return rci::ReadLayout(file.size(), [&file](std::uint64_t offset, void* buffer, std::size_t count) {
        if (offset > file.size() || count > file.size() - offset) return false;
        std::memcpy(buffer, file.data() + offset, count);
        return true;
    });
}

TEST(RciLayout, SoundFileGivesFivePrograms)
{
    const std::string file = SoundFile();
    const rci::TLayout layout = Read(file);
    EXPECT_TRUE(layout.Sound) << layout.Problem;
    EXPECT_EQ(layout.Problem, "");
    ASSERT_EQ(layout.Entries.size(), 5u);
    const char* names[] = {"Uninstall.exe", "dsvc.exe", "uload.exe", "csvc.exe", "zev.exe"};
    for (int i = 0; i < 5; ++i) {
        const rci::TEntry& e = layout.Entries[i];
        EXPECT_TRUE(e.Sound) << e.Problem;
        EXPECT_EQ(e.Position, i + 1);
        EXPECT_EQ(e.Name, names[i]);
        EXPECT_EQ(e.Size, kSizes[i]);
        EXPECT_EQ(e.Offset, EntryOffset(i));
        EXPECT_EQ(e.DataOffset(), EntryOffset(i) + 8);
    }
    EXPECT_EQ(rci::DescribeEntry(layout.Entries[0]), "1  Uninstall.exe  300 bytes  sound");
}

struct DamageCase {
    const char* what;
    std::string file;
    std::string problem;                         // the file's
    std::vector<std::string> entryProblems;      // "" for a sound entry
};

std::string WithLength(int entry, std::uint64_t value)
{
    std::string file = SoundFile();
    file.replace(EntryOffset(entry), 8, LengthField(value));
    return file;
}

TEST(RciLayout, DamageIsReportedNeverTrusted)
{
    const std::string sound = SoundFile();
    std::string noHeader = sound;
    noHeader[EntryOffset(1) + 8] = 'X';
    const char* lost = "not found: an earlier entry is damaged";
    const DamageCase cases[] = {
        {"empty file", "", "Program 1 (Uninstall.exe): missing: the file ends at byte 0",
         {"missing: the file ends at byte 0", lost, lost, lost, lost}},
        {"truncated in the third program's data", sound.substr(0, EntryOffset(2) + 8 + 50),
         "Program 3 (uload.exe): cut off: 77 bytes announced, 50 present",
         {"", "", "cut off: 77 bytes announced, 50 present", lost, lost}},
        {"truncated in the fourth length field", sound.substr(0, EntryOffset(3) + 5),
         "Program 4 (csvc.exe): cut off: its length field has 5 of 8 bytes",
         {"", "", "", "cut off: its length field has 5 of 8 bytes", lost}},
        {"the last program missing", sound.substr(0, EntryOffset(4)),
         "Program 5 (zev.exe): missing: the file ends at byte " + std::to_string(EntryOffset(4)),
         {"", "", "", "", "missing: the file ends at byte " + std::to_string(EntryOffset(4))}},
        {"trailing bytes", sound + "abc", "3 bytes follow the last program", {"", "", "", "", ""}},
        {"length with its high half set", WithLength(0, 0x100000000ull + 300),
         "Program 1 (Uninstall.exe): its length field (4294967596) is no program size",
         {"its length field (4294967596) is no program size", lost, lost, lost, lost}},
        {"length far beyond the file", WithLength(1, 0xFFFFFFFFull),
         "Program 2 (dsvc.exe): its length field (4294967295) is no program size",
         {"", "its length field (4294967295) is no program size", lost, lost, lost}},
        {"length a little beyond the file", WithLength(4, 1000),
         "Program 5 (zev.exe): cut off: 1000 bytes announced, 999 present",
         {"", "", "", "", "cut off: 1000 bytes announced, 999 present"}},
        {"zero length", WithLength(2, 0), "Program 3 (uload.exe): its length field (0) is no program size",
         {"", "", "its length field (0) is no program size", lost, lost}},
        {"a program without the MZ header", noHeader, "Program 2 (dsvc.exe): not a Windows program (no MZ header)",
         {"", "not a Windows program (no MZ header)", "", "", ""}},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        const rci::TLayout layout = Read(c.file);
        EXPECT_FALSE(layout.Sound);
        EXPECT_EQ(layout.FileSize, c.file.size());
        EXPECT_EQ(layout.Problem, c.problem);
        ASSERT_EQ(layout.Entries.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(layout.Entries[i].Sound, c.entryProblems[i].empty()) << "entry " << i + 1;
            EXPECT_EQ(layout.Entries[i].Problem, c.entryProblems[i]) << "entry " << i + 1;
        }
    }
}

TEST(RciLayout, UnreadableFileIsDamaged)
{
    const rci::TLayout layout = rci::ReadLayout(1000, [](std::uint64_t, void*, std::size_t) { return false; });
    EXPECT_FALSE(layout.Sound);
    EXPECT_EQ(layout.Problem, "Program 1 (Uninstall.exe): its length field cannot be read");
}

TEST(ServerSettings, ShowsTheSettingsButNeverThePassword)
{
    const rtl::TStringList record{"DisplayName=quorvane Enterprise Control", "Host=10.1.2.3", "Server=1991",
                                  "Client=1881", "Local=", "Data=1661", "HostName=db1", "DataBase=zpprf",
                                  "User_Name=ontzuq", "Password=tovendu"};
    const std::vector<std::string> lines = zevman::ServerSettingLines(record);
    const std::vector<std::string> expected = {
        "Server address: 10.1.2.3", "Server port: 1991",       "Client port: 1881",
        "Local port: (empty)",      "Data port: 1661",         "Database server: db1",
        "Database name: zpprf",     "Database login: ontzuq",  "Program: (not recorded)",
    };
    EXPECT_EQ(lines, expected);
    for (const std::string& line : lines) EXPECT_EQ(line.find("tovendu"), std::string::npos);
}

}  // namespace
