// zev.exe: the quorvane Viewer, which shows this computer's inventory.
#include <windows.h>

#include "uFmViewer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return apps::RunWindow<TFmViewer>("quorvane Viewer");
}
