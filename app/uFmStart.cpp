#include "uFmStart.h"

#include "platform/ui/dialogs.h"
#include "startup.h"

TFmStart::TFmStart() : TForm("FmStart", ui::Application().Title(), 640, 480, ui::TFormStyle::None)
{
    SetClientSize(640, 480);
    CenterOnScreen();
    Image1 = Make<ui::TImage>(this);
    Image1->SetName("Image1");
    Image1->SetAlign(ui::TAlign::alClient);
    Image1->LoadResourcePicture("SPLASH");
    tmStart = Make<ui::TTimer>();
    tmStart->SetInterval(3000);
    tmStart->OnTimer = [this](ui::TObject* sender) { tmStartTimer(sender); };
}

void TFmStart::SetPhases(ui::TForm* eula, ui::TForm* detect, ui::TForm* wizard)
{
    eula_ = eula;
    detect_ = detect;
    wizard_ = wizard;
}

void TFmStart::tmStartTimer(ui::TObject* /*sender*/)
{
    tmStart->SetEnabled(false);
    Hide();
    // Closing the splash ends the program, whatever happened in the phases.
    struct CloseAtEnd {
        TFmStart* self;
        ~CloseAtEnd() { self->Close(); }
    } closeAtEnd{this};
    RunStartupSequence(
        {[this] { return eula_->ShowModal(); }, [this] { return detect_->ShowModal(); },
         [this] { return wizard_->ShowModal(); }, [] { ui::ShowMessage("Installation is complete"); }});
}
