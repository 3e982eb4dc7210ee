#include "listbox.h"

#include <algorithm>

#include "ui_handles.h"

namespace ui {

TListBox::TListBox(TControl* parent) : TControl(parent)
{
    SetParentColor(false);
    SetColor(clWindow);
    CreateWnd("LISTBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
              WS_EX_CLIENTEDGE);
}

int TListBox::Add(const std::string& text)
{
    const auto index = static_cast<int>(SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (const WindowDC dc = DCOf(Handle())) {
        const Selection font = SelectInto(dc.get().second, FontHandle(Font()));
        SIZE extent{};
        GetTextExtentPoint32A(dc.get().second, text.c_str(), static_cast<int>(text.size()), &extent);
        widest_ = std::max(widest_, static_cast<int>(extent.cx) + 6);
        SendMessageA(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest_), 0);
    }
    return index;
}

void TListBox::Clear()
{
    SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
    widest_ = 0;
    SendMessageA(Handle(), LB_SETHORIZONTALEXTENT, 0, 0);
}

int TListBox::Count() const
{
    return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

std::string ListBoxItem(HWND list, int index)
{
    const auto n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n < 0) return std::string();
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(n));
    return text;
}

std::string TListBox::Item(int index) const
{
    return ListBoxItem(Handle(), index);
}

}  // namespace ui
