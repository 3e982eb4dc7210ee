// Names of windows and controls that another process (the UI driver) can read.
//
// A named window carries the property "QvName" whose value is a global atom
// holding the name; global atoms are shared by every process on the desktop,
// so FindWindow/EnumChildWindows plus GetPropA and GlobalGetAtomNameA find a
// control by name from outside.
#pragma once

#include <windows.h>

#include <string>

#include "platform/rtl/handle.h"

namespace ui {

inline constexpr const char* kControlNameProp = "QvName";

// Atoms are numbers, 0 for none.
struct GlobalAtomPolicy {
    using handle_type = ATOM;
    static ATOM invalid() noexcept { return 0; }
    static void close(ATOM atom) noexcept { GlobalDeleteAtom(atom); }
};
using GlobalAtom = rtl::UniqueHandle<GlobalAtomPolicy>;

// Names the window; the name lasts as long as the returned atom, which the
// caller keeps for the window's life (a later name replaces the property, and
// dropping the old owner frees the old atom).
[[nodiscard]] inline GlobalAtom SetControlName(HWND hwnd, const std::string& name)
{
    GlobalAtom atom(GlobalAddAtomA(name.c_str()));
    if (atom) SetPropA(hwnd, kControlNameProp, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom.get())));
    return atom;
}

inline std::string GetControlName(HWND hwnd)
{
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, kControlNameProp)));
    if (atom == 0) return std::string();
    char name[256];
    const UINT n = GlobalGetAtomNameA(atom, name, sizeof name);
    return std::string(name, n);
}

// Takes the name off the window; the atom goes with its owner.
inline void ClearControlName(HWND hwnd)
{
    RemovePropA(hwnd, kControlNameProp);
}

}  // namespace ui
