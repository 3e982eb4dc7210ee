// TFmMain: the installation run behind Install. The engine (uinstall.h) does
// the work; the window supplies its inputs and shows its steps.
#include <exception>

#include "platform/ui/dialogs.h"
#include "uFmMain.h"
#include "uinstall.h"

namespace {

// The status steps go to lbFinText, each repainted at once and left on
// screen for 300 ms; database errors go to a plain message box.
class TWizardStatus : public IInstallStatus {
public:
    explicit TWizardStatus(TFmMain& form) : form_(form) {}
    void ShowStep(const std::string& text) override { form_.ShowStep(text); }
    void ShowDatabaseError(const std::string& message) override { ui::ShowMessage(message); }

private:
    TFmMain& form_;
};

}  // namespace

void TFmMain::ShowStep(const std::string& text)
{
    lbFinText->SetCaption(text);
    lbFinText->Repaint();
    Sleep(300);
}

TInstallInput TFmMain::InstallInput() const
{
    const TComponentChoice choice = Choice();
    TInstallInput input;
    input.Server = choice.Server;
    input.Agent = choice.Agent;
    input.UserApp = choice.UserApp;
    input.Create = cbCreate->Checked();
    input.Script = cbScript->Checked();
    input.Folder = leFolder->Text();
    input.Settings = {FHost, FServer, FClient, FLocal, FData, FDbHost, FDbName, FDbUser, FDbPass};
    return input;
}

void TFmMain::bnNextClick(ui::TObject* /*sender*/)
{
    ui::TCursorGuard cursor;
    bnCancel->SetEnabled(false);
    bnBack->SetEnabled(false);
    bnNext->SetEnabled(false);
    stFin->SetText("Installing..");
    stFin->Repaint();
    // One line at a time, at the foot of the stage.
    lbFinText->SetCaption("");
    lbFinText->SetWordWrap(false);
    lbFinText->SetAutoSize(true);
    lbFinText->SetAlign(ui::TAlign::alBottom);

    std::string failure;
    try {
        TWizardStatus status(*this);
        TInstallRun(InstallInput(), sqlc, status, Handle()).Execute();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    cursor.Restore();
    if (!failure.empty()) {
        ui::ShowMessage(failure);
        SetModalResult(2);
        return;
    }
    SetModalResult(1);
}
