// A small hand tool for looking at the setup's windows during development:
// finds a window by its control name and clicks, ticks, types or presses.
//   uipoke click NAME | tick NAME INDEX | mouse NAME X Y | close NAME | text NAME TEXT | key NAME VK | list NAME | get NAME | focus
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ui/control_name.h"

namespace {

struct Search {
    std::string name;
    HWND found = nullptr;
};

BOOL CALLBACK Child(HWND hwnd, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    if (ui::GetControlName(hwnd) == s->name) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Top(HWND hwnd, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    if (ui::GetControlName(hwnd) == s->name) {
        s->found = hwnd;
        return FALSE;
    }
    EnumChildWindows(hwnd, Child, param);
    return s->found == nullptr;
}

HWND Find(const std::string& name)
{
    Search s{name};
    EnumWindows(Top, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const std::string verb = argv[1];
    if (verb == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        HWND fg = GetForegroundWindow();
        GetGUIThreadInfo(GetWindowThreadProcessId(fg, nullptr), &info);
        std::printf("focus=%s active=%s\n", ui::GetControlName(info.hwndFocus).c_str(),
                    ui::GetControlName(info.hwndActive).c_str());
        return 0;
    }
    if (argc < 3) return 2;
    HWND hwnd = Find(argv[2]);
    if (hwnd == nullptr) {
        std::printf("not found: %s\n", argv[2]);
        return 1;
    }
    if (verb == "click") {
        PostMessageA(hwnd, BM_CLICK, 0, 0);
    } else if (verb == "tick" && argc > 3) {
        RECT rc;
        SendMessageA(hwnd, LB_GETITEMRECT, static_cast<WPARAM>(std::atoi(argv[3])), reinterpret_cast<LPARAM>(&rc));
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
    } else if (verb == "mouse" && argc > 4) {
        const LPARAM at = MAKELPARAM(std::atoi(argv[3]), std::atoi(argv[4]));
        PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
    } else if (verb == "close") {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    } else if (verb == "text" && argc > 3) {
        SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    } else if (verb == "key" && argc > 3) {
        const auto vk = static_cast<WPARAM>(std::strtol(argv[3], nullptr, 0));
        PostMessageA(hwnd, WM_KEYDOWN, vk, 1);
        PostMessageA(hwnd, WM_KEYUP, vk, 0xC0000001);
    } else if (verb == "list") {
        const auto n = SendMessageA(hwnd, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            wchar_t wide[512] = L"";
            SendMessageW(hwnd, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
            char text[512] = "";
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
            std::printf("%d [%d] %s\n", static_cast<int>(i),
                        static_cast<int>(SendMessageA(hwnd, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)), text);
        }
    } else if (verb == "get") {
        char text[1024] = "";
        SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        std::printf("%s enabled=%d visible=%d\n", text, IsWindowEnabled(hwnd), IsWindowVisible(hwnd));
    }
    return 0;
}
