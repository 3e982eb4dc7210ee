// The setup's four-stage wizard window. The class is split by section:
//   uFmMain.cpp         layout of the window and the default settings
//   uFmMain_stages.cpp  stage looks, navigation and the stage-1 check
//   uFmMain_conn.cpp    the stage-2 check (connection stage)
//   uFmMain_db.cpp      the stage-3 check (database stage)
//   uFmMain_folder.cpp  default destination folder and the folder browser
//   uFmMain_run.cpp     the installation run behind Install
#pragma once

#include <optional>
#include <string>

#include "database/udriverfile.h"
#include "platform/dbx/sqlconnection.h"
#include "platform/ui/actions.h"
#include "platform/ui/buttonbar.h"
#include "platform/ui/checklst.h"
#include "platform/ui/cursor.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "install_plan.h"
#include "stage_rules.h"

class TFmMain : public ui::TForm {
public:
    // Builds the window and sets the nine settings to their defaults; raises
    // the network error when the local host name does not resolve.
    TFmMain();

    // The three looks of a stage, each given a stage panel and its number label.
    void StagePending(ui::TPanel* panel, ui::TLabel* number);
    void StageActive(ui::TPanel* panel, ui::TLabel* number);
    void StageDone(ui::TPanel* panel, ui::TLabel* number);

    void NoActionExecute(ui::TObject* sender);
    void amSelExecute(ui::TObject* sender);
    void amConnExecute(ui::TObject* sender);
    void amDbExecute(ui::TObject* sender);
    void amFinExecute(ui::TObject* sender);
    void bnNextClick(ui::TObject* sender);
    void leFolderSubLabelClick(ui::TObject* sender);

    // The components ticked in stage 1, read from the check lists.
    TComponentChoice Choice() const;
    bool ServerSelected() const { return clbSelS->Checked(1); }
    // What the installation run reads from the window.
    TInstallInput InstallInput() const;
    // One status line of the run in stage 4: shown, repainted at once, then 300 ms.
    void ShowStep(const std::string& text);

    // Installation settings, as text.
    std::string FHost, FServer, FClient, FLocal, FData;
    std::string FDbHost, FDbName, FDbUser, FDbPass;

    // The private copy of the driver library that sqlc loads, written when the
    // stage-3 check first connects. Declared before sqlc so that it outlives
    // the connection: the file can only go once the library is unloaded.
    std::optional<database::TSqlDriverFile> FSqlDriver;
    // The SQL connection. The stage-3 check leaves the database server,
    // "master" and the administrator login in its parameters for the run.
    dbx::TSQLConnection sqlc;

    // Button bar
    ui::TButtonBar* pnBn;
    ui::TButton* bnCancel;
    ui::TButton* bnBack;
    ui::TButton* bnNext;
    ui::TPanel* pnSep;
    ui::TPanel* pn;
    // Stage 1
    ui::TPanel* pnSel;
    ui::TLabel* lbSel;
    ui::TPanel* pncSel;
    ui::TStaticText* stSel;
    ui::TCheckListBox* clbSelS;
    ui::TCheckListBox* clbSelC;
    ui::TPanel* pnFolder;
    ui::TLabeledEdit* leFolder;
    // Stage 2
    ui::TPanel* pnConn;
    ui::TLabel* lbConn;
    ui::TPanel* pncConn;
    ui::TStaticText* stConn;
    ui::TPanel* pnServer;
    ui::TStaticText* stServer;
    ui::TLabeledEdit* leHost;
    ui::TLabeledEdit* leServer;
    ui::TPanel* pnClient;
    ui::TStaticText* stClient;
    ui::TLabeledEdit* leClient;
    ui::TLabeledEdit* leLocal;
    ui::TPanel* pnData;
    ui::TStaticText* stData;
    ui::TLabeledEdit* leData;
    // Stage 3
    ui::TPanel* pnDb;
    ui::TLabel* lbDb;
    ui::TPanel* pncDb;
    ui::TStaticText* stDb;
    ui::TCheckBox* cbCreate;
    ui::TCheckBox* cbScript;
    ui::TLabeledEdit* leDbHost;
    ui::TLabeledEdit* leDbName;
    ui::TLabeledEdit* leDbUser;
    ui::TLabeledEdit* leDbPass;
    // Stage 4
    ui::TPanel* pnFin;
    ui::TLabel* lbFin;
    ui::TPanel* pncFin;
    ui::TStaticText* stFin;
    ui::TLabel* lbFinText;
    // Actions
    ui::TAction* amSel;
    ui::TAction* amConn;
    ui::TAction* amDb;
    ui::TAction* NoAction;
    ui::TAction* amFin;

protected:
    void FormShow() override;

private:
    // Builders of the layout, one per stage.
    void BuildButtonBar();
    ui::TPanel* BuildStage(ui::TControl* parent, const char* name, const char* number, ui::TLabel*& numberLabel,
                           ui::TPanel*& content, ui::TStaticText*& header, const char* headerText);
    void BuildSelectionStage();
    void BuildConnectionStage();
    void BuildDatabaseStage();
    void BuildFinalStage();
    void SetDefaults();

    // Points a button at a handler of this window, or at nothing.
    void PointAt(ui::TButton* button, void (TFmMain::*handler)(ui::TObject*));
    // Keeps the keyboard focus on a control that can take it.
    void KeepFocusUsable();

    // The stage-2 check: probes or asks the server, and stores the connection
    // settings on success; raises with the message to show otherwise.
    void CheckConnectionStage();
    // The stage-3 login and rights check with database creation chosen; false
    // when the user cancelled or the check failed (already reported). The
    // cursor is the handler's, put back while the dialog or a message shows.
    bool CheckDatabaseLogin(ui::TCursorGuard& cursor);
};
