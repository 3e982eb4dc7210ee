// The database section of the run through dbexpmss.dll, ODBC and FreeTDS,
// against the SQL Server stand-in of tests/tds (a test double).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "database/udriverfile.h"
#include "database/uprovision.h"
#include "database/usqlpayload.h"
#include "tds_log.h"

using namespace database;

namespace {

// Records what the section shows, in order.
class Recorder : public IProvisionStatus {
public:
    void ShowStep(const std::string& text) override { shown.push_back("step: " + text); }
    void ShowDatabaseError(const std::string& message) override { shown.push_back("error: " + message); }
    std::vector<std::string> shown;
};

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Provisioning : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tds::Port().empty()) << "run inside tests/tds/with-tds-server";
        driver_.Attach(sqlc_);
        // As the stage-3 check leaves the connection: server, master, administrator.
        SetServer(sqlc_, tds::Host());
        sqlc_.Params().SetValue("User_Name", "sa");
        sqlc_.Params().SetValue("Password", "Sa_Pass1");

        char temp[MAX_PATH + 1];
        folder_ = std::string(temp, GetTempPathA(MAX_PATH + 1, temp)) + "qv_provision_test";
        CreateDirectoryA(folder_.c_str(), nullptr);
        DeleteFileA((folder_ + "\\setup.sql").c_str());
    }
    void TearDown() override
    {
        DeleteFileA((folder_ + "\\setup.sql").c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    TDatabaseChoice Choice(const TDbSettings& settings, bool create, bool script) const
    {
        TDatabaseChoice c;
        c.ServerSelected = true;
        c.Create = create;
        c.Script = script;
        c.Folder = folder_;
        c.Settings = settings;
        return c;
    }

    TSqlDriverFile driver_;
    dbx::TSQLConnection sqlc_;
    std::string folder_;
};

}  // namespace

TEST_F(Provisioning, SendsTheThreeStatementsInOrderAndScriptsTheSame)
{
    const TDbSettings settings{"zpprf", "ontzuq", "tovendu"};
    const std::size_t before = tds::ReadLog().size();
    Recorder status;
    RunDatabaseSection(Choice(settings, true, true), sqlc_, status);

    EXPECT_EQ(status.shown, (std::vector<std::string>{"step: Seting up database", "step: Establishing connection",
                                                      "step: Creating database", "step: Adding login",
                                                      "step: Adding database objects",
                                                      "step: Scripting to batch (sql) file"}));
    EXPECT_FALSE(sqlc_.Connected());
    const auto batches = tds::Batches(tds::Since(before));
    const TStatements expected = BuildStatements(settings, PayloadTemplates());
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].text, rtl::Widen(expected.CreateDb));
    EXPECT_EQ(batches[1].text, rtl::Widen(expected.CreateLogin));
    EXPECT_EQ(batches[2].text, rtl::Widen(expected.CreateObjects));
    for (const auto& b : batches) {
        EXPECT_EQ(b.user, "sa");
        EXPECT_EQ(b.session, batches[0].session);  // one connection
        EXPECT_EQ(b.text.find(L'\0'), std::wstring::npos);
    }
    EXPECT_EQ(FileBytes(folder_ + "\\setup.sql"),
              expected.CreateDb + "\r\nGO\r\n" + expected.CreateLogin + "\r\nGO\r\n" + expected.CreateObjects);
}

TEST_F(Provisioning, ExistingDatabaseStopsAfterStatementOneAndTheSectionGoesOn)
{
    const TDbSettings settings{"existing", "ontzuq", "tovendu"};
    const std::size_t before = tds::ReadLog().size();
    Recorder status;
    RunDatabaseSection(Choice(settings, true, true), sqlc_, status);

    ASSERT_EQ(status.shown.size(), 5u);
    EXPECT_EQ(status.shown[2], "step: Creating database");
    EXPECT_NE(status.shown[3].find("error: "), std::string::npos);
    EXPECT_NE(status.shown[3].find("Database 'existing' already exists. Choose a different database name."),
              std::string::npos)
        << status.shown[3];
    EXPECT_EQ(status.shown[4], "step: Scripting to batch (sql) file");
    EXPECT_FALSE(sqlc_.Connected()) << "the connection is closed after a database error";
    const auto batches = tds::Batches(tds::Since(before));
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].text, L"CREATE DATABASE [existing]\r\n");
    EXPECT_EQ(FileBytes(folder_ + "\\setup.sql"), ComposeSetupSql(settings, PayloadTemplates()));
}

TEST_F(Provisioning, HostileNamesArriveInsideTheirQuotes)
{
    const TDbSettings settings{"we]ird'db", "o'neil", "it's]"};
    const std::size_t before = tds::ReadLog().size();
    Recorder status;
    RunDatabaseSection(Choice(settings, true, false), sqlc_, status);

    // The stand-in read the name back from "[we]]ird'db]" and knew it at "use".
    EXPECT_EQ(status.shown.size(), 5u);
    for (const auto& s : status.shown) EXPECT_EQ(s.find("error: "), std::string::npos) << s;
    const auto batches = tds::Batches(tds::Since(before));
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].text, L"CREATE DATABASE [we]]ird'db]\r\n");
    EXPECT_NE(batches[1].text.find(L"exec sp_addlogin N'o''neil', N'it''s]', N'we]ird''db'"), std::wstring::npos);
    EXPECT_EQ(GetFileAttributesA((folder_ + "\\setup.sql").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Provisioning, LoginRefusedIsReportedAndTheScriptStillWritten)
{
    sqlc_.Params().SetValue("Password", "wrong");
    Recorder status;
    RunDatabaseSection(Choice({"zpprf2", "ontzuq", "tovendu"}, true, true), sqlc_, status);
    ASSERT_EQ(status.shown.size(), 4u);
    EXPECT_EQ(status.shown[1], "step: Establishing connection");
    EXPECT_NE(status.shown[2].find("Login failed for user 'sa'."), std::string::npos) << status.shown[2];
    EXPECT_EQ(status.shown[3], "step: Scripting to batch (sql) file");
    EXPECT_FALSE(FileBytes(folder_ + "\\setup.sql").empty());
}

TEST_F(Provisioning, ChoicesDecideWhatHappens)
{
    struct Case {
        bool server, create, script;
        std::vector<std::string> shown;
        bool scriptWritten;
    };
    const Case cases[] = {
        {false, true, true, {}, false},                                          // no server: nothing at all
        {true, false, false, {}, false},                                         // neither ticked: no step
        {true, false, true, {"step: Scripting to batch (sql) file"}, true},      // no connection made
    };
    for (const auto& c : cases) {
        DeleteFileA((folder_ + "\\setup.sql").c_str());
        const std::size_t before = tds::ReadLog().size();
        auto choice = Choice({"zpprf", "ontzuq", "tovendu"}, c.create, c.script);
        choice.ServerSelected = c.server;
        Recorder status;
        RunDatabaseSection(choice, sqlc_, status);
        EXPECT_EQ(status.shown, c.shown);
        EXPECT_TRUE(tds::Since(before).empty()) << "the server was contacted";
        EXPECT_EQ(GetFileAttributesA((folder_ + "\\setup.sql").c_str()) != INVALID_FILE_ATTRIBUTES, c.scriptWritten);
    }
}
