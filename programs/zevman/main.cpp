// zevman.exe: the quorvane Enterprise Ridir Control, the server's application.
#include <windows.h>

#include "uFmControl.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return apps::RunWindow<TFmControl>("quorvane Enterprise Ridir Control");
}
