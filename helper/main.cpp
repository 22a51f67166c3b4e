// The removal helper. Setup starts it from a temporary file as its last act;
// once setup has ended it deletes the setup program file and the emptied
// folder and, started with "/msg", tells the user that the product is gone.
// It rides inside setup, so it has no C runtime: HelperMain is its entry.
#include <windows.h>

#include "helperrules.h"
#include "pathrules.h"
#include "toolhelp.h"

enum {
    kTextSize = MAX_PATH,   // each of the helper's five texts
    kWaits = 5,             // at most, while setup still runs
    kWaitMs = 400,
    kSettleMs = 500,        // after the last look, for setup's last handles to go
    kRemovedText = 1,       // " has been removed successfully \nfrom "
    kProductText = 2,       // "The product"
};

// A variable's value; false, with the buffer empty, when it is unset, empty
// or too long. A cut path could name another file, so it is never cut.
static bool ReadVariable(const char* name, char* value)
{
    DWORD n = GetEnvironmentVariableA(name, value, kTextSize);
    if (n == 0 || n >= kTextSize) {
        value[0] = 0;
        return false;
    }
    return true;
}

// Its own folder becomes the current one, so that it holds no folder of
// setup's open. The backslash stays: "C:" alone would mean the drive's
// current folder, which may be the one to remove.
static void LeaveSetupFolder()
{
    char own[kTextSize];
    DWORD n = GetModuleFileNameA(0, own, kTextSize);
    if (n == 0 || n >= kTextSize)
        return;
    char* name = own + (AfterLastBackslash(own) - own);
    if (name == own)
        return;
    *name = 0;
    SetCurrentDirectoryA(own);
}

static void WaitForSetupToEnd(const char* module)
{
    if (!BindToolHelp(kNeedProcesses))
        return;
    for (int waits = 0; waits < kWaits && IsProgramRunning(module); ++waits)
        Sleep(kWaitMs);
    Sleep(kSettleMs);
}

// "<display name> has been removed successfully \nfrom <folder>." under the
// setup program's name up to its first ".", in capitals.
static void ReportRemoval(const char* displayName, const char* folder, char* name)
{
    HINSTANCE instance = GetModuleHandleA(0);
    char text[kTextSize], tail[kTextSize];
    text[0] = 0;
    if (displayName[0])
        AppendShown(text, sizeof text, displayName);
    else if (!LoadStringA(instance, kProductText, text, sizeof text))
        return;
    if (!LoadStringA(instance, kRemovedText, tail, sizeof tail))
        return;
    AppendShown(tail, sizeof tail, folder);
    AppendShown(tail, sizeof tail, ".");
    AppendShown(text, sizeof text, tail);
    char* dot = name;
    while (*dot && *dot != '.')
        ++dot;
    *dot = 0;
    CharUpperA(name);
    MessageBoxA(0, text, name, MB_OK | MB_ICONINFORMATION);
}

static void RemoveSetup()
{
    LeaveSetupFolder();
    const bool report = HasReportSwitch(GetCommandLineA());
    char module[kTextSize], displayName[kTextSize];
    ReadVariable("SETUPAPPDISPLAYNAME", displayName);
    // only a full path: a bare name would delete a file of the current folder
    if (!ReadVariable("SETUPMODULE", module) || AfterLastBackslash(module) == module)
        return;
    WaitForSetupToEnd(module);
    const bool deleted = DeleteFileA(module) != 0;
    bool removable;
    char* name = SplitAtLastBackslash(module, &removable);
    if (deleted && removable)
        RemoveDirectoryA(module);
    if (report)
        ReportRemoval(displayName, module, name);
}

extern "C" void WINAPI HelperMain()
{
    RemoveSetup();
    ExitProcess(0);
}
