// A read-only list of text lines over the system list box; a line wider than
// the list can be scrolled into view. Its lines read from another process as
// any list box's (LB_GETCOUNT, LB_GETTEXT).
#pragma once

#include <string>

#include "controls.h"

namespace ui {

// The text of a list box's item, "" for an index outside the list.
std::string ListBoxItem(HWND list, int index);

class TListBox : public TControl {
public:
    explicit TListBox(TControl* parent);
    int Add(const std::string& text);
    void Clear();
    int Count() const;
    std::string Item(int index) const;

private:
    int widest_ = 0;
};

}  // namespace ui
