// The installation run: its order, its opening checks and the database section.
#include "uinstall.h"

#include "platform/rtl/files.h"
#include "platform/rtl/handles.h"
#include "services/uscm.h"
#include "ucsvcfile.h"
#include "udbexpmssdll.h"
#include "udsvcfile.h"
#include "umsvcfile.h"
#include "uuloadfile.h"
#include "uuninstallfile.h"
#include "uzevfile.h"
#include "uzevmanfile.h"

TPayloadSet TPayloadSet::Carried()
{
    return {&TFMs, &TFMa, &TFDbx, &TFDs, &TFUl, &TFCs, &TFCa, &TFUi};
}

TInstallRun::TInstallRun(TInstallInput input, dbx::TSQLConnection& sqlc, IInstallStatus& status, HWND owner,
                         const TPayloadSet& payloads)
    : input_(std::move(input)), sqlc_(sqlc), status_(status), owner_(owner), payloads_(payloads)
{
}

bool TInstallRun::Step(TStep step)
{
    if (!StepApplies(step, input_, registered_)) return false;
    const char* text = StepText(step);
    if (*text != '\0') status_.ShowStep(text);
    return true;
}

void TInstallRun::Execute()
{
    Step(TStep::Start);
    OpeningChecks();
    Extract();
    Register();
    Database();
    StartServices();
    Shortcuts();
}

void TInstallRun::OpeningChecks()
{
    Step(TStep::RegistryAccess);
    {
        rtl::RegKey key;
        const LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS, key.put());
        if (status != ERROR_SUCCESS) rtl::RaiseLastOSError(static_cast<unsigned long>(status));
    }
    Step(TStep::ServiceManagerAccess);
    {
        TSvcMan manager(SC_MANAGER_ALL_ACCESS);
        if (manager.Handle() == nullptr) rtl::RaiseLastOSError();
    }
    Step(TStep::CreateFolder);
    // Records and shortcuts would point nowhere from a relative folder.
    if (!IsFullPath(input_.Folder))
        throw rtl::Exception("The destination folder \"" + input_.Folder +
                             "\" is not a full path. Enter a folder that begins with a drive letter, such as "
                             "C:\\Program Files\\Bsk\\quorvane, or with \\\\server\\share.");
    if (!rtl::ForceDirectories(input_.Folder)) rtl::RaiseLastOSError();
}

void TInstallRun::Database()
{
    if (!input_.Server) return;
    database::TDatabaseChoice choice;
    choice.ServerSelected = input_.Server;
    choice.Create = input_.Create;
    choice.Script = input_.Script;
    choice.Folder = input_.Folder;
    choice.Settings = {input_.Settings.DbName, input_.Settings.DbUser, input_.Settings.DbPass};
    database::RunDatabaseSection(choice, sqlc_, status_);
}
