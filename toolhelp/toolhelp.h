// Which programs are running, from the kernel's tool-help snapshots. The
// functions are looked up at run time (Windows NT 3.51 and 4.0 have none);
// without them nothing counts as running. Shared by setup and the helper.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

struct ToolHelpTable {
    HANDLE(WINAPI* createSnapshot)(DWORD, DWORD);
    BOOL(WINAPI* module32First)(HANDLE, MODULEENTRY32*);
    BOOL(WINAPI* module32Next)(HANDLE, MODULEENTRY32*);
    BOOL(WINAPI* process32First)(HANDLE, PROCESSENTRY32*);
    BOOL(WINAPI* process32Next)(HANDLE, PROCESSENTRY32*);
    // Windows Vista and later; only to find a process's program path
    BOOL(WINAPI* queryFullProcessImageName)(HANDLE, DWORD, LPSTR, PDWORD);
    bool available;   // all that the program needs were found
};

enum {
    kNeedProcesses = 1,   // snapshot and process walk: the helper
    kNeedModules = 2,     // module walk as well: setup
};

// Looks the functions up in the loaded KERNEL32.DLL (never loads a library)
// and keeps the answer for the process. Returns whether they are available.
bool BindToolHelp(int needs = kNeedProcesses | kNeedModules);
// Test seam: the same lookup in another loaded module.
bool BindToolHelpIn(const char* moduleName, int needs);
const ToolHelpTable& ToolHelp();

// The full program path of a process. Windows 95 keeps it in the process
// entry; the NT family (and Wine) keep only the file name there, so it is
// then taken from the process's first module or, failing that, from
// QueryFullProcessImageNameA. False when neither gives it.
bool FirstModulePath(DWORD processId, char* out, DWORD size);
bool ImagePath(DWORD processId, char* out, DWORD size);

// Walks the running processes whose program file is `path`, compared by
// `same`; accept (null: any) decides whether a match counts, and the walk
// ends at the first that does. False when none counted or nothing is known.
typedef bool (*SamePathFn)(const char* a, const char* b);
typedef bool (*AcceptProcessFn)(DWORD processId, void* context);
bool FindProgramProcess(const char* path, SamePathFn same, AcceptProcessFn accept, void* context);

// Calls visit for the modules of a process in snapshot order until it
// returns true.
typedef bool (*VisitModuleFn)(const MODULEENTRY32& module, void* context);
enum ModuleWalk {
    kModulesUnreadable,   // the snapshot could not be taken or its first module read
    kNoModuleAccepted,
    kModuleAccepted,
};
ModuleWalk WalkModules(DWORD processId, VisitModuleFn visit, void* context);

// The helper's question: does a process run whose program path is `path`?
// Letters A to Z compare without regard to case.
bool IsProgramRunning(const char* path);
