// Libraries taken from the system folder only. A program started from a
// download folder or a CD must never run a DLL that lies beside it under a
// system library's name, so what it loads at run time is loaded by full path.
#pragma once
#include <windows.h>

// A function of a loaded library by name, null when the library (null) or
// the function is missing. Cast through void (*)(void), the one type that
// converts without complaint.
template <typename T> inline void BindFunction(HMODULE library, const char* name, T& function)
{
    function = library ? (T)(void (*)(void))GetProcAddress(library, name) : 0;
}

// `name` ("VERSION.DLL") from the system folder; null when it is not there.
HMODULE LoadSystemLibrary(const char* name);

// From here on the system looks for libraries in the system folder only,
// where it can (SetDefaultDllDirectories, looked up: Windows 95 and NT 4.0
// have none). Called first thing, before anything else loads.
void RestrictLibrarySearch();

// The version library's functions, bound on first use from the system
// folder's VERSION.DLL, which stays loaded for the process. Each is null when
// the library or the function is missing.
struct CVersionLibrary {
    DWORD(WINAPI* GetFileVersionInfoSizeA)(LPCSTR, LPDWORD);
    BOOL(WINAPI* GetFileVersionInfoA)(LPCSTR, DWORD, DWORD, LPVOID);
    BOOL(WINAPI* VerQueryValueA)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    DWORD(WINAPI* VerInstallFileA)(DWORD, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPSTR, PUINT);
};
const CVersionLibrary& VersionLibrary();
