// What the product's two windows share, so that they look like the setup's
// own: the program's start, a bottom bar with Refresh and Close, sections
// with a header row, and the first load once the window is on the screen.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/program.h"
#include "platform/ui/stdctrls.h"

namespace apps {

class TAppForm : public ui::TForm {
public:
    // The size of the setup's windows.
    TAppForm(const std::string& name, const std::string& caption);

    void bnRefreshClick(ui::TObject* sender);
    void tmStartTimer(ui::TObject* sender);

    ui::TPanel* pnBn;
    ui::TButton* bnRefresh;
    ui::TButton* bnClose;
    ui::TTimer* tmStart;

protected:
    // Fills the window; runs once it is first shown and on Refresh.
    virtual void Load() = 0;

    // A bevelled panel pn<name> with the bold header row st<name> on top.
    ui::TPanel* MakeSection(ui::TControl* parent, const std::string& name, const std::string& header);
    // A word-wrapped text lb<name> of that many lines, as wide as its parent.
    ui::TLabel* MakeNote(ui::TControl* parent, const std::string& name, int left, int top, int lines);
};

// The whole of WinMain for a program of one window.
template <class TWindow>
int RunWindow(const std::string& title)
{
    return ui::RunProgram(title, [] {
        const auto form = std::make_unique<TWindow>();
        const ui::TMainFormScope mainForm(form.get());
        return ui::Application().Run();
    });
}

// Line breaks (socket texts carry one) as single blanks, for a text line.
std::string OneLine(const std::string& text);

}  // namespace apps
