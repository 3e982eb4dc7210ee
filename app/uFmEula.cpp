#include "uFmEula.h"

#include "platform/rtl/sysutils.h"
#include "uEulaData.h"

TFmEula::TFmEula() : TForm("FmEula", "End User License Agreement", 640, 480)
{
    Panel1 = Make<ui::TButtonBar>(this);
    Panel1->SetName("Panel1");
    bnNo = Panel1->AddButton("bnNo", "Disagree");
    bnNo->SetCancel(true);
    bnNo->SetModalResult(ui::mrCancel);
    bnYes = Panel1->AddButton("bnYes", "I Agree");
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
