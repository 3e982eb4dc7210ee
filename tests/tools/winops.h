// What the UI driver does to another process's windows. Every call that
// talks to the other process is bounded: messages are sent with a timeout or
// posted, so a hung program cannot hang the driver.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uidrv {

// Visible top-level windows of a process, in Z order.
std::vector<HWND> TopWindows(DWORD pid);
// A shown top-level window of any process with exactly this caption, or null.
HWND FindShownWindow(const std::string& caption);

std::string WindowText(HWND hwnd);
// The text the system keeps for a window, read without a message: also
// while the program's thread is busy.
std::string PlainWindowText(HWND hwnd);
std::string ClassName(HWND hwnd);

// The first descendant of top (or top itself) whose control name is name.
HWND FindNamed(HWND top, const std::string& name);
// All named descendants, "name" per line, for failure reports.
std::string NamedControls(HWND top);

// Enabled itself and every ancestor: what a person can actually use.
bool EffectivelyEnabled(HWND hwnd);

// The control that has the keyboard focus in the thread that owns hwnd.
HWND FocusOf(HWND hwnd);

bool IsMessageBox(HWND hwnd);
// The message text of a message box (its static text), empty when none.
std::string MessageBoxText(HWND box);
// The button of a window whose caption, without "&", equals text.
HWND FindButton(HWND top, const std::string& text);

// One line of a list box as the scenario compares it (see CheckListLine).
struct ListLine {
    std::string text;
    enum Kind { Plain, Header, Ticked, Unticked } kind = Plain;
};
// Lines of a list box; false when it does not answer.
bool ReadList(HWND list, std::vector<ListLine>& lines, std::string& error);
std::string RenderLine(const ListLine& line);

// Sets an item's tick the way a person does (a click on its box); false with
// a reason when the list does not allow it.
bool SetTick(HWND list, int index, bool ticked, std::string& error);

// A left click on an item, whatever it holds; false with a reason when it has no place.
bool ClickListItem(HWND list, int index, std::string& error);

bool SendText(HWND hwnd, const std::string& text);
void PostClick(HWND hwnd);           // a left click in the middle of a control
void PostButtonPress(HWND button);   // BM_CLICK
bool PostKey(HWND target, const std::string& key, std::string& error);
void PostClose(HWND top);            // the close box

}  // namespace uidrv
