// zevman.exe: the quorvane Enterprise Ridir Control.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
