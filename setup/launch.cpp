#include "launch.h"

#include <windows.h>

#include "launchrules.h"
#include "progpath.h"
#include "quillset.h"

// The helper's bytes to a new file; a file left incomplete is deleted.
static bool WriteHelper(const char* path, const char* bytes, DWORD size)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0, wrote;
    while (done < size && WriteFile(file, bytes + done, size - done, &wrote, 0) && wrote)
        done += wrote;
    CloseHandle(file);
    if (done < size)
        DeleteFileA(path);
    return done == size;
}

// The environment entries setup passes on; false when memory ran out.
static bool MakeEnvironment(CStr& block, const CSetupFile& self, const char* displayName)
{
    char* own = GetEnvironmentStringsA();
    bool ok = HelperEnvironment(block, own, self.FullPath(), displayName);
    if (own)
        FreeEnvironmentStringsA(own);
    return ok;
}

// Nothing can delete the helper's copy while it runs: it goes at the next
// start of Windows. Windows 95's MoveFileExA does nothing; its start-up reads
// WININIT.INI's [rename] instead, in short names, and as "NUL=" may stand
// there more than once, the section is written whole. One too long for the
// buffer is left as it is.
static void DeleteAtRestart(const char* path)
{
    if (!(GetVersion() & 0x80000000)) {
        MoveFileExA(path, 0, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    static char section[4096];   // the stack is kept small
    DWORD n = GetPrivateProfileSectionA("rename", section, sizeof section, "WININIT.INI");
    if (n + 4 + MAX_PATH + 2 > sizeof section)
        return;
    CopyText(section + n, 5, "NUL=");
    DWORD added = GetShortPathNameA(path, section + n + 4, MAX_PATH);
    if (added == 0 || added >= MAX_PATH)
        return;
    section[n + 4 + added + 1] = 0;
    WritePrivateProfileSectionA("rename", section, "WININIT.INI");
}

bool LaunchRemovalHelper(const CSetupFile& self, const char* displayName, bool reportRemoval)
{
    HRSRC resource = FindResourceA(0, MAKEINTRESOURCEA(IDR_HELPER), "FILE");
    HGLOBAL loaded = resource ? LoadResource(0, resource) : 0;
    const char* bytes = loaded ? (const char*)LockResource(loaded) : 0;
    if (!bytes)
        return false;
    char folder[MAX_PATH], path[MAX_PATH];
    DWORD n = GetTempPathA(sizeof folder, folder);
    if (n == 0 || n >= sizeof folder || !GetTempFileNameA(folder, "ZUB", 0, path) ||
        !WriteHelper(path, bytes, SizeofResource(0, resource)))
        return false;

    char command[MAX_PATH + 8];
    CStr environment;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    // it starts in its own folder: a folder of setup's that it held could
    // not be removed as soon as setup ends
    if (!BuildCommand(command, sizeof command, path, reportRemoval ? "/msg" : "") ||
        !MakeEnvironment(environment, self, displayName) ||
        !CreateProcessA(path, command, 0, 0, FALSE, DETACHED_PROCESS, environment.Data(), folder, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteAtRestart(path);
    return true;
}
