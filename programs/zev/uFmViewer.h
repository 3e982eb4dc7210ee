// The Viewer's window: this computer's inventory, and where it came from.
#pragma once

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/listbox.h"
#include "platform/ui/stdctrls.h"

class TFmViewer : public ui::TForm {
public:
    TFmViewer();

    void bnRefreshClick(ui::TObject* sender);
    void tmStartTimer(ui::TObject* sender);

    ui::TPanel* pnBn;
    ui::TButton* bnRefresh;
    ui::TButton* bnClose;
    ui::TPanel* pnInventory;
    ui::TLabel* lbSource;
    ui::TLabel* lbReason;
    ui::TListBox* lbInventory;
    ui::TTimer* tmStart;

private:
    void Load();
};
