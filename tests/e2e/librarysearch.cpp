// Loads the library named on its command line by its bare name, as a program
// does, after restricting the library search the way setup does; with
// "open " before the name, without restricting it.
#include <windows.h>

#include <string.h>

#include "syslib.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR line, int)
{
    const bool open = strncmp(line, "open ", 5) == 0;
    if (!open)
        RestrictLibrarySearch();
    return LoadLibraryA(open ? line + 5 : line) ? 0 : 1;
}
