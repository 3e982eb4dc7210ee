// The splash window: the program's main window, which runs the startup
// sequence when its timer first fires.
#pragma once

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"

class TFmStart : public ui::TForm {
public:
    TFmStart();

    // The phases shown in turn by the startup sequence.
    void SetPhases(ui::TForm* eula, ui::TForm* detect, ui::TForm* wizard);
    void tmStartTimer(ui::TObject* sender);

    ui::TImage* Image1;
    ui::TTimer* tmStart;

private:
    ui::TForm* eula_ = nullptr;
    ui::TForm* detect_ = nullptr;
    ui::TForm* wizard_ = nullptr;
};
