// Owners for the handle kinds the window layer holds: GDI objects, COM
// interfaces and shell item lists.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/rtl/handle.h"

namespace ui {

struct GdiObjectPolicy {
    using handle_type = HGDIOBJ;
    static HGDIOBJ invalid() noexcept { return nullptr; }
    static void close(HGDIOBJ h) noexcept { DeleteObject(h); }
};

template <class Interface>
struct ComPolicy {
    using handle_type = Interface*;
    static Interface* invalid() noexcept { return nullptr; }
    static void close(Interface* p) noexcept { p->Release(); }
};

struct ItemIdListPolicy {
    using handle_type = LPITEMIDLIST;
    static LPITEMIDLIST invalid() noexcept { return nullptr; }
    static void close(LPITEMIDLIST p) noexcept { CoTaskMemFree(p); }
};

struct GlobalPolicy {
    using handle_type = HGLOBAL;
    static HGLOBAL invalid() noexcept { return nullptr; }
    static void close(HGLOBAL h) noexcept { GlobalFree(h); }
};

using GdiObject = rtl::UniqueHandle<GdiObjectPolicy>;
template <class Interface>
using ComPtr = rtl::UniqueHandle<ComPolicy<Interface>>;
using ItemIdList = rtl::UniqueHandle<ItemIdListPolicy>;
using GlobalMemory = rtl::UniqueHandle<GlobalPolicy>;

}  // namespace ui
