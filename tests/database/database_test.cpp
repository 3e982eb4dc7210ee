#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "database/uprovision.h"
#include "database/usqlpayload.h"
#include "database/usqltext.h"
#include "uCreateDb.h"
#include "uCreateLogin.h"
#include "uCreateTable.h"
#include "uUseDb.h"

using namespace database;

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string_view::npos; start = at + 2)
        lines.emplace_back(text.substr(start, at - start));
    lines.emplace_back(text.substr(start));
    return lines;
}

std::size_t Count(std::string_view text, std::string_view what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

const TDbSettings Defaults{"zpprf", "ontzuq", "tovendu"};

}  // namespace

TEST(SqlRecords, CarryTheTextsAndOneNul)
{
    struct Case {
        const TPayloadRecord& record;
        const char* name;
        std::uint32_t size;
    };
    const Case cases[] = {{TFCDb, "CreateDb.sql", 23},
                          {TFCLogin, "CreateLogin.sql", 356},
                          {TFUDb, "UseDb.sql", 9},
                          {TFCTable, "CreateTable.sql", 20303}};
    for (const auto& c : cases) {
        EXPECT_STREQ(c.record.Name, c.name);
        EXPECT_EQ(c.record.Size, c.size) << c.name;
        EXPECT_EQ(c.record.Data[c.record.Size - 1], 0) << c.name;
        EXPECT_EQ(c.record.Text().size(), c.size - 1) << c.name << ": a NUL inside the text";
    }
}

TEST(SqlRecords, HoldTheExactLines)
{
    const TSqlTemplates t = PayloadTemplates();
    EXPECT_EQ(t.CreateDb, "CREATE DATABASE [%s]\r\n");
    EXPECT_EQ(t.UseDb, "use [%s]");
    EXPECT_EQ(Lines(t.CreateLogin),
              (std::vector<std::string>{
                  "use [%0:s]",
                  "if not exists (select * from master.dbo.syslogins where loginname = N'%1:s')",
                  "\texec sp_addlogin N'%1:s', N'%2:s', N'%0:s'",
                  "if not exists (select * from dbo.sysusers where name = N'%1:s' and uid < 16382)",
                  "\texec sp_grantdbaccess N'%1:s', N'%1:s'",
                  "exec sp_addrolemember N'db_datareader', N'%1:s'",
                  "exec sp_addrolemember N'db_datawriter', N'%1:s'",
                  "",
              }));

    const std::string_view table = t.CreateTable;
    const auto lines = Lines(table);
    EXPECT_EQ(lines.front(), "CREATE TABLE [dbo].[TApp] (");
    EXPECT_EQ(lines[1], "\t[PId] [bigint] NOT NULL ,");
    EXPECT_EQ(lines[2], "\t[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,");
    EXPECT_NE(table.find("\t[PId] [bigint] IDENTITY (1, 1) NOT NULL ,\r\n"), std::string_view::npos);
    EXPECT_NE(table.find("\t[Removed] [datetime] NULL \r\n) ON [PRIMARY]\r\n\r\n\r\n"), std::string_view::npos);
    EXPECT_NE(table.find("ALTER TABLE [dbo].[TMain] WITH NOCHECK ADD \r\n\tCONSTRAINT [PK_TMain] PRIMARY KEY  "
                         "CLUSTERED \r\n\t(\r\n\t\t[PId]\r\n\t)  ON [PRIMARY] \r\n"),
              std::string_view::npos);
    EXPECT_NE(table.find("\r\n CREATE  CLUSTERED  INDEX [IX_TApp] ON [dbo].[TApp]([PId]) ON [PRIMARY]\r\n"),
              std::string_view::npos);
    EXPECT_NE(table.find("\r\n CREATE  NONCLUSTERED INDEX [IX_TMainLast] ON [dbo].[TMainLast]([Name], [Removed]) "
                         "ON [PRIMARY]\r\n"),
              std::string_view::npos);
    EXPECT_NE(table.find("\tCONSTRAINT [DF_TDisplayAdapter_Driver] DEFAULT (null) FOR [Drivers],\r\n"),
              std::string_view::npos);
    EXPECT_NE(table.find("ALTER TABLE [dbo].[TMedia] WITH NOCHECK ADD\r\n"), std::string_view::npos);
    EXPECT_NE(table.find("\tCONSTRAINT [DF_TMain_Removed] DEFAULT (null) FOR [Removed]\r\n\r\n\r\n\r\n"),
              std::string_view::npos);
    EXPECT_NE(table.find("\tCONSTRAINT [DF_TMainLast_Updated] DEFAULT (0) FOR [Updated],\r\n"),
              std::string_view::npos);
    EXPECT_EQ(lines[lines.size() - 4], "\t) ON DELETE CASCADE  ON UPDATE CASCADE ");
    EXPECT_EQ(table.substr(table.size() - 6), "\r\n\r\n\r\n");
    EXPECT_EQ(Count(table, "CREATE TABLE "), 18u);
    EXPECT_EQ(Count(table, "FOREIGN KEY"), 16u);
    EXPECT_EQ(Count(table, "COLLATE SQL_Latin1_General_CP1_CI_AS"), Count(table, "[varchar]"));
    EXPECT_EQ(Count(table, "\nGO"), 0u);
    EXPECT_EQ(Count(table, "%"), 0u);
}

