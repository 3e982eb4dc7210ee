#include "uFmUninstall.h"

#include "platform/ui/cursor.h"
#include "platform/ui/dialogs.h"

TFmUninstall::TFmUninstall(TMode mode, const std::string& text, const std::vector<uninst::TListLine>& lines)
    : TForm(mode == TMode::Confirm ? "FmUninstall" : "FmResult",
            mode == TMode::Confirm ? "quorvane Uninstall : Confirmation" : "quorvane Uninstall : Result", 560, 360),
      mode_(mode)
{
    Panel2 = Make<ui::TButtonBar>(this);
    Panel2->SetName("Panel2");
    Panel2->SetBorderWidth(1);
    bnCancel = Panel2->AddButton("bnCancel", "Cancel");
    bnCancel->SetCancel(true);
    bnCancel->SetModalResult(ui::mrCancel);
    bnOk = Panel2->AddButton("bnOk", mode == TMode::Confirm ? "Uninstall" : "Close");
    bnOk->SetDefault(true);
    if (mode == TMode::Confirm) {
        bnOk->OnClick = [this](ui::TObject* sender) { bnOkClick(sender); };
    } else {
        bnOk->SetModalResult(ui::mrOk);
        bnOk->SetCancel(true);
        bnCancel->SetVisible(false);
        Panel2->Arrange();
    }

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
    lbText = Make<ui::TLabel>(Panel1, text);
    lbText->SetName("lbText");
    lbText->SetWordWrap(true);
    lbText->SetHeight(36);
    lbText->SetAlign(ui::TAlign::alTop);
    clb = Make<ui::TCheckListBox>(Panel1);
    clb->SetName("clb");
    clb->SetItemHeight(13);
    clb->SetTabStop(false);
    clb->SetAlign(ui::TAlign::alClient);
    for (const uninst::TListLine& line : lines) {
        const int i = clb->Add(line.Text);
        if (line.Header) clb->SetHeader(i, true);
        else clb->SetChecked(i, mode == TMode::Confirm);
    }
    SetActiveControl(mode == TMode::Confirm ? bnCancel : bnOk);
}

void TFmUninstall::bnOkClick(ui::TObject* /*sender*/)
{
    bnOk->SetEnabled(false);
    bnCancel->SetEnabled(false);
    lbText->SetCaption("Removing quorvane, please wait...");
    lbText->Repaint();
    try {
        ui::TCursorGuard cursor;
        if (OnUninstall) OnUninstall();
    } catch (const std::exception& e) {
        ui::ShowError(e.what());
    }
    SetModalResult(ui::mrOk);
}
