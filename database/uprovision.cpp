#include "uprovision.h"

#include <windows.h>

#include "platform/rtl/handles.h"
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
    rtl::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        throw EFCreateError(rtl::Format("Cannot create file \"%s\". %s", {path, rtl::SysErrorMessage(error)}));
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr))
        rtl::RaiseLastOSError();
    if (written != content.size()) rtl::RaiseLastOSError(ERROR_DISK_FULL);
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
