#include "checklst.h"

#include <algorithm>

#include "listbox.h"
#include "ui_handles.h"

namespace ui {

TCheckListBox::TCheckListBox(TControl* parent, bool border) : TControl(parent)
{
    SetParentColor(false);
    SetColor(clWindow);
    CreateWnd("LISTBOX",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                  LBS_NOINTEGRALHEIGHT,
              border ? WS_EX_CLIENTEDGE : 0);
    SetItemHeight(itemHeight_);
}

int TCheckListBox::Add(const std::string& text)
{
    const auto index = static_cast<int>(SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (index >= 0) SendMessageA(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(index), kUnchecked);
    // A line wider than the list can be scrolled into view instead of being cut off.
    if (WindowDC dc = DCOf(Handle())) {
        const Selection font = SelectInto(dc.get().second, FontHandle(Font()));
        SIZE extent{};
        GetTextExtentPoint32A(dc.get().second, text.c_str(), static_cast<int>(text.size()), &extent);
        widest_ = std::max(widest_, static_cast<int>(extent.cx) + kTextLeft + 2);
        SendMessageA(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest_), 0);
    }
    return index;
}

int TCheckListBox::Count() const
{
    return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

std::string TCheckListBox::Item(int index) const
{
    return ListBoxItem(Handle(), index);
}

bool TCheckListBox::Checked(int index) const
{
    return SendMessageA(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0) == kChecked;
}

void TCheckListBox::SetChecked(int index, bool value)
{
    if (Header(index) || index < 0 || index >= Count()) return;
    SendMessageA(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(index), value ? kChecked : kUnchecked);
    RECT rc;
    if (SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)) != LB_ERR)
        InvalidateRect(Handle(), &rc, TRUE);
}

bool TCheckListBox::Header(int index) const
{
    return SendMessageA(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0) == kHeader;
}

void TCheckListBox::SetHeader(int index, bool value)
{
    SendMessageA(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(index), value ? kHeader : kUnchecked);
    Invalidate();
}

void TCheckListBox::SetItemHeight(int height)
{
    itemHeight_ = height;
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, height);
    Invalidate();
}

void TCheckListBox::SetHeaderColors(TColor text, TColor background)
{
    headerText_ = text;
    headerBack_ = background;
    Invalidate();
}

void TCheckListBox::Toggle(int index)
{
    if (index < 0 || index >= Count() || Header(index)) return;
    // A list in a disabled window is not changed by input sent to it directly.
    for (HWND w = Handle(); w != nullptr; w = GetParent(w))
        if (!IsWindowEnabled(w)) return;
    SetChecked(index, !Checked(index));
    if (OnClickCheck) OnClickCheck(this);
}

HBRUSH TCheckListBox::CtlColor(HDC dc, UINT /*message*/)
{
    SetTextColor(dc, ColorToRGB(FontColor()));
    SetBkColor(dc, ColorToRGB(Color()));
    return ColorBrush(Color());
}

void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1)) return;
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const int index = static_cast<int>(item.itemID);
    const bool header = item.itemData == static_cast<ULONG_PTR>(kHeader);
    const std::string text = Item(index);
    const Selection font = SelectInto(dc, FontHandle(Font()));
    SetBkMode(dc, TRANSPARENT);
    if (header) {
        FillRect(dc, &rc, ColorBrush(headerBack_));
        SetTextColor(dc, ColorToRGB(headerText_));
        RECT textRc = rc;
        textRc.left += 2;
        DrawTextA(dc, text.c_str(), -1, &textRc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    } else {
        FillRect(dc, &rc, ColorBrush(Color()));
        const int box = std::min(13, static_cast<int>(rc.bottom - rc.top));
        RECT boxRc{rc.left + 1, rc.top + (rc.bottom - rc.top - box) / 2, 0, 0};
        boxRc.right = boxRc.left + box;
        boxRc.bottom = boxRc.top + box;
        UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
        if (item.itemData == static_cast<ULONG_PTR>(kChecked)) state |= DFCS_CHECKED;
        if (item.itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &boxRc, DFC_BUTTON, state);
        RECT textRc = rc;
        textRc.left = rc.left + kTextLeft;
        const bool selected = (item.itemState & ODS_SELECTED) && GetFocus() == Handle();
        if (selected) {
            SIZE extent{};
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            RECT selRc{textRc.left - 1, rc.top, std::min<LONG>(rc.right, textRc.left + extent.cx + 2), rc.bottom};
            FillRect(dc, &selRc, ColorBrush(clHighlight));
            SetTextColor(dc, ColorToRGB(clHighlightText));
        } else {
            SetTextColor(dc, ColorToRGB(FontColor()));
        }
        DrawTextA(dc, text.c_str(), -1, &textRc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (selected && (item.itemState & ODS_FOCUS)) {
            SIZE extent{};
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            RECT focusRc{textRc.left - 1, rc.top, std::min<LONG>(rc.right, textRc.left + extent.cx + 2), rc.bottom};
            DrawFocusRect(dc, &focusRc);
        }
    }
}

LRESULT TCheckListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const LRESULT result = TControl::WndProc(message, wParam, lParam);
        const LRESULT hit = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, lParam);
        if (HIWORD(hit) == 0) Toggle(LOWORD(hit));
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            Toggle(static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == ' ') return 0;  // no type-ahead search on the blank
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();  // the selection shows only while focused
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

}  // namespace ui
