#include "buttonbar.h"

#include "forms.h"
#include "platform/rtl/sysutils.h"

namespace ui {

TButtonBar::TButtonBar(TControl* parent) : TPanel(parent)
{
    SetBevelOuter(TBevel::bvNone);
    SetHeight(kHeight);
    SetAlign(TAlign::alBottom);
}

TButton* TButtonBar::AddButton(const std::string& name, const std::string& caption)
{
    TForm* form = ParentForm();
    if (form == nullptr) throw rtl::Exception("A button bar needs a form to own its buttons.");
    TButton* button = form->Make<TButton>(this, caption);
    button->SetName(name);
    buttons_.push_back(button);
    PlaceButtons();
    return button;
}

void TButtonBar::Resized()
{
    TPanel::Resized();
    PlaceButtons();
}

void TButtonBar::PlaceButtons()
{
    int left = ClientWidth() - kMargin - static_cast<int>(buttons_.size()) * (kButtonWidth + kGap) + kGap;
    for (TButton* button : buttons_) {
        button->SetBounds(left, kMargin, kButtonWidth, kButtonHeight);
        left += kButtonWidth + kGap;
    }
}

}  // namespace ui
