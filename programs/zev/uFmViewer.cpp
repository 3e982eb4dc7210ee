#include "uFmViewer.h"

#include "platform/ui/cursor.h"
#include "programs/common/appframe.h"
#include "viewer_source.h"

namespace {

// Socket texts carry a line break; a label line shows them as one sentence.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    std::string out;
    for (const char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return out;
}

}  // namespace

TFmViewer::TFmViewer() : TForm("FmViewer", "quorvane Viewer", 640, 452)
{
    pnBn = apps::MakeButtonBar(this);
    bnRefresh = Make<ui::TButton>(pnBn, "Refresh");
    bnRefresh->SetName("bnRefresh");
    bnRefresh->OnClick = [this](ui::TObject* sender) { bnRefreshClick(sender); };
    bnClose = Make<ui::TButton>(pnBn, "Close");
    bnClose->SetName("bnClose");
    bnClose->SetCancel(true);
    bnClose->SetDefault(true);
    bnClose->OnClick = [this](ui::TObject*) { Close(); };
    apps::PlaceButtons(pnBn, {bnRefresh}, {bnClose});

    pnInventory = apps::MakeSection(this, this, "Inventory", "System Information");
    pnInventory->SetAlign(ui::TAlign::alClient);
    auto* pnSource = Make<ui::TPanel>(pnInventory);
    pnSource->SetName("pnSource");
    pnSource->SetBevelOuter(ui::TBevel::bvNone);
    pnSource->SetHeight(50);
    pnSource->SetAlign(ui::TAlign::alTop);
    lbSource = Make<ui::TLabel>(pnSource, "");
    lbSource->SetName("lbSource");
    lbSource->SetAutoSize(false);
    lbSource->SetBounds(4, 4, pnSource->ClientWidth() - 8, 14);
    lbSource->SetAnchors(ui::akLeft | ui::akTop | ui::akRight);
    lbReason = Make<ui::TLabel>(pnSource, "");
    lbReason->SetName("lbReason");
    lbReason->SetAutoSize(false);
    lbReason->SetWordWrap(true);
    lbReason->SetBounds(4, 20, pnSource->ClientWidth() - 8, 28);
    lbReason->SetAnchors(ui::akLeft | ui::akTop | ui::akRight);
    lbInventory = Make<ui::TListBox>(pnInventory);
    lbInventory->SetName("lbInventory");
    lbInventory->SetAlign(ui::TAlign::alClient);

    // The first load runs once the window is on the screen.
    tmStart = Make<ui::TTimer>();
    tmStart->SetEnabled(false);
    tmStart->SetInterval(100);
    tmStart->OnTimer = [this](ui::TObject* sender) { tmStartTimer(sender); };
    OnShow = [this](ui::TObject*) { tmStart->SetEnabled(true); };
    SetActiveControl(lbInventory);
}

void TFmViewer::tmStartTimer(ui::TObject* /*sender*/)
{
    tmStart->SetEnabled(false);
    Load();
}

void TFmViewer::bnRefreshClick(ui::TObject* /*sender*/)
{
    Load();
}

void TFmViewer::Load()
{
    bnRefresh->SetEnabled(false);
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
        lbReason->SetText(OneLine(inventory.Reason));
    }
    bnRefresh->SetEnabled(true);
}
