#include "appframe.h"

namespace apps {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kBarMargin = 2;
constexpr int kLineHeight = 14;

}  // namespace

TAppForm::TAppForm(const std::string& name, const std::string& caption) : TForm(name, caption, 640, 452)
{
    // The bar first: aligned controls dock in the order they are made.
    pnBn = Make<ui::TPanel>(this);
    pnBn->SetName("pnBn");
    pnBn->SetBevelOuter(ui::TBevel::bvNone);
    pnBn->SetHeight(kButtonHeight + 2 * kBarMargin);
    pnBn->SetAlign(ui::TAlign::alBottom);
    auto* pnSep = Make<ui::TPanel>(this);
    pnSep->SetName("pnSep");
    pnSep->SetBevelOuter(ui::TBevel::bvNone);
    pnSep->SetHeight(3);
    pnSep->SetAlign(ui::TAlign::alBottom);

    // Placed from the bar's width: Refresh at its left edge, Close at its
    // right. (A local placement until the window layer has a button bar.)
    bnRefresh = Make<ui::TButton>(pnBn, "Refresh");
    bnRefresh->SetName("bnRefresh");
    bnRefresh->SetBounds(kBarMargin, kBarMargin, kButtonWidth, kButtonHeight);
    bnRefresh->SetAnchors(ui::akLeft | ui::akBottom);
    bnRefresh->OnClick = [this](ui::TObject* sender) { bnRefreshClick(sender); };
    bnClose = Make<ui::TButton>(pnBn, "Close");
    bnClose->SetName("bnClose");
    bnClose->SetBounds(pnBn->ClientWidth() - kBarMargin - kButtonWidth, kBarMargin, kButtonWidth, kButtonHeight);
    bnClose->SetAnchors(ui::akRight | ui::akBottom);
    bnClose->SetCancel(true);
    bnClose->OnClick = [this](ui::TObject*) { Close(); };

    tmStart = Make<ui::TTimer>();
    tmStart->SetEnabled(false);
    tmStart->SetInterval(100);
    tmStart->OnTimer = [this](ui::TObject* sender) { tmStartTimer(sender); };
    OnShow = [this](ui::TObject*) { tmStart->SetEnabled(true); };
}

void TAppForm::tmStartTimer(ui::TObject* /*sender*/)
{
    tmStart->SetEnabled(false);
    Load();
}

void TAppForm::bnRefreshClick(ui::TObject* /*sender*/)
{
    Load();
}

ui::TPanel* TAppForm::MakeSection(ui::TControl* parent, const std::string& name, const std::string& header)
{
    auto* section = Make<ui::TPanel>(parent);
    section->SetName("pn" + name);
    section->SetBevelWidth(2);
    section->SetBorderWidth(1);
    auto* title = Make<ui::TStaticText>(section, header);
    title->SetName("st" + name);
    ui::TFontSpec bold;
    bold.Bold = true;
    title->SetFont(bold);
    title->SetHeight(17);
    title->SetAlign(ui::TAlign::alTop);
    return section;
}

ui::TLabel* TAppForm::MakeNote(ui::TControl* parent, const std::string& name, int left, int top, int lines)
{
    auto* note = Make<ui::TLabel>(parent, "");
    note->SetName("lb" + name);
    note->SetAutoSize(false);
    note->SetWordWrap(lines > 1);
    note->SetBounds(left, top, parent->ClientWidth() - 2 * left, lines * kLineHeight);
    note->SetAnchors(ui::akLeft | ui::akTop | ui::akRight);
    return note;
}

std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r' || c == '\n') c = ' ';
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    }
    return out;
}

}  // namespace apps
