#include "stdctrls.h"

#include "forms.h"
#include "ui_handles.h"

namespace ui {

// -------------------------------------------------------------------- TLabel

TLabel::TLabel(TControl* parent, const std::string& caption) : TControl(parent)
{
    CreateWnd("STATIC", WS_VISIBLE | SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, caption);
    AdjustSize();
}

void TLabel::SetCaption(const std::string& caption)
{
    SetText(caption);
    AdjustSize();
}

void TLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustSize();
}

void TLabel::SetCentered(bool value)
{
    LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK | SS_CENTERIMAGE);
    style |= value ? (SS_CENTER | SS_CENTERIMAGE) : SS_LEFT;
    SetWindowLongPtrA(Handle(), GWL_STYLE, style);
    Invalidate();
}

void TLabel::SetWordWrap(bool value)
{
    autoSize_ = autoSize_ && !value;
    Invalidate();
}

void TLabel::FontChanged()
{
    TControl::FontChanged();
    AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || Handle() == nullptr) return;
    const std::string text = Text();
    const WindowDC dc = DCOf(Handle());
    if (!dc) return;
    RECT rc{0, 0, 0, 0};
    {
        const Selection font = SelectInto(dc.get().second, FontHandle(Font()));
        DrawTextA(dc.get().second, text.empty() ? " " : text.c_str(), -1, &rc, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    }
    SetBounds(Left(), Top(), rc.right, rc.bottom);
}

void TLabel::Command(WORD code)
{
    if (code == STN_CLICKED && OnClick) OnClick(this);
}

// --------------------------------------------------------------- TStaticText

TStaticText::TStaticText(TControl* parent, const std::string& caption) : TControl(parent)
{
    CreateWnd("STATIC", WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, WS_EX_STATICEDGE, caption);
}

// --------------------------------------------------------------------- TEdit

TEdit::TEdit(TControl* parent) : TControl(parent)
{
    CreateWnd("EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    SetHeight(21);
}

void TEdit::SetPasswordChar(char c)
{
    SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
    Invalidate();
}

HBRUSH TEdit::CtlColor(HDC dc, UINT message)
{
    if (message != WM_CTLCOLOREDIT) return nullptr;  // disabled: the system's look
    SetTextColor(dc, ColorToRGB(FontColor()));
    SetBkColor(dc, ColorToRGB(clWindow));
    return ColorBrush(clWindow);
}

// -------------------------------------------------------------- TLabeledEdit

TLabeledEdit::TLabeledEdit(TControl* parent, const std::string& label, TLabelPosition position, int spacing)
    : TEdit(parent), label_(std::make_unique<TLabel>(parent, label)), position_(position), spacing_(spacing)
{
    label_->OnClick = [this](TObject*) {
        if (OnSubLabelClick) OnSubLabelClick(this);
    };
    PlaceLabel();
}

void TLabeledEdit::SetName(const std::string& name)
{
    TEdit::SetName(name);
    label_->SetName(name + "SubLabel");
}

void TLabeledEdit::SetLabelPosition(TLabelPosition position)
{
    position_ = position;
    PlaceLabel();
}

void TLabeledEdit::PlaceLabel()
{
    if (!label_) return;
    if (position_ == TLabelPosition::lpLeft)
        label_->SetBounds(Left() - spacing_ - label_->Width(), Top() + (Height() - label_->Height()) / 2,
                          label_->Width(), label_->Height());
    else
        label_->SetBounds(Left(), Top() - spacing_ - label_->Height(), label_->Width(), label_->Height());
}

LRESULT TLabeledEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = TEdit::WndProc(message, wParam, lParam);
        PlaceLabel();
        return result;
    }
    case WM_ENABLE:
        if (label_) label_->SetEnabled(wParam != FALSE);
        break;
    case WM_SHOWWINDOW:
        if (label_) label_->SetVisible(wParam != FALSE);
        break;
    default:
        break;
    }
    return TEdit::WndProc(message, wParam, lParam);
}

// ------------------------------------------------------------------- TButton

TButton::TButton(TControl* parent, const std::string& caption) : TControl(parent)
{
    CreateWnd("BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, caption);
}

void TButton::SetDefault(bool value)
{
    if (TForm* form = ParentForm()) form->SetDefaultButton(value ? this : nullptr);
    SendMessageA(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetCancel(bool value)
{
    if (TForm* form = ParentForm()) form->SetCancelButton(value ? this : nullptr);
}

void TButton::Click()
{
    if (modalResult_ != 0)
        if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
    if (OnClick) SafeCall([this] { OnClick(this); });
}

void TButton::Command(WORD code)
{
    if (code == BN_CLICKED) Click();
}

// ----------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TControl* parent, const std::string& caption) : TControl(parent)
{
    CreateWnd("BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, caption);
}

bool TCheckBox::Checked() const
{
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool value)
{
    SendMessageA(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace ui
