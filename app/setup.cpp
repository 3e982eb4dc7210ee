// Entry of setup.exe: creates the splash, licence, detection and wizard
// windows, in that order, and runs the message loop until the splash closes.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "detect/uFmDetect.h"
#include "platform/rtl/module.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "uFmEula.h"
#include "uFmStart.h"
#include "wizard/uFmMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    rtl::RestrictDllSearch();
    const HRESULT ole = OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    ui::Application().SetTitle("Install quorvane");
    int exitCode = 0;
    try {
        // All windows exist before any is shown; the wizard computes its
        // defaults (a host-name lookup) here already.
        auto fmStart = std::make_unique<TFmStart>();
        ui::Application().SetMainForm(fmStart.get());
        auto fmEula = std::make_unique<TFmEula>();
        auto fmDetect = std::make_unique<TFmDetect>();
        auto fmMain = std::make_unique<TFmMain>();
        fmStart->SetPhases(fmEula.get(), fmDetect.get(), fmMain.get());
        exitCode = ui::Application().Run();
        ui::Application().SetMainForm(nullptr);
    } catch (const std::exception& e) {
        ui::Application().SetMainForm(nullptr);
        ui::ShowError(e.what());
        exitCode = 1;
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return exitCode;
}
