// Check-list box: a list box whose items carry a check box; an item may be a
// header row instead (no check box, drawn in the header colours).
//
// Reading and ticking from another process (the UI driver):
// - The control is a LISTBOX with LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, so
//   LB_GETCOUNT, LB_GETTEXTLEN and LB_GETTEXT return the item texts. From
//   another process use SendMessageW(LB_GETTEXT): under Wine the ANSI form
//   returns only the first character across processes.
// - LB_GETITEMDATA returns the item's state: 0 unticked, 1 ticked, 2 header row.
// - A left click (WM_LBUTTONDOWN) anywhere inside an item's rectangle
//   (LB_GETITEMRECT) toggles that item; so does the space bar (WM_KEYDOWN
//   VK_SPACE) on the selected item (LB_SETCURSEL). Header rows never change.
// - A list inside a disabled window takes neither (as for a person).
// Ticking through LB_SETITEMDATA bypasses the control and must not be used.
#pragma once

#include <string>

#include "controls.h"

namespace ui {

class TCheckListBox : public TControl {
public:
    // state values kept as the items' data
    static constexpr LPARAM kUnchecked = 0;
    static constexpr LPARAM kChecked = 1;
    static constexpr LPARAM kHeader = 2;

    explicit TCheckListBox(TControl* parent, bool border = true);

    int Add(const std::string& text);
    int Count() const;
    std::string Item(int index) const;
    bool Checked(int index) const;
    void SetChecked(int index, bool value);
    bool Header(int index) const;
    void SetHeader(int index, bool value);
    void SetItemHeight(int height);
    // Colours of the header rows (default: the tooltip colours).
    void SetHeaderColors(TColor text, TColor background);

    void DrawItem(const DRAWITEMSTRUCT& item) override;
    HBRUSH CtlColor(HDC dc, UINT message) override;

    TNotifyEvent OnClickCheck;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Toggle(int index);
    static constexpr int kTextLeft = 17;  // check box (1 + 13) and a 3-pixel gap
    int itemHeight_ = 13;
    int widest_ = 0;
    TColor headerText_ = clInfoText;
    TColor headerBack_ = clInfoBk;
};

}  // namespace ui
