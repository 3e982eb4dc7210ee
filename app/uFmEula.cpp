#include "uFmEula.h"

#include "platform/rtl/sysutils.h"
#include "uEulaData.h"

TFmEula::TFmEula() : TForm("FmEula", "End User License Agreement", 640, 480)
{
    Panel1 = Make<ui::TPanel>(this);
    Panel1->SetName("Panel1");
    Panel1->SetBevelOuter(ui::TBevel::bvNone);
    Panel1->SetHeight(29);
    Panel1->SetAlign(ui::TAlign::alBottom);

    // Right-aligned pair, 5 pixels apart: Disagree, then I Agree.
    const int right = Panel1->ClientWidth() - 2;
    bnNo = Make<ui::TButton>(Panel1, "Disagree");
    bnNo->SetName("bnNo");
    bnNo->SetBounds(right - 75 - 5 - 75, 2, 75, 25);
    bnNo->SetAnchors(ui::akRight | ui::akBottom);
    bnNo->SetCancel(true);
    bnNo->SetModalResult(ui::mrCancel);
    bnYes = Make<ui::TButton>(Panel1, "I Agree");
    bnYes->SetName("bnYes");
    bnYes->SetBounds(right - 75, 2, 75, 25);
    bnYes->SetAnchors(ui::akRight | ui::akBottom);
    bnYes->SetDefault(true);
    bnYes->SetModalResult(ui::mrOk);

    Panel2 = Make<ui::TPanel>(this);
    Panel2->SetName("Panel2");
    Panel2->SetBevelOuter(ui::TBevel::bvNone);
    Panel2->SetHeight(4);
    Panel2->SetAlign(ui::TAlign::alBottom);

    reEula = Make<ui::TRichEdit>(this);
    reEula->SetName("reEula");
    reEula->SetReadOnly(true);
    reEula->SetTabStop(false);
    reEula->SetAlign(ui::TAlign::alClient);
    reEula->OnEnter = [this](ui::TObject* sender) { reEulaEnter(sender); };

    SetActiveControl(bnYes);
}

void TFmEula::FormShow()
{
    // No agreement to a text that could not be shown.
    const bool shown = reEula->LoadRtf(TEula.Data, TEula.Size);
    bnYes->SetEnabled(shown);
    if (!shown) {
        SetActiveControl(bnNo);
        throw rtl::Exception("The licence agreement cannot be shown.");
    }
    SetActiveControl(bnYes);
}

// The text never keeps the focus: a click into it hands the focus to "I Agree".
void TFmEula::reEulaEnter(ui::TObject* /*sender*/)
{
    SetActiveControl(bnYes);
}
