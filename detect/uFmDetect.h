// The detection window, shown between the licence and the wizard.
#pragma once

#include "detection.h"
#include "platform/ui/buttonbar.h"
#include "platform/ui/checklst.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TFmDetect : public ui::TForm, private IDetectionView {
public:
    TFmDetect();

    // Starts the timer that runs the detection, then shows the window modally.
    int ShowModal() override;
    void tmTimer(ui::TObject* sender);
    void Detect();

    ui::TButtonBar* Panel2;
    ui::TButton* bnCancel;
    ui::TButton* bnOk;
    ui::TPanel* Panel3;
    ui::TPanel* Panel1;
    ui::TCheckListBox* clb;
    ui::TPanel* Panel4;
    ui::TImage* Image1;
    ui::TTimer* tm;

private:
    void AddStep(const std::string& text) override;
    void AddFinding(const std::string& text) override;
    void ShowLines() override;
};
