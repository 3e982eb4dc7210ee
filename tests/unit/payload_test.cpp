#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <vector>

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

// The DLL names a program imports, upper-cased, read from its file (of this
// build's architecture).
std::set<std::string> Imports(const std::string& image)
{
    auto at = [&](std::size_t offset, std::size_t size) {
        if (offset + size > image.size()) throw std::runtime_error("truncated image");
        return image.data() + offset;
    };
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, at(0, sizeof dos), sizeof dos);
    IMAGE_NT_HEADERS nt;
    std::memcpy(&nt, at(static_cast<std::size_t>(dos.e_lfanew), sizeof nt), sizeof nt);
    const std::size_t sectionsAt = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS, OptionalHeader) +
                                   nt.FileHeader.SizeOfOptionalHeader;
    auto offsetOf = [&](DWORD rva) -> std::size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER s;
            std::memcpy(&s, at(sectionsAt + i * sizeof s, sizeof s), sizeof s);
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        throw std::runtime_error("address outside every section");
    };
    std::set<std::string> names;
    const DWORD table = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (std::size_t d = offsetOf(table);; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR entry;
        std::memcpy(&entry, at(d, sizeof entry), sizeof entry);
        if (entry.Name == 0) break;
        std::string name(at(offsetOf(entry.Name), 1));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        names.insert(name);
    }
    return names;
}

}  // namespace

// What setup.exe imports is loaded before it runs, and for a DLL that is no
// KnownDLL the loader looks in setup.exe's own folder first (a download
// folder). So it imports only KnownDLLs, and the common controls, which its
// manifest takes from the side-by-side store.
TEST(Imports, SetupTakesNothingFromItsOwnFolder)
{
    const std::set<std::string> allowed = {"ADVAPI32.DLL", "COMCTL32.DLL", "GDI32.DLL",    "KERNEL32.DLL",
                                           "MSVCRT.DLL",   "OLE32.DLL",    "OLEAUT32.DLL", "SHELL32.DLL",
                                           "USER32.DLL",   "WS2_32.DLL",   "SHLWAPI.DLL",  "COMDLG32.DLL"};
    const std::string image = FileBytes(FixturePath("setup.exe"));
    ASSERT_EQ(image.substr(0, 2), "MZ");
    for (const std::string& name : Imports(image)) EXPECT_TRUE(allowed.count(name) == 1) << name;
}

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
