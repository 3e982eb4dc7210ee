// TFmMain: the looks of the stages, the navigation between them and the
// stage-1 check.
#include "database/usqltext.h"
#include "platform/ui/cursor.h"
#include "platform/ui/dialogs.h"
#include "uFmMain.h"

void TFmMain::StagePending(ui::TPanel* panel, ui::TLabel* number)
{
    panel->SetEnabled(false);
    panel->SetBevelOuter(ui::TBevel::bvLowered);
    panel->SetFontColor(ui::clGrayText);
    number->SetColor(ui::clBtnFace);
    number->SetFontColor(ui::clGrayText);
    KeepFocusUsable();
}

void TFmMain::StageActive(ui::TPanel* panel, ui::TLabel* number)
{
    panel->SetEnabled(true);
    panel->SetBevelOuter(ui::TBevel::bvRaised);
    panel->SetFontColor(ui::clWindowText);
    number->SetColor(ui::clActiveCaption);
    number->SetFontColor(ui::clCaptionText);
}

void TFmMain::StageDone(ui::TPanel* panel, ui::TLabel* number)
{
    panel->SetEnabled(false);
    panel->SetBevelOuter(ui::TBevel::bvNone);
    panel->SetFontColor(ui::clWindowText);
    number->SetColor(ui::clBtnFace);
    number->SetFontColor(ui::clWindowText);
    KeepFocusUsable();
}

void TFmMain::PointAt(ui::TButton* button, void (TFmMain::*handler)(ui::TObject*))
{
    if (handler == nullptr) button->OnClick = nullptr;
    else button->OnClick = [this, handler](ui::TObject* sender) { (this->*handler)(sender); };
}

// A control in a window that was just disabled keeps the focus but cannot use
// it; Next takes it over, so that the keyboard keeps working.
void TFmMain::KeepFocusUsable()
{
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(Handle(), focus)) return;
    for (HWND w = focus; w != nullptr && w != Handle(); w = GetParent(w)) {
        if (!IsWindowEnabled(w)) {
            if (bnNext->Enabled()) bnNext->SetFocus();
            else ::SetFocus(Handle());
            return;
        }
    }
}

void TFmMain::NoActionExecute(ui::TObject* /*sender*/)
{
    StagePending(pnSel, lbSel);
    StagePending(pnConn, lbConn);
    StagePending(pnDb, lbDb);
    StagePending(pnFin, lbFin);
    bnNext->SetEnabled(true);
    bnNext->SetText("Next");
    PointAt(bnNext, nullptr);
    bnBack->SetEnabled(true);
    PointAt(bnBack, nullptr);
}

void TFmMain::amSelExecute(ui::TObject* /*sender*/)
{
    ui::TCursorGuard cursor;
    NoAction->Execute();
    StageActive(pnSel, lbSel);
    bnBack->SetEnabled(false);
    KeepFocusUsable();
    PointAt(bnNext, &TFmMain::amConnExecute);
}

TComponentChoice TFmMain::Choice() const
{
    TComponentChoice choice;
    choice.Server = clbSelS->Checked(1);
    choice.Agent = clbSelC->Checked(1);
    choice.UserApp = clbSelC->Checked(2);
    return choice;
}

void TFmMain::amConnExecute(ui::TObject* /*sender*/)
{
    ui::TCursorGuard cursor;
    const TComponentChoice choice = Choice();
    if (!StageOneComplete(choice, leFolder->Text())) {
        cursor.Restore();
        ui::ShowMessage("No selection");
        return;
    }

    struct Field {
        ui::TLabeledEdit* edit;
        bool enabled;
        const std::string& setting;
    };
    const TConnectionFields enabled = ConnectionFieldsFor(choice);
    const Field fields[] = {
        {leHost, enabled.Host, FHost},       {leServer, enabled.Server, FServer}, {leClient, enabled.Client, FClient},
        {leLocal, enabled.Local, FLocal},    {leData, enabled.Data, FData},
    };
    for (const Field& f : fields) {
        f.edit->SetEnabled(false);
        f.edit->SetText("");
    }
    for (const Field& f : fields) {
        if (!f.enabled) continue;
        f.edit->SetEnabled(true);
        f.edit->SetText(f.setting);
    }

    NoAction->Execute();
    StageDone(pnSel, lbSel);
    StageActive(pnConn, lbConn);
    PointAt(bnBack, &TFmMain::amSelExecute);
    PointAt(bnNext, &TFmMain::amDbExecute);
}

void TFmMain::amDbExecute(ui::TObject* /*sender*/)
{
    ui::TCursorGuard cursor;
    try {
        CheckConnectionStage();
        // Stage 3 shows the stored database settings, whatever it showed before.
        if (ServerSelected()) {
            leDbHost->SetText(FDbHost);
            leDbName->SetText(FDbName);
            leDbUser->SetText(FDbUser);
            leDbPass->SetText(FDbPass);
        }
    } catch (const std::exception& e) {
        cursor.Restore();
        ui::ShowMessage(e.what());
        return;
    }

    NoAction->Execute();
    StageDone(pnSel, lbSel);
    StageDone(pnConn, lbConn);
    StageActive(pnDb, lbDb);
    PointAt(bnBack, &TFmMain::amConnExecute);
    PointAt(bnNext, &TFmMain::amFinExecute);
    cursor.Restore();
    // A client-only installation has nothing to ask in stage 3.
    if (!ServerSelected()) amFin->Execute();
}

void TFmMain::amFinExecute(ui::TObject* /*sender*/)
{
    ui::TCursorGuard cursor;
    if (ServerSelected()) {
        // An empty edit, or one the SQL texts cannot carry, is said plainly
        // rather than ignored.
        const std::string problem =
            database::CheckDbEdits({leDbHost->Text(), leDbName->Text(), leDbUser->Text(), leDbPass->Text()});
        if (!problem.empty()) {
            cursor.Restore();
            ui::ShowMessage(problem);
            return;
        }
        if (!cbCreate->Checked()) {
            cursor.Restore();
            ui::ShowMessage("Warning : database might not exist!");
            ui::SetScreenCursor(ui::TCursor::crHourGlass);
        } else if (!CheckDatabaseLogin(cursor)) {
            return;
        }
    }
    FDbHost = leDbHost->Text();
    FDbName = leDbName->Text();
    FDbUser = leDbUser->Text();
    FDbPass = leDbPass->Text();

    NoAction->Execute();
    StageDone(pnSel, lbSel);
    StageDone(pnConn, lbConn);
    StageDone(pnDb, lbDb);
    StageActive(pnFin, lbFin);
    PointAt(bnBack, ServerSelected() ? &TFmMain::amDbExecute : &TFmMain::amConnExecute);
    lbFinText->SetText("Final check, please verify your setting before begin installation.\r\nClick Install to begin...");
    PointAt(bnNext, &TFmMain::bnNextClick);
    bnNext->SetText("Install");
}
