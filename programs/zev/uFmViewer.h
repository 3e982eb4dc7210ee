// The Viewer's window: this computer's inventory, and where it came from.
#pragma once

#include "platform/ui/listbox.h"
#include "programs/common/appframe.h"

class TFmViewer : public apps::TAppForm {
public:
    TFmViewer();

    ui::TPanel* pnInventory;
    ui::TLabel* lbSource;
    ui::TLabel* lbReason;
    ui::TListBox* lbInventory;

protected:
    void Load() override;
};
