// The licence agreement window.
#pragma once

#include "platform/ui/buttonbar.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TFmEula : public ui::TForm {
public:
    TFmEula();

    void reEulaEnter(ui::TObject* sender);

    ui::TButtonBar* Panel1;
    ui::TButton* bnNo;
    ui::TButton* bnYes;
    ui::TPanel* Panel2;
    ui::TRichEdit* reEula;

protected:
    // Loads the licence text, on every showing.
    void FormShow() override;
};
