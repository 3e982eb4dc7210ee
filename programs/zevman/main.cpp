// zevman.exe: the quorvane Enterprise Ridir Control, the server's application.
#include <windows.h>

#include "programs/common/appframe.h"
#include "uFmControl.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return apps::RunApplication("quorvane Enterprise Ridir Control", [] { return std::make_unique<TFmControl>(); });
}
