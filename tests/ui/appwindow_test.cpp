// The application window: it carries the title on the taskbar for the whole
// run and owns every window of the program, which therefore have no taskbar
// buttons of their own. And the owners of the window layer's other handles.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/ui_handles.h"

namespace {

std::string TextOf(HWND hwnd)
{
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

}  // namespace

TEST(ApplicationWindow, CarriesTheTitleAndOwnsEveryForm)
{
    ui::Application().SetTitle("Install quorvane");
    const HWND app = ui::Application().Handle();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(TextOf(app), "Install quorvane");
    EXPECT_EQ(GetWindow(app, GW_OWNER), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);  // it has a taskbar button
    RECT rc;
    GetWindowRect(app, &rc);
    EXPECT_TRUE(IsRectEmpty(&rc));  // and nothing on the screen

    ui::TForm first("FmFirst", "First window", 300, 200);
    first.Show();  // also without the main loop, as a program of modal windows only
    EXPECT_TRUE(IsWindowVisible(app));
    ui::TForm second("FmSecond", "Second window", 300, 200, ui::TFormStyle::None);
    for (const ui::TForm* form : {&first, &second}) {
        EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), app);
        EXPECT_EQ(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    }

    // The title may change later; the window follows.
    ui::Application().SetTitle("Install quorvane (test)");
    EXPECT_EQ(TextOf(app), "Install quorvane (test)");
    ui::Application().SetTitle("Install quorvane");
}

TEST(ApplicationWindow, IsShownForTheWholeRunAndAModalFormKeepsItsOwner)
{
    ui::TForm main("FmMainTest", "Main", 300, 200);
    ui::TForm modal("FmModalTest", "Modal", 300, 200);
    bool appShownDuringModal = false;
    int modalResult = -1;
    modal.OnShow = [&](ui::TObject*) {
        appShownDuringModal = IsWindowVisible(ui::Application().Handle()) != FALSE;
        PostMessageA(modal.Handle(), WM_CLOSE, 0, 0);
    };
    // As the splash does: the phases run from a timer tick of the main loop.
    ui::TTimer* once = main.Make<ui::TTimer>();
    once->SetInterval(10);
    once->OnTimer = [&](ui::TObject*) {
        once->SetEnabled(false);
        main.Hide();
        modalResult = modal.ShowModal();
        main.Close();
    };
    ui::Application().SetMainForm(&main);
    EXPECT_EQ(ui::Application().Run(), 0);
    ui::Application().SetMainForm(nullptr);
    EXPECT_TRUE(appShownDuringModal);
    EXPECT_EQ(modalResult, ui::mrCancel);
    EXPECT_TRUE(IsWindowVisible(ui::Application().Handle()));
}

// A copyable owner would give its handle back twice.
template <class T>
constexpr bool MoveOnly = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T>;
static_assert(MoveOnly<ui::WindowDC> && MoveOnly<ui::Selection> && MoveOnly<ui::Window> && MoveOnly<ui::GlobalAtom>);
static_assert(!std::is_copy_constructible_v<ui::PaintScope> && !std::is_move_constructible_v<ui::PaintScope>);

TEST(ControlNames, ARenamedOrDestroyedWindowLeavesNoAtomBehind)
{
    {
        ui::TForm form("QvTestNameFirst", "Names", 200, 100);
        EXPECT_NE(GlobalFindAtomA("QvTestNameFirst"), 0);
        form.SetName("QvTestNameSecond");
        EXPECT_EQ(ui::GetControlName(form.Handle()), "QvTestNameSecond");
        EXPECT_EQ(GlobalFindAtomA("QvTestNameFirst"), 0);  // the first name's atom is gone
        EXPECT_NE(GlobalFindAtomA("QvTestNameSecond"), 0);
    }
    EXPECT_EQ(GlobalFindAtomA("QvTestNameSecond"), 0);
}

TEST(OtherWindowsDisabled, DisablesTheOthersAndGivesBackOnlyWhatItTook)
{
    ui::TForm kept("FmKept", "Kept", 200, 100);
    ui::TForm other("FmOther", "Other", 200, 100);
    ui::TForm alreadyOff("FmAlreadyOff", "Already off", 200, 100);
    alreadyOff.SetEnabled(false);
    {
        const ui::TOtherWindowsDisabled others(kept.Handle());
        EXPECT_TRUE(kept.Enabled());
        EXPECT_FALSE(other.Enabled());
        EXPECT_FALSE(alreadyOff.Enabled());
    }
    EXPECT_TRUE(kept.Enabled());
    EXPECT_TRUE(other.Enabled());
    EXPECT_FALSE(alreadyOff.Enabled());  // was off before, stays off
}
