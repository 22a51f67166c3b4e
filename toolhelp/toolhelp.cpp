#include "toolhelp.h"

#include "pathrules.h"
#include "text.h"

#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "ANSI process entry");
static_assert(sizeof(MODULEENTRY32) == 548, "ANSI module entry");
#endif

// QueryFullProcessImageNameA wants no more than this (Vista and later)
static const DWORD kQueryLimitedInformation = 0x1000;

static ToolHelpTable s_table;

namespace {

// A snapshot handle, closed once.
class CSnapshot {
public:
    CSnapshot(DWORD kind, DWORD processId)
        : m_h(s_table.createSnapshot ? s_table.createSnapshot(kind, processId) : INVALID_HANDLE_VALUE)
    {
    }
    ~CSnapshot()
    {
        if (Valid())
            CloseHandle(m_h);
    }
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != 0; }
    HANDLE Handle() const { return m_h; }

private:
    CSnapshot(const CSnapshot&);
    void operator=(const CSnapshot&);
    HANDLE m_h;
};

}  // namespace

template <typename T> static void Find(HMODULE module, const char* name, T& entry)
{
    // through void (*)(void), the one type that converts without complaint
    entry = module ? (T)(void (*)(void))GetProcAddress(module, name) : 0;
}

bool BindToolHelpIn(const char* moduleName, int needs)
{
    HMODULE kernel = GetModuleHandleA(moduleName);
    Find(kernel, "CreateToolhelp32Snapshot", s_table.createSnapshot);
    Find(kernel, "Process32First", s_table.process32First);
    Find(kernel, "Process32Next", s_table.process32Next);
    // the helper needs no module walk, but the first module names a process's
    // program on the NT family
    Find(kernel, "Module32First", s_table.module32First);
    Find(kernel, "Module32Next", s_table.module32Next);
    Find(kernel, "QueryFullProcessImageNameA", s_table.queryFullProcessImageName);
    bool processes = s_table.createSnapshot && s_table.process32First && s_table.process32Next;
    bool modules = s_table.module32First && s_table.module32Next;
    s_table.available = processes && (modules || !(needs & kNeedModules));
    return s_table.available;
}

bool BindToolHelp(int needs) { return BindToolHelpIn("KERNEL32.DLL", needs); }

const ToolHelpTable& ToolHelp() { return s_table; }

bool FirstModulePath(DWORD processId, char* out, DWORD size)
{
    if (!s_table.module32First)
        return false;
    CSnapshot snap(TH32CS_SNAPMODULE, processId);
    if (!snap.Valid())
        return false;
    MODULEENTRY32 m;
    m.dwSize = sizeof m;
    return s_table.module32First(snap.Handle(), &m) && CopyText(out, size, m.szExePath);
}

bool ImagePath(DWORD processId, char* out, DWORD size)
{
    if (!s_table.queryFullProcessImageName)
        return false;
    HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, processId);
    if (!process)
        return false;
    DWORD n = size;
    BOOL ok = s_table.queryFullProcessImageName(process, 0, out, &n);
    CloseHandle(process);
    return ok && n < size;
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
    CSnapshot snap(TH32CS_SNAPPROCESS, 0);
    if (!snap.Valid())
        return false;
    const char* name = AfterLastBackslash(path);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = s_table.process32First(snap.Handle(), &entry); more;
         more = s_table.process32Next(snap.Handle(), &entry)) {
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

int WalkModules(DWORD processId, VisitModuleFn visit, void* context)
{
    if (!s_table.module32First || !s_table.module32Next)
        return -1;
    CSnapshot snap(TH32CS_SNAPMODULE, processId);
    if (!snap.Valid())
        return -1;
    MODULEENTRY32 m;
    m.dwSize = sizeof m;
    if (!s_table.module32First(snap.Handle(), &m))
        return -1;
    do {
        if (visit(m, context))
            return 1;
    } while (s_table.module32Next(snap.Handle(), &m));
    return 0;
}

bool IsProgramRunning(const char* path) { return FindProgramProcess(path, EqualNoCase, 0, 0); }
