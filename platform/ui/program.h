// The frame of a window program's WinMain.
#pragma once

#include <functional>
#include <string>

#include "forms.h"

namespace ui {

// Restricts the DLL search to the system folder, starts COM and the common
// controls and sets the application title; then run creates the windows and
// runs the message loop, returning the exit code. An exception from run is
// shown and gives exit code 1.
int RunProgram(const std::string& title, const std::function<int()>& run);

// Makes a form the main form for a scope. Declared after the form's owner,
// it lets go first: a main form destroyed while it is still the main form
// posts the quit message, which would close any message box shown after it.
class TMainFormScope {
public:
    explicit TMainFormScope(TForm* form) { Application().SetMainForm(form); }
    ~TMainFormScope() { Application().SetMainForm(nullptr); }
    TMainFormScope(const TMainFormScope&) = delete;
    TMainFormScope& operator=(const TMainFormScope&) = delete;
};

}  // namespace ui