TEST(RightsCheck, IsTheSixLines)
{
    EXPECT_EQ(RightsCheckSql.size(), 244u);
    EXPECT_EQ(Lines(RightsCheckSql).size(), 6u);
    EXPECT_EQ(Lines(RightsCheckSql)[5],
              "raiserror('Login must have sysadmin or, securityadmin and dbcreator role',18,1)");
}

TEST(FillTemplate, MakesEachValueSafeWhereItStands)
{
    struct Case {
        std::string_view text;
        std::vector<std::string> values;
        std::string expected;
    };
    const Case cases[] = {
        {"CREATE DATABASE [%s]\r\n", {"zpprf"}, "CREATE DATABASE [zpprf]\r\n"},
        {"CREATE DATABASE [%s]\r\n", {"a]b"}, "CREATE DATABASE [a]]b]\r\n"},
        {"CREATE DATABASE [%s]\r\n", {"x]; DROP DATABASE [y"}, "CREATE DATABASE [x]]; DROP DATABASE [y]\r\n"},
        {"use [%s]", {"o'db"}, "use [o'db]"},  // an apostrophe is harmless inside [...]
        {"N'%1:s', N'%2:s', N'%0:s'", {"d]b", "o'neil", "pa''ss"}, "N'o''neil', N'pa''''ss', N'd]b'"},
        {"[%0:s] N'%0:s'", {"a]'b"}, "[a]]'b] N'a]''b'"},  // the same value, each place its own way
        {"N'%s' 100%%", {"%s"}, "N'%s' 100%"},           // a value is never read as a template
        {"[%s]", {""}, "[]"},
    };
    for (const auto& c : cases) EXPECT_EQ(FillTemplate(c.text, c.values), c.expected) << c.text;

    for (const std::string_view bad : {"[%1:s]", "%s", "[%s", "x %s x", "[%d]"})
        EXPECT_THROW(FillTemplate(bad, {"v"}), rtl::EConvertError) << bad;
}

TEST(Statements, AreTheTemplatesFilled)
{
    const TStatements s = BuildStatements(Defaults, PayloadTemplates());
    EXPECT_EQ(s.CreateDb, "CREATE DATABASE [zpprf]\r\n");
    EXPECT_EQ(Lines(s.CreateLogin)[2], "\texec sp_addlogin N'ontzuq', N'tovendu', N'zpprf'");
    EXPECT_EQ(s.CreateLogin.size(), 355u - 10 * 4 + 2 * 5 + 7 * 6 + 1 * 7);  // ten placeholders filled
    EXPECT_EQ(s.CreateObjects, "use [zpprf]\r\n" + std::string(TFCTable.Text()));

    const TStatements hostile = BuildStatements({"we]ird'db", "o'neil", "it's]"}, PayloadTemplates());
    EXPECT_EQ(hostile.CreateDb, "CREATE DATABASE [we]]ird'db]\r\n");
    EXPECT_EQ(Lines(hostile.CreateLogin),
              (std::vector<std::string>{
                  "use [we]]ird'db]",
                  "if not exists (select * from master.dbo.syslogins where loginname = N'o''neil')",
                  "\texec sp_addlogin N'o''neil', N'it''s]', N'we]ird''db'",
                  "if not exists (select * from dbo.sysusers where name = N'o''neil' and uid < 16382)",
                  "\texec sp_grantdbaccess N'o''neil', N'o''neil'",
                  "exec sp_addrolemember N'db_datareader', N'o''neil'",
                  "exec sp_addrolemember N'db_datawriter', N'o''neil'",
                  "",
              }));
    EXPECT_EQ(hostile.CreateObjects.substr(0, 20), "use [we]]ird'db]\r\nCR");
}

