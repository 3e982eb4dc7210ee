#include "uprovision.h"

#include <windows.h>

#include "usqlpayload.h"

namespace database {

namespace {

void SendStatements(const TStatements& statements, dbx::TSQLConnection& sqlc, IProvisionStatus& status)
{
    status.ShowStep("Establishing connection");
    sqlc.Open();
    status.ShowStep("Creating database");
    sqlc.ExecuteDirect(statements.CreateDb);
    status.ShowStep("Adding login");
    sqlc.ExecuteDirect(statements.CreateLogin);
    status.ShowStep("Adding database objects");
    sqlc.ExecuteDirect(statements.CreateObjects);
    sqlc.Close();
}

}  // namespace

void RunDatabaseSection(const TDatabaseChoice& choice, dbx::TSQLConnection& sqlc, IProvisionStatus& status)
{
    RunDatabaseSection(choice, PayloadTemplates(), sqlc, status);
}

void RunDatabaseSection(const TDatabaseChoice& choice, const TSqlTemplates& templates, dbx::TSQLConnection& sqlc,
                        IProvisionStatus& status)
{
    if (!choice.ServerSelected) return;
    if (choice.Create) {
        status.ShowStep("Seting up database");
        const TStatements statements = BuildStatements(choice.Settings, templates);
        try {
            SendStatements(statements, sqlc, status);
        } catch (const dbx::EDatabaseError& e) {
            sqlc.Close();
            status.ShowDatabaseError(e.Message());
        }
    }
    if (choice.Script) {
        status.ShowStep("Scripting to batch (sql) file");
        WriteSetupSql(choice.Folder, ComposeSetupSql(choice.Settings, templates));
    }
}

void WriteSetupSql(const std::string& folder, const std::string& content)
{
    const std::string path = folder + "\\setup.sql";
    const rtl::FileHandle file = rtl::CreateOutputFile(path, GENERIC_WRITE);
    rtl::WriteWhole(file.get(), content.data(), content.size(), path);
}

void SetServer(dbx::TSQLConnection& sqlc, const std::string& host)
{
    sqlc.Params().SetValue("HostName", host);
    sqlc.Params().SetValue("DataBase", "master");
}

void CheckRights(dbx::TSQLConnection& sqlc, const std::string& user, const std::string& password)
{
    sqlc.Params().SetValue("User_Name", user);
    sqlc.Params().SetValue("Password", password);
    if (sqlc.Connected()) sqlc.Close();
    sqlc.Open();
    sqlc.ExecuteDirect(std::string(RightsCheckSql));
    sqlc.Close();
}

}  // namespace database
