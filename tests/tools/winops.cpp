#include "winops.h"

#include <algorithm>

#include "platform/rtl/sysutils.h"
#include "platform/ui/control_name.h"

namespace uidrv {

namespace {

constexpr UINT kSendTimeoutMs = 5000;

// A message sent to another process's window, with an upper bound on the wait.
// Texts travel as UTF-16: Wine hands list item texts across processes in
// that form even to the ANSI call.
bool SendBounded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    DWORD_PTR out = 0;
    if (SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &out) == 0)
        return false;
    result = static_cast<LRESULT>(out);
    return true;
}

using rtl::Narrow;
using rtl::Widen;

struct NamedSearch {
    const std::string* name;
    HWND found;
};

BOOL CALLBACK FindNamedProc(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<NamedSearch*>(param);
    if (ui::GetControlName(hwnd) == *search->name) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ListNamedProc(HWND hwnd, LPARAM param)
{
    const std::string name = ui::GetControlName(hwnd);
    if (!name.empty()) *reinterpret_cast<std::string*>(param) += " " + name;
    return TRUE;
}

// A window without size (the application window that carries the taskbar
// title) is nothing a person sees or works in.
bool Shown(HWND hwnd)
{
    RECT rc{};
    return IsWindowVisible(hwnd) && GetWindowRect(hwnd, &rc) && !IsRectEmpty(&rc);
}

struct TopSearch {
    DWORD pid;
    std::vector<HWND>* windows;
};

BOOL CALLBACK TopWindowsProc(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && Shown(hwnd)) search->windows->push_back(hwnd);
    return TRUE;
}

