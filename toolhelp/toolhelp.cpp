#include "toolhelp.h"

#include "owners.h"
#include "pathrules.h"
#include "syslib.h"
#include "text.h"

#ifndef _WIN64
// the entry sizes that 32-bit Windows expects in dwSize
static_assert(sizeof(PROCESSENTRY32) == 296, "ANSI process entry");
static_assert(sizeof(MODULEENTRY32) == 548, "ANSI module entry");
#endif

// QueryFullProcessImageNameA wants no more than this (Vista and later)
static const DWORD kQueryLimitedInformation = 0x1000;

static ToolHelpTable s_table;

// A new snapshot, or none when it cannot be taken.
static HANDLE TakeSnapshot(DWORD kind, DWORD processId)
{
    return s_table.createSnapshot ? s_table.createSnapshot(kind, processId) : INVALID_HANDLE_VALUE;
}

bool BindToolHelpIn(const char* moduleName, int needs)
{
    HMODULE kernel = GetModuleHandleA(moduleName);
    BindFunction(kernel, "CreateToolhelp32Snapshot", s_table.createSnapshot);
    BindFunction(kernel, "Process32First", s_table.process32First);
    BindFunction(kernel, "Process32Next", s_table.process32Next);
    // the helper needs no module walk, but the first module names a process's
    // program on the NT family
    BindFunction(kernel, "Module32First", s_table.module32First);
    BindFunction(kernel, "Module32Next", s_table.module32Next);
    BindFunction(kernel, "QueryFullProcessImageNameA", s_table.queryFullProcessImageName);
    bool processes = s_table.createSnapshot && s_table.process32First && s_table.process32Next;
    bool modules = s_table.module32First && s_table.module32Next;
    s_table.available = processes && (modules || !(needs & kNeedModules));
    return s_table.available;
}

bool BindToolHelp(int needs) { return BindToolHelpIn("KERNEL32.DLL", needs); }

const ToolHelpTable& ToolHelp() { return s_table; }

// A module snapshot of the process in snap, its first entry in m. False
// when either cannot be had. Inlined: the removal helper counts its bytes.
static inline __attribute__((always_inline)) bool FirstModule(CHandle& snap, DWORD processId, MODULEENTRY32& m)
{
    if (!s_table.module32First)
        return false;
    snap.Reset(TakeSnapshot(TH32CS_SNAPMODULE, processId));
    m.dwSize = sizeof m;
    return snap.IsValid() && s_table.module32First(snap.Get(), &m);
}

bool FirstModulePath(DWORD processId, char* out, DWORD size)
{
    CHandle snap;
    MODULEENTRY32 m;
    return FirstModule(snap, processId, m) && CopyText(out, size, m.szExePath);
}

bool ImagePath(DWORD processId, char* out, DWORD size)
{
    if (!s_table.queryFullProcessImageName)
        return false;
    CHandle process(OpenProcess(kQueryLimitedInformation, FALSE, processId));
    if (!process.IsValid())
        return false;
    DWORD n = size;
    return s_table.queryFullProcessImageName(process.Get(), 0, out, &n) && n < size;
}

// The program path of a process entry, when it can be had in full.
static bool ProgramPath(const PROCESSENTRY32& entry, char* out, DWORD size)
{
    if (AfterLastBackslash(entry.szExeFile) != entry.szExeFile)
        return CopyText(out, size, entry.szExeFile);
    // process id 0 would make a module snapshot of this process
    return entry.th32ProcessID != 0 &&
           (FirstModulePath(entry.th32ProcessID, out, size) || ImagePath(entry.th32ProcessID, out, size));
}

bool FindProgramProcess(const char* path, SamePathFn same, AcceptProcessFn accept, void* context)
{
    if (!path || !s_table.available)
        return false;
    CHandle snap(TakeSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap.IsValid())
        return false;
    const char* name = AfterLastBackslash(path);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = s_table.process32First(snap.Get(), &entry); more;
         more = s_table.process32Next(snap.Get(), &entry)) {
        // a different file name cannot be the same path: spare the lookup
        if (!same(AfterLastBackslash(entry.szExeFile), name))
            continue;
        char full[MAX_PATH];
        if (!ProgramPath(entry, full, sizeof full) || !same(full, path))
            continue;
        if (!accept || accept(entry.th32ProcessID, context))
            return true;
    }
    return false;
}

ModuleWalk WalkModules(DWORD processId, VisitModuleFn visit, void* context)
{
    CHandle snap;
    MODULEENTRY32 m;
    if (!s_table.module32Next || !FirstModule(snap, processId, m))
        return kModulesUnreadable;
    do {
        if (visit(m, context))
            return kModuleAccepted;
    } while (s_table.module32Next(snap.Get(), &m));
    return kNoModuleAccepted;
}

bool IsProgramRunning(const char* path) { return FindProgramProcess(path, EqualNoCase, 0, 0); }
