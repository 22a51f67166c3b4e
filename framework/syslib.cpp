#include "syslib.h"

#include "text.h"

HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    if (n == 0 || n >= sizeof path || !AppendText(path, "\\") || !AppendText(path, name))
        return 0;
    return LoadLibraryA(path);
}

void RestrictLibrarySearch()
{
    const DWORD kSearchSystem32 = 0x800;   // LOAD_LIBRARY_SEARCH_SYSTEM32
    BOOL(WINAPI * setDirectories)(DWORD);
    BindFunction(GetModuleHandleA("KERNEL32.DLL"), "SetDefaultDllDirectories", setDirectories);
    if (setDirectories)
        setDirectories(kSearchSystem32);
}

static CVersionLibrary s_version;
static bool s_versionBound = false;

const CVersionLibrary& VersionLibrary()
{
    if (!s_versionBound) {
        HMODULE library = LoadSystemLibrary("VERSION.DLL");
        BindFunction(library, "GetFileVersionInfoSizeA", s_version.GetFileVersionInfoSizeA);
        BindFunction(library, "GetFileVersionInfoA", s_version.GetFileVersionInfoA);
        BindFunction(library, "VerQueryValueA", s_version.VerQueryValueA);
        BindFunction(library, "VerInstallFileA", s_version.VerInstallFileA);
        s_versionBound = true;
    }
    return s_version;
}