struct CaptionSearch {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK ShownWindowProc(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    if (!Shown(hwnd) || PlainWindowText(hwnd) != *search->caption) return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChildProc(HWND hwnd, LPARAM param)
{
    reinterpret_cast<ChildList*>(param)->children.push_back(hwnd);
    return TRUE;
}

std::string WithoutAmpersand(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

}  // namespace

std::vector<HWND> TopWindows(DWORD pid)
{
    std::vector<HWND> windows;
    TopSearch search{pid, &windows};
    EnumWindows(TopWindowsProc, reinterpret_cast<LPARAM>(&search));
    return windows;
}

HWND FindShownWindow(const std::string& caption)
{
    CaptionSearch search{&caption, nullptr};
    EnumWindows(ShownWindowProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND hwnd)
{
    LRESULT length = 0;
    if (!SendBounded(hwnd, WM_GETTEXTLENGTH, 0, 0, length) || length <= 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!SendBounded(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) return std::string();
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return Narrow(text);
}

std::string PlainWindowText(HWND hwnd)
{
    std::wstring text(1024, L'\0');
    const int n = InternalGetWindowText(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(n, 0)));
    return Narrow(text);
}

std::string ClassName(HWND hwnd)
{
    char name[256];
    const int n = GetClassNameA(hwnd, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

HWND FindNamed(HWND top, const std::string& name)
{
    if (ui::GetControlName(top) == name) return top;
    NamedSearch search{&name, nullptr};
    EnumChildWindows(top, FindNamedProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string NamedControls(HWND top)
{
    std::string names;
    EnumChildWindows(top, ListNamedProc, reinterpret_cast<LPARAM>(&names));
    return names.empty() ? " (none)" : names;
}

bool EffectivelyEnabled(HWND hwnd)
{
    for (HWND w = hwnd; w != nullptr; w = GetAncestor(w, GA_PARENT)) {
        if (w == GetDesktopWindow()) break;
        if (!IsWindowEnabled(w)) return false;
    }
    return true;
}

HWND FocusOf(HWND hwnd)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool IsMessageBox(HWND hwnd)
{
    return ClassName(hwnd) == "#32770";
}

std::string MessageBoxText(HWND box)
{
    ChildList list;
    EnumChildWindows(box, CollectChildProc, reinterpret_cast<LPARAM>(&list));
    for (HWND child : list.children) {
        if (ClassName(child) != "Static") continue;
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) continue;
        const std::string text = WindowText(child);
        if (!text.empty()) return text;
    }
    return std::string();
}

HWND FindButton(HWND top, const std::string& text)
{
    ChildList list;
    EnumChildWindows(top, CollectChildProc, reinterpret_cast<LPARAM>(&list));
    for (HWND child : list.children)
        if (ClassName(child) == "Button" && WithoutAmpersand(WindowText(child)) == text) return child;
    return nullptr;
}

// Check lists are owner-drawn list boxes with strings; each item's data is
// its state: 0 unticked, 1 ticked, 2 header row.
bool ReadList(HWND list, std::vector<ListLine>& lines, std::string& error)
{
    lines.clear();
    LRESULT count = 0;
    if (!SendBounded(list, LB_GETCOUNT, 0, 0, count) || count < 0) {
        error = "the list does not answer LB_GETCOUNT";
        return false;
    }
    const LONG style = GetWindowLongA(list, GWL_STYLE);
    const bool checkList = (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        if (!SendBounded(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, length) || length < 0) {
            error = "item " + std::to_string(i) + " has no text";
            return false;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (!SendBounded(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()), copied)) {
            error = "item " + std::to_string(i) + " cannot be read";
            return false;
        }
        text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
        ListLine line;
        line.text = Narrow(text);
        if (checkList) {
            LRESULT data = 0;
            SendBounded(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0, data);
            line.kind = data == 2 ? ListLine::Header : data == 1 ? ListLine::Ticked : ListLine::Unticked;
        }
        lines.push_back(line);
    }
    return true;
}

std::string RenderLine(const ListLine& line)
{
    switch (line.kind) {
    case ListLine::Header: return "[-] " + line.text;
    case ListLine::Ticked: return "[x] " + line.text;
    case ListLine::Unticked: return "[ ] " + line.text;
    case ListLine::Plain: break;
    }
    return line.text;
}

bool SetTick(HWND list, int index, bool ticked, std::string& error)
{
    LRESULT data = 0;
    if (!SendBounded(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0, data)) {
        error = "the list does not answer";
        return false;
    }
    if (data == 2) {
        error = "the item is a header row";
        return false;
    }
    if ((data == 1) == ticked) return true;
    if (!EffectivelyEnabled(list)) {
        error = "the list is disabled";
        return false;
    }
    return ClickListItem(list, index, error);
}

bool ClickListItem(HWND list, int index, std::string& error)
{
    RECT rc{};
    LRESULT got = 0;
    if (!SendBounded(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc), got) ||
        got == LB_ERR) {
        error = "the item has no rectangle";
        return false;
    }
    // On the item's check box, where a person clicks to tick it.
    const int x = rc.left + 7, y = (rc.top + rc.bottom) / 2;
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
    PostMessageA(list, WM_LBUTTONUP, 0, PointParam(x, y));
    return true;
}

bool SendText(HWND hwnd, const std::string& text)
{
    LRESULT ok = 0;
    const std::wstring wide = Widen(text);
    return SendBounded(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), ok) && ok != 0;
}

void PostClick(HWND hwnd)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const LPARAM at = PointParam(rc.right / 2, rc.bottom / 2);
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
}

void PostButtonPress(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

bool PostKey(HWND target, const std::string& key, std::string& error)
{
    UINT vk = 0;
    if (key == "Enter") vk = VK_RETURN;
    else if (key == "Esc") vk = VK_ESCAPE;
    else if (key == "Space") vk = VK_SPACE;
    else if (key == "Tab") vk = VK_TAB;
    else {
        error = "unknown key \"" + key + "\" (Enter, Esc, Space, Tab)";
        return false;
    }
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | static_cast<LPARAM>(0xC0000000UL);
    PostMessageA(target, WM_KEYDOWN, vk, down);
    PostMessageA(target, WM_KEYUP, vk, up);
    return true;
}

void PostClose(HWND top)
{
    PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace uidrv
