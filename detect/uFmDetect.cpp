#include "uFmDetect.h"

#include "platform/ui/cursor.h"

TFmDetect::TFmDetect() : TForm("FmDetect", "quorvane Setup : Detection Phase", 640, 452)
{
    Panel2 = Make<ui::TButtonBar>(this);
    Panel2->SetName("Panel2");
    Panel2->SetBorderWidth(1);
    // Tab order: Cancel first, so that Enter before the detection has ended
    // never goes on by itself.
    bnCancel = Panel2->AddButton("bnCancel", "Cancel");
    bnCancel->SetCancel(true);
    bnCancel->SetModalResult(ui::mrCancel);
    bnOk = Panel2->AddButton("bnOk", "Ok");
    bnOk->SetDefault(true);
    bnOk->SetModalResult(ui::mrOk);

    Panel3 = Make<ui::TPanel>(this);
    Panel3->SetName("Panel3");
    Panel3->SetBevelOuter(ui::TBevel::bvNone);
    Panel3->SetHeight(3);
    Panel3->SetAlign(ui::TAlign::alBottom);

    Panel1 = Make<ui::TPanel>(this);
    Panel1->SetName("Panel1");
    Panel1->SetBorderWidth(4);
    Panel1->SetColor(ui::clWindow);
    Panel1->SetAlign(ui::TAlign::alClient);

    clb = Make<ui::TCheckListBox>(Panel1);
    clb->SetName("clb");
    clb->SetWidth(355);
    clb->SetItemHeight(13);
    clb->SetTabStop(false);
    clb->SetAlign(ui::TAlign::alRight);
    Panel4 = Make<ui::TPanel>(Panel1);
    Panel4->SetName("Panel4");
    Panel4->SetBevelOuter(ui::TBevel::bvNone);
    Panel4->SetParentColor(true);
    Panel4->SetWidth(8);
    Panel4->SetAlign(ui::TAlign::alRight);
    Image1 = Make<ui::TImage>(Panel1);
    Image1->SetName("Image1");
    Image1->SetAlign(ui::TAlign::alClient);
    Image1->LoadResourcePicture("BANNER");
    // Nothing on the panel takes mouse or keyboard input.
    Panel1->SetEnabled(false);

    tm = Make<ui::TTimer>();
    tm->SetEnabled(false);
    tm->SetInterval(500);
    tm->OnTimer = [this](ui::TObject* sender) { tmTimer(sender); };
}

int TFmDetect::ShowModal()
{
    tm->SetEnabled(true);
    const int result = TForm::ShowModal();
    // Closed before the first tick: no detection may run behind the wizard.
    tm->SetEnabled(false);
    return result;
}

void TFmDetect::tmTimer(ui::TObject* /*sender*/)
{
    tm->SetEnabled(false);
    Detect();
}

void TFmDetect::Detect()
{
    AddStep("Detecting previous installation...");
    ShowLines();
    ui::TCursorGuard cursor;
    if (DetectPreviousInstallation(*this)) {
        // Only Cancel, Esc or the close box lead out now.
        bnOk->SetEnabled(false);
        return;
    }
    cursor.Restore();
    SetActiveControl(bnOk);
}

void TFmDetect::AddStep(const std::string& text)
{
    clb->SetChecked(clb->Add(text), true);
}

void TFmDetect::AddFinding(const std::string& text)
{
    clb->SetHeader(clb->Add(text), true);
}

void TFmDetect::ShowLines()
{
    clb->Repaint();
    Sleep(300);
}
