// Owners for the handle kinds the window layer holds: GDI objects, device
// contexts and their selections, paint scopes, windows, COM interfaces and
// shell item lists.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/rtl/handles.h"

namespace ui {

template <class Interface>
struct ComPolicy {
    using handle_type = Interface*;
    static Interface* invalid() noexcept { return nullptr; }
    static void close(Interface* p) noexcept { p->Release(); }
};

using GdiObject = rtl::UniqueHandle<rtl::NullHandlePolicy<HGDIOBJ, &DeleteObject>>;
template <class Interface>
using ComPtr = rtl::UniqueHandle<ComPolicy<Interface>>;
using ItemIdList = rtl::UniqueHandle<rtl::NullHandlePolicy<LPITEMIDLIST, &CoTaskMemFree>>;
using GlobalMemory = rtl::UniqueHandle<rtl::NullHandlePolicy<HGLOBAL, &GlobalFree>>;

using Window = rtl::UniqueHandle<rtl::NullHandlePolicy<HWND, &DestroyWindow>>;

// Handles given back with two values, by a call that takes both.
template <class First, class Second>
struct HandlePair {
    First first{};
    Second second{};
    bool operator==(const HandlePair&) const = default;
};
template <class First, class Second, auto Close>
struct PairPolicy {
    using handle_type = HandlePair<First, Second>;
    static handle_type invalid() noexcept { return {}; }
    static void close(handle_type h) noexcept { Close(h.first, h.second); }
};

// A DC from GetDC goes back to the window it came from (none: the screen):
// first the window, second the DC.
using WindowDC = rtl::UniqueHandle<PairPolicy<HWND, HDC, &ReleaseDC>>;
inline WindowDC DCOf(HWND window)
{
    HDC dc = GetDC(window);
    return dc ? WindowDC({window, dc}) : WindowDC();
}

// An object selected into a DC; the old one goes back in when the owner ends.
using Selection = rtl::UniqueHandle<PairPolicy<HDC, HGDIOBJ, &SelectObject>>;
inline Selection SelectInto(HDC dc, HGDIOBJ object)
{
    HGDIOBJ old = SelectObject(dc, object);
    return old && old != HGDI_ERROR ? Selection({dc, old}) : Selection();
}

// BeginPaint paired with EndPaint; the PAINTSTRUCT lives in the scope, which
// therefore stays where it was made.
class PaintScope {
public:
    explicit PaintScope(HWND window)
    {
        if (BeginPaint(window, &paint_) != nullptr) scope_.reset({window, &paint_});
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC DC() const { return scope_ ? paint_.hdc : nullptr; }

private:
    PAINTSTRUCT paint_{};
    rtl::UniqueHandle<PairPolicy<HWND, const PAINTSTRUCT*, &EndPaint>> scope_;
};

}  // namespace ui
