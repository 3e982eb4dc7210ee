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

// A DC from GetDC goes back to the window it came from (none: the screen).
struct WindowDcHandle {
    HWND window = nullptr;
    HDC dc = nullptr;
    bool operator==(const WindowDcHandle&) const = default;
};
struct WindowDcPolicy {
    using handle_type = WindowDcHandle;
    static WindowDcHandle invalid() noexcept { return {}; }
    static void close(WindowDcHandle h) noexcept { ReleaseDC(h.window, h.dc); }
};
using WindowDC = rtl::UniqueHandle<WindowDcPolicy>;
inline WindowDC DCOf(HWND window)
{
    HDC dc = GetDC(window);
    return dc ? WindowDC(WindowDcHandle{window, dc}) : WindowDC();
}

// An object selected into a DC; the old one goes back in when the owner ends.
struct SelectionHandle {
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
    bool operator==(const SelectionHandle&) const = default;
};
struct SelectionPolicy {
    using handle_type = SelectionHandle;
    static SelectionHandle invalid() noexcept { return {}; }
    static void close(SelectionHandle h) noexcept { SelectObject(h.dc, h.old); }
};
using Selection = rtl::UniqueHandle<SelectionPolicy>;
inline Selection SelectInto(HDC dc, HGDIOBJ object)
{
    HGDIOBJ old = SelectObject(dc, object);
    return old && old != HGDI_ERROR ? Selection(SelectionHandle{dc, old}) : Selection();
}

// BeginPaint paired with EndPaint; the PAINTSTRUCT lives in the scope, which
// therefore stays where it was made.
struct PaintHandle {
    HWND window = nullptr;
    const PAINTSTRUCT* paint = nullptr;
    bool operator==(const PaintHandle&) const = default;
};
struct PaintPolicy {
    using handle_type = PaintHandle;
    static PaintHandle invalid() noexcept { return {}; }
    static void close(PaintHandle h) noexcept { EndPaint(h.window, h.paint); }
};
class PaintScope {
public:
    explicit PaintScope(HWND window)
    {
        if (BeginPaint(window, &paint_) != nullptr) scope_.reset(PaintHandle{window, &paint_});
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC DC() const { return scope_ ? paint_.hdc : nullptr; }

private:
    PAINTSTRUCT paint_{};
    rtl::UniqueHandle<PaintPolicy> scope_;
};

}  // namespace ui
