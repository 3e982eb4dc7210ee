// TFmMain: the stage-3 login and rights check.
#include "database/uprovision.h"
#include "platform/ui/dialogs.h"
#include "uFmMain.h"

bool TFmMain::CheckDatabaseLogin(ui::TCursorGuard& cursor)
{
    database::SetServer(sqlc, leDbHost->Text());
    std::string userName, password;
    cursor.Restore();
    if (!ui::LoginDialog(sqlc.DriverName, userName, password)) return false;
    ui::SetScreenCursor(ui::TCursor::crHourGlass);
    try {
        if (!FSqlDriver) {
            // A copy that cannot be written leaves the check without a driver:
            // reported like a database error, the stage stays open.
            try {
                FSqlDriver.emplace();
            } catch (const rtl::EOSError& e) {
                throw dbx::EDatabaseError(e.what());
            }
            FSqlDriver->Attach(sqlc);
        }
        database::CheckRights(sqlc, userName, password);
    } catch (const dbx::EDatabaseError& e) {
        cursor.Restore();
        ui::ShowMessage(e.what());
        return false;
    }
    return true;
}
