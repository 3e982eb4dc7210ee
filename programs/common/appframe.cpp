#include "appframe.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/rtl/module.h"
#include "platform/ui/dialogs.h"

namespace apps {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 5;
constexpr int kBarMargin = 2;

}  // namespace

int RunApplication(const std::string& title, const std::function<std::unique_ptr<ui::TForm>()>& create)
{
    rtl::RestrictDllSearch();
    const HRESULT ole = OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    ui::Application().SetTitle(title);
    int exitCode = 0;
    try {
        const std::unique_ptr<ui::TForm> form = create();
        ui::Application().SetMainForm(form.get());
        exitCode = ui::Application().Run();
        ui::Application().SetMainForm(nullptr);
    } catch (const std::exception& e) {
        ui::Application().SetMainForm(nullptr);
        ui::ShowError(e.what());
        exitCode = 1;
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return exitCode;
}

ui::TPanel* MakeButtonBar(ui::TForm* form)
{
    auto* bar = form->Make<ui::TPanel>(form);
    bar->SetName("pnBn");
    bar->SetBevelOuter(ui::TBevel::bvNone);
    bar->SetHeight(kButtonHeight + 2 * kBarMargin);
    bar->SetAlign(ui::TAlign::alBottom);
    auto* gap = form->Make<ui::TPanel>(form);
    gap->SetName("pnSep");
    gap->SetBevelOuter(ui::TBevel::bvNone);
    gap->SetHeight(3);
    gap->SetAlign(ui::TAlign::alBottom);
    return bar;
}

void PlaceButtons(ui::TPanel* bar, std::initializer_list<ui::TButton*> left, std::initializer_list<ui::TButton*> right)
{
    int x = kBarMargin;
    for (ui::TButton* b : left) {
        b->SetBounds(x, kBarMargin, kButtonWidth, kButtonHeight);
        b->SetAnchors(ui::akLeft | ui::akBottom);
        x += kButtonWidth + kButtonGap;
    }
    x = bar->ClientWidth() - kBarMargin - static_cast<int>(right.size()) * (kButtonWidth + kButtonGap) + kButtonGap;
    for (ui::TButton* b : right) {
        b->SetBounds(x, kBarMargin, kButtonWidth, kButtonHeight);
        b->SetAnchors(ui::akRight | ui::akBottom);
        x += kButtonWidth + kButtonGap;
    }
}

ui::TPanel* MakeSection(ui::TForm* form, ui::TControl* parent, const std::string& name, const std::string& header)
{
    auto* section = form->Make<ui::TPanel>(parent);
    section->SetName("pn" + name);
    section->SetBevelWidth(2);
    section->SetBorderWidth(1);
    auto* title = form->Make<ui::TStaticText>(section, header);
    title->SetName("st" + name);
    ui::TFontSpec bold;
    bold.Bold = true;
    title->SetFont(bold);
    title->SetHeight(17);
    title->SetAlign(ui::TAlign::alTop);
    return section;
}

}  // namespace apps
