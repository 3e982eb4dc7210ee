// The bar of buttons along the bottom of a window: buttons 75 x 25, side by
// side at the bar's right edge, 5 pixels apart, placed from the bar's client
// width whenever it changes, so that no frame width clips the last one.
#pragma once

#include <string>
#include <vector>

#include "extctrls.h"
#include "stdctrls.h"

namespace ui {

class TButtonBar : public TPanel {
public:
    static constexpr int kHeight = 29;
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;
    static constexpr int kGap = 5;
    static constexpr int kMargin = 2;  // between the buttons and the bar's edges

    // Docks itself at the bottom of parent, which must lie on a form (the form owns the buttons).
    explicit TButtonBar(TControl* parent);

    // Adds a button at the right end of the row: buttons are added from left to
    // right, which is also their tab order.
    TButton* AddButton(const std::string& name, const std::string& caption);
    // Places the buttons again, after one was hidden or shown: hidden ones leave no gap.
    void Arrange();

protected:
    void Resized() override;

private:
    std::vector<TButton*> buttons_;
};

}  // namespace ui
