// zev.exe: the quorvane Viewer, which shows this computer's inventory.
#include <windows.h>

#include "programs/common/appframe.h"
#include "uFmViewer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return apps::RunApplication("quorvane Viewer", [] { return std::make_unique<TFmViewer>(); });
}
