// The database section of the installation run, and the stage-3 rights check.
#pragma once

#include <string>

#include "platform/dbx/sqlconnection.h"
#include "platform/rtl/files.h"
#include "usqltext.h"

namespace database {

// A file that cannot be created: "Cannot create file "<path>". <system text>".
using rtl::EFCreateError;

// What the section tells the window: progress lines and database errors.
class IProvisionStatus {
public:
    // One status step ("Creating database", ...).
    virtual void ShowStep(const std::string& text) = 0;
    // A database error's own text, for a plain message box; the run goes on.
    virtual void ShowDatabaseError(const std::string& message) = 0;

protected:
    ~IProvisionStatus() = default;
};

struct TDatabaseChoice {
    bool ServerSelected = false;  // "Service and Application" ticked
    bool Create = false;          // cbCreate
    bool Script = false;          // cbScript
    std::string Folder;           // destination folder, already created
    TDbSettings Settings;         // FDbName, FDbUser, FDbPass
};

// Sends statements 1 to 3 over sqlc as its parameters stand (when Create) and
// writes setup.sql into the folder (when Script). A database error stops the
// statements, closes the connection and is shown; the section then goes on.
// Any other error (setup.sql cannot be written) is raised.
void RunDatabaseSection(const TDatabaseChoice& choice, dbx::TSQLConnection& sqlc, IProvisionStatus& status);
// The same with the given texts in place of the carried ones.
void RunDatabaseSection(const TDatabaseChoice& choice, const TSqlTemplates& templates, dbx::TSQLConnection& sqlc,
                        IProvisionStatus& status);

// Writes setup.sql into folder, replacing a file of that name: the bytes as
// they are, no byte-order mark. Raises EFCreateError or rtl::EWriteError.
void WriteSetupSql(const std::string& folder, const std::string& content);

// Stage 3, before the login dialog: the server to connect to, and "master".
void SetServer(dbx::TSQLConnection& sqlc, const std::string& host);
// Stage 3, after the dialog: the administrator login; closes a connection left
// open by an earlier failed check, connects, runs the rights check and closes.
// Raises dbx::EDatabaseError (the connection then stays as the error left it).
void CheckRights(dbx::TSQLConnection& sqlc, const std::string& user, const std::string& password);

}  // namespace database
