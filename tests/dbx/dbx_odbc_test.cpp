// The SQL connection and dbexpmss.dll through Wine's ODBC and FreeTDS, against
// the SQL Server stand-in of tests/tds (a test double, not SQL Server).
#include <gtest/gtest.h>
#include <windows.h>

#include "database/udriverfile.h"
#include "database/uprovision.h"
#include "database/usqltext.h"
#include "tds_log.h"

using dbx::EDatabaseError;
using dbx::TSQLConnection;

namespace {

class Stage3 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tds::Port().empty()) << "run inside tests/tds/with-tds-server";
        driver_.Attach(sqlc_);
        database::SetServer(sqlc_, tds::Host());
    }

    // The rights check as stage 3 runs it; the error text, or "" when it passed.
    std::string Check(const std::string& user, const std::string& password)
    {
        try {
            database::CheckRights(sqlc_, user, password);
        } catch (const EDatabaseError& e) {
            return e.Message();
        }
        return "";
    }

    database::TSqlDriverFile driver_;
    TSQLConnection sqlc_;
};

const std::string NoRights = "Login must have sysadmin or, securityadmin and dbcreator role";

}  // namespace

TEST_F(Stage3, RightsCheckIsAnsweredForEachLogin)
{
    struct Case {
        const char* user;
        const char* password;
        bool passes;
    };
    const Case cases[] = {
        {"sa", "Sa_Pass1", true},                // sysadmin
        {"secdbc", "Both_Pass1", true},          // securityadmin and dbcreator
        {"secadmin", "Sec_Pass1", false},        // securityadmin without dbcreator
        {"creator", "Creator_Pass1", false},     // dbcreator without securityadmin
        {"plain", "Plain_Pass1", false},         // no role
        {"grouped", "Group_Pass1", true},        // no row in syslogins: the flags stay null
        // Braced in the connection string. ("}" is doubled there too, as the
        // SQL Server drivers read it; FreeTDS does not undouble it, so the
        // stand-in's logins hold none.)
        {"o'neil;{x", " p;w=d{1", true},
    };
    for (const auto& c : cases) {
        const std::size_t before = tds::ReadLog().size();
        const std::string error = Check(c.user, c.password);
        if (c.passes) {
            EXPECT_EQ(error, "") << c.user;
            EXPECT_FALSE(sqlc_.Connected()) << c.user << ": a passed check closes the connection";
        } else {
            EXPECT_NE(error.find(NoRights), std::string::npos) << c.user << ": " << error;
            EXPECT_TRUE(sqlc_.Connected()) << c.user << ": a failed check leaves the connection as it was";
        }
        const auto batches = tds::Batches(tds::Since(before));
        ASSERT_EQ(batches.size(), 1u) << c.user;
        EXPECT_EQ(batches[0].user, c.user);
        EXPECT_EQ(batches[0].text, rtl::Widen(std::string(database::RightsCheckSql)));
    }
    // The protocol version FreeTDS was told to use is the one acknowledged.
    const std::string version = tds::Env("QV_TDS_VERSION").empty() ? "7.4" : tds::Env("QV_TDS_VERSION");
    const auto events = tds::ReadLog();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].version.substr(0, 2), version.substr(0, 1) + version.substr(2, 1));
    // What the check leaves in the connection for the run.
    EXPECT_EQ(sqlc_.Params().Values("HostName"), tds::Host());
    EXPECT_EQ(sqlc_.Params().Values("DataBase"), "master");
    EXPECT_EQ(sqlc_.Params().Values("User_Name"), "o'neil;{x");
    EXPECT_EQ(sqlc_.Params().Values("Password"), " p;w=d{1");
}

TEST_F(Stage3, WrongPasswordGivesTheServersText)
{
    const std::size_t before = tds::ReadLog().size();
    const std::string error = Check("sa", "wrong");
    EXPECT_NE(error.find("Login failed for user 'sa'."), std::string::npos) << error;
    EXPECT_FALSE(sqlc_.Connected());
    const auto events = tds::Since(before);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].kind, "login");
    EXPECT_EQ(events[0].result, "fail");
    EXPECT_TRUE(tds::Batches(events).empty());
}

TEST_F(Stage3, NoServerListeningGivesTheDriversText)
{
    database::SetServer(sqlc_, "127.0.0.1," + tds::ClosedPort());
    const std::string error = Check("sa", "Sa_Pass1");
    EXPECT_NE(error.find("Unable to connect"), std::string::npos) << error;
    EXPECT_FALSE(sqlc_.Connected());
}

TEST_F(Stage3, SecondCheckClosesTheConnectionLeftOpenFirst)
{
    ASSERT_NE(Check("secadmin", "Sec_Pass1").find(NoRights), std::string::npos);
    ASSERT_TRUE(sqlc_.Connected());
    const auto first = tds::ReadLog();
    const int firstSession = tds::Batches(first).back().session;

    EXPECT_EQ(Check("sa", "Sa_Pass1"), "");
    const auto batches = tds::Batches(tds::Since(first.size()));
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].user, "sa");  // a new login, not the old connection
    EXPECT_NE(batches[0].session, firstSession);
    EXPECT_TRUE(tds::WaitClosed(firstSession)) << "the connection left open was never closed";
    EXPECT_TRUE(tds::WaitClosed(batches[0].session));
}

TEST_F(Stage3, PlantedLibraryBesideTheProgramIsNeverLoaded)
{
    // The carried driver, written to a private folder, is the one that answers.
    const std::string error = Check("sa", "wrong");
    EXPECT_EQ(error.find("planted"), std::string::npos) << error;
    EXPECT_NE(error.find("Login failed"), std::string::npos) << error;
    EXPECT_EQ(GetModuleHandleW(L"dbexpmss.dll"), nullptr);  // unloaded again with the closed connection
}

TEST_F(Stage3, ErrorInALaterStatementOfABatchIsReported)
{
    // The server answers a batch statement by statement; the first one here
    // succeeds and only the second fails, the second time the batch is sent.
    database::CheckRights(sqlc_, "sa", "Sa_Pass1");
    sqlc_.Open();
    const std::string batch = "use [existing]\r\nCREATE TABLE [dbo].[TLater] (\r\n\t[PId] [bigint] NOT NULL \r\n)\r\n";
    sqlc_.ExecuteDirect(batch);
    try {
        sqlc_.ExecuteDirect(batch);
        ADD_FAILURE() << "the error of the second statement was lost";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Message().find("There is already an object named 'TLater' in the database."), std::string::npos)
            << e.Message();
    }
    EXPECT_TRUE(sqlc_.Connected());  // a failed statement leaves the connection open
    sqlc_.Close();
}
