// TFmMain: the stage-3 login and rights check.
#include "platform/ui/dialogs.h"
#include "uFmMain.h"

// PLACEHOLDER until the database connection arrives: with database creation
// chosen, the administrator login is asked for here; the connection to the
// master database and the rights check still have to follow, with database
// errors shown in a message box and false returned.
bool TFmMain::CheckDatabaseLogin()
{
    std::string userName, password;
    return ui::LoginDialog("MSSQL", userName, password);
}
