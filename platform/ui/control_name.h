// Names of windows and controls that another process (the UI driver) can read.
//
// A named window carries the property "QvName" whose value is a global atom
// holding the name; global atoms are shared by every process on the desktop,
// so FindWindow/EnumChildWindows plus GetPropA and GlobalGetAtomNameA find a
// control by name from outside.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

inline constexpr const char* kControlNameProp = "QvName";

// Call once per window; the atom is released by ClearControlName (WM_NCDESTROY).
inline void SetControlName(HWND hwnd, const std::string& name)
{
    const ATOM atom = GlobalAddAtomA(name.c_str());
    if (atom != 0) SetPropA(hwnd, kControlNameProp, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

inline std::string GetControlName(HWND hwnd)
{
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, kControlNameProp)));
    if (atom == 0) return std::string();
    char name[256];
    const UINT n = GlobalGetAtomNameA(atom, name, sizeof name);
    return std::string(name, n);
}

inline void ClearControlName(HWND hwnd)
{
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropA(hwnd, kControlNameProp)));
    if (atom != 0) GlobalDeleteAtom(atom);
}

}  // namespace ui
