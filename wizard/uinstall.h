// The installation run's engine, apart from the window: it takes one plain
// value of its inputs and tells its progress through a narrow status
// interface, so a test can run it whole with a recording sink. Sections:
//   uinstall.cpp            the order of the run and the opening checks
//   uinstall_extract.cpp    the payload files and rci.dat
//   uinstall_register.cpp   vendor, product, uninstall entry, component records
//   uinstall_services.cpp   the service programs' installation and the service start
//   uinstall_shortcuts.cpp  Start-menu and desktop shortcuts
#pragma once

#include <windows.h>

#include <string>

#include "database/uprovision.h"
#include "install_plan.h"
#include "payload/payload.h"
#include "platform/dbx/sqlconnection.h"

namespace ureg {
class TSetReg;
}

// What the run tells the window: one status line per step, and database
// errors, which are shown while the run goes on.
class IInstallStatus : public database::IProvisionStatus {
protected:
    ~IInstallStatus() = default;
};

// The eight program and library records the run writes.
struct TPayloadSet {
    const TPayloadRecord* Server;         // msvc.exe
    const TPayloadRecord* ServerApp;      // zevman.exe
    const TPayloadRecord* Driver;         // dbexpmss.dll
    const TPayloadRecord* DataRetriever;  // dsvc.exe
    const TPayloadRecord* StartupAgent;   // uload.exe
    const TPayloadRecord* Agent;          // csvc.exe
    const TPayloadRecord* Viewer;         // zev.exe
    const TPayloadRecord* Uninstaller;    // Uninstall.exe
    // The records built into this program.
    static TPayloadSet Carried();
};

// Writes record's data to folder + "\" + its name in one write.
void ExtractPayload(const std::string& folder, const TPayloadRecord& record);
// Writes folder + "\rci.dat": uninstaller, data retriever, startup agent,
// agent, viewer, each after its 8-byte length.
void WriteRemoteInstallData(const std::string& folder, const TPayloadSet& payloads);

// Runs program with "/install /silent", hidden, without waiting for it; a
// program the shell cannot start raises the system's text for the shell's code.
void InstallService(const std::string& program, HWND owner);

class TInstallRun {
public:
    // sqlc carries the database server and administrator login of stage 3.
    // owner: the window that owns the shell's folder look-ups and launches.
    TInstallRun(TInstallInput input, dbx::TSQLConnection& sqlc, IInstallStatus& status, HWND owner = nullptr,
                const TPayloadSet& payloads = TPayloadSet::Carried());

    // Runs every step in order; the first error other than a database error
    // is raised, with everything held by the run released.
    void Execute();

private:
    // Shows the step's text when the step applies; returns whether it does.
    bool Step(TStep step);
    void OpeningChecks();
    void Extract();
    void Register();
    void RegisterComponent(ureg::TSetReg& writer, const std::string& vendorKey, TComponent component,
                           const std::string& uninstallVersion);
    void Database();
    void StartServices();
    void Shortcuts();

    TInstallInput input_;
    dbx::TSQLConnection& sqlc_;
    IInstallStatus& status_;
    HWND owner_;
    TPayloadSet payloads_;
    TRegisteredState registered_;
};
