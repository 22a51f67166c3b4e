// The launcher of a single-file setup: the install set rides behind it
// (payload.h). It checks the whole set first, unpacks it into a fresh folder
// of the temporary folder, runs its SETUP.EXE with the launcher's own
// arguments, and removes the folder again; its exit code is setup's. No C
// runtime: LauncherMain is its entry.
#include <windows.h>

#include "launcher.h"
#include "payload.h"
#include "text.h"

enum {
    kExitDamaged = 2,   // as setup's for an unusable set
    kExitFailed = 5,    // as setup's for any other failure
    kTextSize = 512,
    kTries = 100,       // folder names taken by others before giving up
};

static bool s_quiet;
static char s_folder[MAX_PATH];   // the unpacking folder; empty until made

// Unattended (/S) nothing is shown: the exit code tells.
static DWORD Fail(UINT text, DWORD code)
{
    if (!s_quiet) {
        HINSTANCE instance = GetModuleHandleA(0);
        char message[kTextSize], caption[kTextSize];
        if (LoadStringA(instance, text, message, sizeof message) &&
            LoadStringA(instance, IDS_LAUNCHER_CAPTION, caption, sizeof caption))
            MessageBoxA(0, message, caption, MB_OK | MB_ICONSTOP);
    }
    return code;
}

static bool PathOf(char (&path)[MAX_PATH], const char* name)
{
    return CopyText(path, s_folder) && AppendText(path, "\\") && AppendText(path, name);
}

// The set's names only, then the folder: nothing else can go with it.
static void RemoveFolder(const unsigned char* first)
{
    char path[MAX_PATH];
    PayloadEntry entry;
    for (const unsigned char* at = first; NextEntry(at, entry);)
        if (PathOf(path, entry.name))
            DeleteFileA(path);
    RemoveDirectoryA(s_folder);
}

// A folder that did not exist before: made here, so that no file in it is
// anyone else's.
static bool MakeFolder()
{
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        return false;
    UINT unique = GetCurrentProcessId();
    for (int tries = 0; tries < kTries; ++tries, ++unique) {
        // 0 would make GetTempFileName create a file of its own
        if ((unique & 0xFFFF) == 0 || !GetTempFileNameA(temp, "ZYN", unique & 0xFFFF, s_folder))
            continue;
        if (CreateDirectoryA(s_folder, 0))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    s_folder[0] = 0;
    return false;
}

// A full drive may show only when a file is closed.
static bool Unpack(const unsigned char* first)
{
    char path[MAX_PATH];
    PayloadEntry entry;
    for (const unsigned char* at = first; NextEntry(at, entry);) {
        if (!PathOf(path, entry.name))
            return false;
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        bool ok = WriteFile(file, entry.data, entry.size, &written, 0) && written == entry.size;
        if (!CloseHandle(file) || !ok)
            return false;
    }
    return true;
}

// Setup's exit code, or -1 when it could not be started.
static DWORD RunSetup(const char* arguments)
{
    char program[MAX_PATH];
    if (!PathOf(program, "SETUP.EXE"))
        return (DWORD)-1;
    const size_t size = lstrlenA(program) + lstrlenA(arguments) + 3;
    char* line = (char*)HeapAlloc(GetProcessHeap(), 0, size);
    if (!line)
        return (DWORD)-1;
    line[0] = '"';
    line[1] = 0;
    AppendText(line, size, program);
    AppendText(line, size, "\"");
    AppendText(line, size, arguments);
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    char* p = (char*)&startup;
    for (size_t i = 0; i < sizeof startup; ++i)
        p[i] = 0;
    startup.cb = sizeof startup;
    DWORD code = (DWORD)-1;
    if (CreateProcessA(program, line, 0, 0, FALSE, 0, 0, 0, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        if (!GetExitCodeProcess(process.hProcess, &code))
            code = (DWORD)-1;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    HeapFree(GetProcessHeap(), 0, line);
    return code;
}

// Where the set ends: before a signature, when one has been appended.
static DWORD SetEnd(DWORD size)
{
    const BYTE* image = (const BYTE*)GetModuleHandleA(0);
    const IMAGE_NT_HEADERS* headers = (const IMAGE_NT_HEADERS*)(image + ((const IMAGE_DOS_HEADER*)image)->e_lfanew);
    DWORD signature = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY].VirtualAddress;
    return signature && signature < size ? signature : size;
}

static DWORD Launch()
{
    const char* arguments = ArgumentsOf(GetCommandLineA());
    s_quiet = IsQuietLine(arguments);
    char own[MAX_PATH];
    DWORD n = GetModuleFileNameA(0, own, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return Fail(IDS_LAUNCHER_DAMAGED, kExitDamaged);
    // shared for reading only: the set cannot change between check and unpacking
    HANDLE file = CreateFileA(own, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(IDS_LAUNCHER_DAMAGED, kExitDamaged);
    DWORD high = 0, size = GetFileSize(file, &high);
    HANDLE mapping = high || size == INVALID_FILE_SIZE ? 0 : CreateFileMappingA(file, 0, PAGE_READONLY, 0, 0, 0);
    const unsigned char* view = mapping ? (const unsigned char*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : 0;
    const unsigned char* first = 0;
    if (!view || !CheckPayload(view, SetEnd(size), &first))
        return Fail(IDS_LAUNCHER_DAMAGED, kExitDamaged);
    if (!MakeFolder())
        return Fail(IDS_LAUNCHER_UNPACK, kExitFailed);
    DWORD code = Unpack(first) ? RunSetup(arguments) : (DWORD)-1;
    RemoveFolder(first);
    return code == (DWORD)-1 ? Fail(IDS_LAUNCHER_UNPACK, kExitFailed) : code;
}

extern "C" void WINAPI LauncherMain()
{
    ExitProcess(Launch());
}
