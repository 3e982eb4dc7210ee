#include "program.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "dialogs.h"
#include "platform/rtl/module.h"

namespace ui {

int RunProgram(const std::string& title, const std::function<int()>& run)
{
    rtl::RestrictDllSearch();
    const HRESULT ole = OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    Application().SetTitle(title);
    int exitCode = 0;
    try {
        exitCode = run();
    } catch (const std::exception& e) {
        ShowError(e.what());
        exitCode = 1;
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return exitCode;
}

}  // namespace ui
