#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "database/udriverfile.h"
#include "platform/dbx/privatefile.h"
#include "platform/dbx/sqlconnection.h"
#include "tests/unit/test_paths.h"
#include "udbexpmssdll.h"

using dbx::EDatabaseError;
using dbx::TSQLConnection;

namespace {

std::string FileBytes(const std::wstring& path)
{
    std::ifstream in(rtl::Narrow(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string OpenError(TSQLConnection& c)
{
    try {
        c.Open();
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return "(no error)";
}

}  // namespace

TEST(SQLConnection, StartsAsDesigned)
{
    TSQLConnection c;
    EXPECT_EQ(c.ConnectionName, "MSSQLConnection");
    EXPECT_EQ(c.DriverName, "MSSQL");
    EXPECT_EQ(c.GetDriverFunc, "getSQLDriverMSSQL");
    EXPECT_EQ(c.LibraryName, "dbexpmss.dll");
    EXPECT_EQ(c.VendorLib, "oledb");
    EXPECT_FALSE(c.LoginPrompt);
    EXPECT_FALSE(c.Connected());
    EXPECT_EQ(c.Params().Lines(),
              (std::vector<std::string>{"DriverName=MSSQL", "HostName=", "DataBase=", "User_Name=", "Password=",
                                        "BlobSize=-1", "ErrorResourceFile=", "LocaleCode=0000",
                                        "MSSQL TransIsolation=ReadCommited", "OS Authentication=False"}));
}

TEST(SQLConnection, ParametersAreSetByNameAndPassedAsOneBlock)
{
    TSQLConnection c;
    c.Params().SetValue("hostname", "db1,1433");  // names match without regard to case
    c.Params().SetValue("Password", "a=b;c");     // only the first "=" separates
    EXPECT_EQ(c.Params().Values("HostName"), "db1,1433");
    EXPECT_EQ(c.Params().Values("Password"), "a=b;c");
    EXPECT_EQ(c.Params().Count(), 10);

    rtl::TStringList params{"HostName=h", "no name here", "Password=p\r\nq"};
    const wchar_t expected[] = L"HostName=h\0Password=p\r\nq\0";  // the literal adds the last NUL
    EXPECT_EQ(dbx::ParamsBlock(params), std::wstring(expected, std::size(expected)));
}

// Only a full path is ever loaded; whatever fails, the message names the library.
TEST(SQLConnection, LibraryThatCannotBeLoadedIsADatabaseError)
{
    const std::wstring notADll = rtl::Widen(FixturePath("dbx_not_a_dll.dll"));
    { std::ofstream(rtl::Narrow(notADll)) << "not a library"; }
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);

    const std::wstring paths[] = {
        L"",                                        // none given
        L"dbexpmss.dll",                            // plain name: one is planted beside this program
        L".\\dbexpmss.dll",                         // relative
        L"Z:\\no\\such\\folder\\dbexpmss.dll",      // missing
        notADll,                                    // not a library
        std::wstring(system) + L"\\kernel32.dll",  // no driver entry in it
    };
    for (const auto& path : paths) {
        TSQLConnection c;
        c.SetLibraryPath(path);
        EXPECT_EQ(OpenError(c), "Unable to Load dbexpmss.dll") << rtl::Narrow(path);
        EXPECT_FALSE(c.Connected());
    }
    EXPECT_TRUE(Exists(rtl::Widen(FixturePath("dbexpmss.dll")))) << "the planted library is missing";
    EXPECT_EQ(GetModuleHandleW(L"dbexpmss.dll"), nullptr) << "a library named dbexpmss.dll was loaded";
    DeleteFileW(notADll.c_str());
}

TEST(SQLConnection, ExecutingWithoutAConnectionIsADatabaseError)
{
    TSQLConnection c;
    EXPECT_THROW(c.ExecuteDirect("select 1"), EDatabaseError);
    c.Close();  // closing a closed connection is harmless
}

TEST(SQLConnection, FullPathsOnly)
{
    const std::pair<std::wstring, bool> cases[] = {
        {L"C:\\x\\dbexpmss.dll", true}, {L"c:/x/dbexpmss.dll", true}, {L"\\\\server\\share\\d.dll", true},
        {L"dbexpmss.dll", false},       {L"C:dbexpmss.dll", false},   {L"\\x\\dbexpmss.dll", false},
        {L"..\\dbexpmss.dll", false},   {L"", false},                 {L"1:\\x.dll", false},
    };
    for (const auto& [path, full] : cases) EXPECT_EQ(dbx::IsFullPath(path), full) << rtl::Narrow(path);
}

TEST(DriverFile, IsWrittenToAFolderOfItsOwnAndRemovedWithIt)
{
    wchar_t temp[MAX_PATH + 1];
    const std::wstring tempFolder(temp, GetTempPathW(MAX_PATH + 1, temp));
    std::wstring path;
    std::wstring folder;
    {
        database::TSqlDriverFile a;
        database::TSqlDriverFile b;
        path = a.Path();
        folder = path.substr(0, path.find_last_of(L'\\'));
        EXPECT_NE(a.Path(), b.Path());
        EXPECT_EQ(path.substr(0, tempFolder.size()), tempFolder);
        EXPECT_EQ(path.substr(path.size() - 13), L"\\dbexpmss.dll");
        EXPECT_NE(folder, rtl::Widen(TestBinDir()));
        EXPECT_EQ(FileBytes(path), std::string(reinterpret_cast<const char*>(TFDbx.Data), TFDbx.Size));
        EXPECT_EQ(FileBytes(path).substr(0, 2), "MZ");

        TSQLConnection c;
        a.Attach(c);
        EXPECT_EQ(c.LibraryPath(), path);
    }
    EXPECT_FALSE(Exists(path));
    EXPECT_FALSE(Exists(folder));
}

TEST(DriverFile, EachCopyHasAFolderOfItsOwn)
{
    const char data[] = "x";
    dbx::TPrivateFile first(L"f.bin", data, 1);
    dbx::TPrivateFile second(L"f.bin", data, 1);
    EXPECT_NE(first.Folder(), second.Folder());
    EXPECT_EQ(FileBytes(second.Path()), "x");

    const std::wstring path = first.Path();
    {
        dbx::TPrivateFile moved(std::move(first));
        EXPECT_EQ(moved.Path(), path);
        EXPECT_TRUE(Exists(path));
    }
    EXPECT_FALSE(Exists(path));  // removed once, by the owner it moved to
}

// While the copy lives nobody may change, rename or delete it, yet it can be
// read and loaded.
TEST(DriverFile, CannotBeSwappedWhileHeld)
{
    database::TSqlDriverFile driver;
    const std::wstring path = driver.Path();
    const std::wstring other = path + L".old";
    const rtl::FileHandle forWriting(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(forWriting);
    EXPECT_FALSE(MoveFileW(path.c_str(), other.c_str()));
    EXPECT_FALSE(DeleteFileW(path.c_str()));
    EXPECT_EQ(FileBytes(path).substr(0, 2), "MZ");
    const rtl::Module loaded(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    EXPECT_TRUE(loaded);
}
