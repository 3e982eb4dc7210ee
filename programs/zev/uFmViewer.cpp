#include "uFmViewer.h"

#include "platform/ui/cursor.h"
#include "viewer_source.h"

TFmViewer::TFmViewer() : TAppForm("FmViewer", "quorvane Viewer")
{
    pnInventory = MakeSection(this, "Inventory", "System Information");
    pnInventory->SetAlign(ui::TAlign::alClient);
    auto* pnSource = Make<ui::TPanel>(pnInventory);
    pnSource->SetName("pnSource");
    pnSource->SetBevelOuter(ui::TBevel::bvNone);
    pnSource->SetHeight(64);
    pnSource->SetAlign(ui::TAlign::alTop);
    lbSource = MakeNote(pnSource, "Source", 4, 4, 1);
    lbReason = MakeNote(pnSource, "Reason", 4, 20, 3);
    lbInventory = Make<ui::TListBox>(pnInventory);
    lbInventory->SetName("lbInventory");
    lbInventory->SetAlign(ui::TAlign::alClient);
    SetActiveControl(lbInventory);
}

namespace {

// Refresh is usable again however the load ends.
class TDisabledWhile {
public:
    explicit TDisabledWhile(ui::TControl* control) : control_(control) { control_->SetEnabled(false); }
    ~TDisabledWhile() { control_->SetEnabled(true); }
    TDisabledWhile(const TDisabledWhile&) = delete;
    TDisabledWhile& operator=(const TDisabledWhile&) = delete;

private:
    ui::TControl* control_;
};

}  // namespace

void TFmViewer::Load()
{
    const TDisabledWhile busy(bnRefresh);
    lbInventory->Clear();
    lbSource->SetText("Reading this computer's inventory...");
    lbReason->SetText("");
    Repaint();
    {
        ui::TCursorGuard cursor;
        const TViewerInventory inventory = GetViewerInventory();
        // Values indented below their section header, so that sections stand out.
        for (const std::string& line : inventory.Lines) lbInventory->Add(line.starts_with('[') ? line : "    " + line);
        lbSource->SetText(inventory.Source);
        lbReason->SetText(apps::OneLine(inventory.Reason));
    }
}
