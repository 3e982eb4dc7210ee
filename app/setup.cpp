// Entry of setup.exe: creates the splash, licence, detection and wizard
// windows, in that order, and runs the message loop until the splash closes.
#include <windows.h>

#include <memory>

#include "detect/uFmDetect.h"
#include "platform/ui/program.h"
#include "uFmEula.h"
#include "uFmStart.h"
#include "wizard/uFmMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return ui::RunProgram("Install quorvane", [] {
        // All windows exist before any is shown; the wizard computes its
        // defaults (a host-name lookup) here already.
        auto fmStart = std::make_unique<TFmStart>();
        const ui::TMainFormScope mainForm(fmStart.get());
        auto fmEula = std::make_unique<TFmEula>();
        auto fmDetect = std::make_unique<TFmDetect>();
        auto fmMain = std::make_unique<TFmMain>();
        fmStart->SetPhases(fmEula.get(), fmDetect.get(), fmMain.get());
        return ui::Application().Run();
    });
}
