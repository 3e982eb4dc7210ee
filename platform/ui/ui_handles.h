// Owners for the handle kinds the window layer holds: GDI objects, COM
// interfaces and shell item lists.
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

}  // namespace ui
