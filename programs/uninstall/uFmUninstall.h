// The uninstaller's window, in the setup's style: first the confirmation with
// the list of what was found, then the result of the removal.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "installation.h"
#include "platform/ui/buttonbar.h"
#include "platform/ui/checklst.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TFmUninstall : public ui::TForm {
public:
    enum class TMode { Confirm, Result };
    TFmUninstall(TMode mode, const std::string& text, const std::vector<uninst::TListLine>& lines);

    // Confirm mode: pressing Uninstall runs this (the window shows that it
    // works meanwhile), then the window closes with OK.
    std::function<void()> OnUninstall;
    void bnOkClick(ui::TObject* sender);

    ui::TPanel* Panel1;
    ui::TLabel* lbText;
    ui::TCheckListBox* clb;
    ui::TPanel* Panel3;
    ui::TButtonBar* Panel2;
    ui::TButton* bnCancel;
    ui::TButton* bnOk;

private:
    TMode mode_;
};
