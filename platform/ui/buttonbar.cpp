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
    Arrange();
    return button;
}

void TButtonBar::Resized()
{
    TPanel::Resized();
    Arrange();
}

void TButtonBar::Arrange()
{
    int right = ClientWidth() - kMargin;
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
        if (!(*it)->Visible()) continue;
        (*it)->SetBounds(right - kButtonWidth, kMargin, kButtonWidth, kButtonHeight);
        right -= kButtonWidth + kGap;
    }
}

}  // namespace ui
