// The removal helper: started by setup after it has finished, it removes the
// setup program file and its emptied folder.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
