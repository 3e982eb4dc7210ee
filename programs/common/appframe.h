// What the product's two windows share: the program's start, the bottom
// button bar and section headers that look like the setup's own windows.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

namespace apps {

// The whole of WinMain: restricts the DLL search, starts COM and the common
// controls, creates the main window and runs it. A failure to create the
// window is shown and gives exit code 1.
int RunApplication(const std::string& title, const std::function<std::unique_ptr<ui::TForm>()>& create);

// The button bar at the bottom of a form with the gap above it, as in the
// setup's windows. Create it before the form's other aligned controls.
ui::TPanel* MakeButtonBar(ui::TForm* form);

// Buttons of the bar, 75 by 25 and 5 pixels apart, placed from the bar's
// client width: the first group from its left edge, the second ending at its
// right edge; they keep their edges when the window is resized.
// (Stands in for the window layer's own button bar until that exists.)
void PlaceButtons(ui::TPanel* bar, std::initializer_list<ui::TButton*> left, std::initializer_list<ui::TButton*> right);

// A section of a window: a bevelled panel with a bold header row on top.
ui::TPanel* MakeSection(ui::TForm* form, ui::TControl* parent, const std::string& name, const std::string& header);

}  // namespace apps
