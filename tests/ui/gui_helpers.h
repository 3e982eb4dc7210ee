// Helpers for tests that run real windows: answering message boxes and the
// program's own dialogs while a handler waits in their modal loops.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control_name.h"

namespace guitest {

// While alive, answers every message box of this thread with its default
// button and records its text; a named window of the program can be answered
// too (Answer). Works from a thread timer, which every modal loop dispatches.
class TBoxAnswerer {
public:
    TBoxAnswerer()
    {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, Tick);
    }
    ~TBoxAnswerer()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    TBoxAnswerer(const TBoxAnswerer&) = delete;
    TBoxAnswerer& operator=(const TBoxAnswerer&) = delete;

    // What to do when the named top-level window shows up (once per showing).
    void Answer(const std::string& windowName, std::function<void(HWND)> action)
    {
        answers_.push_back({windowName, std::move(action)});
    }

    std::vector<std::string> texts;  // message box texts, in order
    std::vector<std::string> seen;   // named windows answered, in order

private:
    struct TAnswer {
        std::string name;
        std::function<void(HWND)> action;
    };

    static BOOL CALLBACK Visit(HWND hwnd, LPARAM)
    {
        if (!IsWindowVisible(hwnd) || current_ == nullptr || GetPropA(hwnd, "QvAnswered") != nullptr) return TRUE;
        const std::string name = ui::GetControlName(hwnd);
        for (const auto& answer : current_->answers_) {
            if (answer.name == name) {
                SetPropA(hwnd, "QvAnswered", reinterpret_cast<HANDLE>(1));
                current_->seen.push_back(name);
                answer.action(hwnd);
                return TRUE;
            }
        }
        char cls[64] = "";
        GetClassNameA(hwnd, cls, sizeof cls);
        if (std::string(cls) == "#32770") {
            SetPropA(hwnd, "QvAnswered", reinterpret_cast<HANDLE>(1));
            std::string text;
            EnumChildWindows(hwnd, CollectText, reinterpret_cast<LPARAM>(&text));
            current_->texts.push_back(text);
            PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }

    static BOOL CALLBACK CollectText(HWND hwnd, LPARAM param)
    {
        char cls[64] = "";
        GetClassNameA(hwnd, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) return TRUE;
        char text[1024] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        if (text[0] != '\0') *reinterpret_cast<std::string*>(param) += text;
        return TRUE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), Visit, 0);
    }

    static inline TBoxAnswerer* current_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<TAnswer> answers_;
};

namespace detail {
struct TNameSearch {
    std::string name;
    HWND found;
};

// A named function, not a lambda: a lambda's pointer is not CALLBACK on 32-bit.
inline BOOL CALLBACK FindNamedProc(HWND hwnd, LPARAM param)
{
    auto* s = reinterpret_cast<TNameSearch*>(param);
    if (ui::GetControlName(hwnd) == s->name) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// What the user does once the modal form is up (ShowWith).
inline std::function<void()> pendingUser;

inline void CALLBACK RunPendingUser(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto user = std::move(pendingUser);
    pendingUser = nullptr;
    try {
        if (user) user();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "the user's action threw: " << e.what();
    } catch (...) {
        ADD_FAILURE() << "the user's action threw";
    }
}
}  // namespace detail

// The child of a window with the given control name, or nullptr.
inline HWND FindNamed(HWND parent, const std::string& name)
{
    detail::TNameSearch search{name, nullptr};
    EnumChildWindows(parent, detail::FindNamedProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Shows a form modally and returns its modal result; what the user does runs
// from a one-shot thread timer, so it happens inside the modal loop once the
// form is shown and focused.
template <class Form>
int ShowWith(Form& form, std::function<void()> user)
{
    form.OnShow = [user = std::move(user)](auto*) {
        detail::pendingUser = user;
        SetTimer(nullptr, 0, 1, detail::RunPendingUser);
    };
    return form.ShowModal();
}

// A key pressed in the focused control.
inline void Key(WPARAM vk)
{
    PostMessageA(GetFocus(), WM_KEYDOWN, vk, 1);
}

// A left click at a point of a window's client area, as the mouse gives it.
inline void ClickAt(HWND hwnd, int x, int y)
{
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

inline void ClickListItem(HWND list, int index)
{
    RECT rc{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    ClickAt(list, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// Dispatches what is pending, so that posted clicks and repaints are done.
inline void Pump()
{
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace guitest