TEST(SetupSql, IsTheThreeStatementsWithGoLines)
{
    const std::string table(TFCTable.Text());
    const std::string login = FillTemplate(TFCLogin.Text(), {"zpprf", "ontzuq", "tovendu"});
    const std::string expected = "CREATE DATABASE [zpprf]\r\n\r\nGO\r\n" + login + "\r\nGO\r\nuse [zpprf]\r\n" + table;
    const std::string content = ComposeSetupSql(Defaults, PayloadTemplates());
    EXPECT_EQ(content, expected);
    EXPECT_EQ(content.size(), 25u + 2 + 2 + 2 + login.size() + 2 + 2 + 2 + 11 + 2 + 20302);
    EXPECT_EQ(content.find('\0'), std::string::npos);
    EXPECT_EQ(content.substr(0, 3), "CRE");  // no byte-order mark
    EXPECT_EQ(Count(content, "\r\nGO\r\n"), 2u);

    // A hostile name stays inside its brackets and quotes in the script too.
    const std::string hostile = ComposeSetupSql({"x]\r\nGO\r\nDROP", "u", "p"}, PayloadTemplates());
    EXPECT_EQ(hostile.substr(0, 30), "CREATE DATABASE [x]]\r\nGO\r\nDROP");
}

TEST(SetupSql, ReplacesAnEarlierFile)
{
    char temp[MAX_PATH + 1];
    const std::string folder = std::string(temp, GetTempPathA(MAX_PATH + 1, temp)) + "qv_setupsql_test";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\setup.sql";
    { std::ofstream(path, std::ios::binary) << std::string(50000, 'x'); }

    const std::string content = ComposeSetupSql(Defaults, PayloadTemplates());
    WriteSetupSql(folder, content);
    EXPECT_EQ(FileBytes(path), content);

    try {
        WriteSetupSql(folder + "\\no\\such\\folder", content);
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"" + folder + "\\no\\such\\folder\\setup.sql\". ", 0), 0u)
            << e.Message();
    }
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(DbEdits, AreCheckedBeforeAnythingIsStored)
{
    const std::string longName(129, 'n');
    struct Case {
        TDbEdits edits;
        std::string message;
    };
    const Case cases[] = {
        {{"host", "zpprf", "ontzuq", "tovendu"}, ""},
        {{"host\\SQLEXPRESS,1433", "we]ird", "o'neil", "it's; }"}, ""},  // made safe when filled
        {{"", "zpprf", "ontzuq", "tovendu"}, "Database Server must not be empty."},
        {{"host", "", "ontzuq", "tovendu"}, "Database Name must not be empty."},
        {{"host", "zpprf", "", "tovendu"}, "Username must not be empty."},
        {{"host", "zpprf", "ontzuq", ""}, "Password must not be empty."},
        {{"host", "zp\r\nGO", "ontzuq", "tovendu"},
         "Database Name must not contain line breaks or other control characters."},
        {{"host", "zpprf", std::string("on\0tz", 5), "tovendu"},
         "Username must not contain line breaks or other control characters."},
        {{"host", "zpprf", "ontzuq", "tov\tendu"},
         "Password must not contain line breaks or other control characters."},
        {{"ho\nst", "zpprf", "ontzuq", "tovendu"},
         "Database Server must not contain line breaks or other control characters."},
        {{"host", longName, "ontzuq", "tovendu"}, "Database Name must not be longer than 128 characters."},
        {{"host", std::string(128, 'n'), "ontzuq", "tovendu"}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckDbEdits(c.edits), c.message) << c.edits.Name;
}
