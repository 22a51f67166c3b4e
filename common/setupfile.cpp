#include "setupfile.h"

#include <windows.h>
#include <string.h>

#include "registry.h"

bool FolderExists(const char* path)
{
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void CSetupFolder::SetPath(const char* text)
{
    m_path = text;
    NormalizeFolder(m_path);
}

bool SameFolder(const char* a, const char* b)
{
    char shortNames[2][MAX_PATH];
    const char* paths[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
        DWORD n = GetShortPathNameA(paths[i], shortNames[i], MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return EqualNoCase(a, b);
    }
    return EqualNoCase(shortNames[0], shortNames[1]);
}

static bool FolderFound(const char* path, void*) { return FolderExists(path); }

const char* CSetupFolder::ExistingAncestor(CStr& missing)
{
    ::ExistingAncestor(m_path, FolderFound, 0, m_path, missing);
    return m_path;
}

bool CSetupFolder::CreatePath()
{
    CStr saved = m_path;
    // the walk and the levels go by backslashes: D:/Apps/New is D:\Apps\New
    for (char* p = m_path.Data(); p && *p; ++p)
        if (*p == '/')
            *p = '\\';
    CStr rest;
    ExistingAncestor(rest);
    if (rest.IsEmpty()) {
        m_path = saved;
        return true;
    }
    CStr current = m_path;
    const char* p = rest.c_str();
    for (;;) {
        const char* end = strchr(p, '\\');
        size_t n = end ? (size_t)(end - p) : strlen(p);
        current.AppendChar('\\');
        current.Append(p, n);
        if (!CreateDirectoryA(current, 0)) {
            m_path = saved;
            return false;
        }
        if (!end)
            break;
        p = end + 1;
    }
    m_path = saved;
    return true;
}

CDefaultProgramFolder::CDefaultProgramFolder()
{
    CKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return;
    char buf[MAX_PATH];
    if (key.QueryString("ProgramFilesDir", buf, sizeof buf, true))
        SetPath(buf);
}

CSetupFile::CSetupFile(const char* folder, const char* name)
{
    Init();
    SetPath(folder);
    m_name = name;
}

void CSetupFile::Init()
{
    kind = 0;
    critical = false;
    m_probed = m_exists = m_isProgram = m_isLibrary = false;
}

void CSetupFile::SetPath(const char* text)
{
    CSetupFolder::SetPath(text);
    m_probed = false;
}

void CSetupFile::Probe()
{
    if (m_probed)
        return;
    if (!m_name.IsEmpty()) {
        m_probed = true;
        m_isProgram = HasExtension(m_name, ".exe");
        m_isLibrary = HasExtension(m_name, ".dll");
    } else {
        // the running program itself
        char self[MAX_PATH];
        DWORD n = GetModuleFileNameA(0, self, sizeof self);
        if (n == 0 || n >= sizeof self)
            return;
        const char* name = AfterLastBackslash(self);
        SetPath(CStr(self, (size_t)(name - self) - (name > self ? 1 : 0)));
        m_name = name;
        m_isLibrary = false;
        m_isProgram = true;
        m_probed = !m_name.IsEmpty();
    }
    m_exists = GetFileAttributesA(FullPath()) != INVALID_FILE_ATTRIBUTES;
}

// The refusals that may be a read-only file's: those the C library's
// remove() reported as "access denied".
static bool AccessRefused(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_NETWORK_ACCESS_DENIED ||
           (error >= ERROR_WRITE_PROTECT && error <= ERROR_SHARING_BUFFER_EXCEEDED);
}

bool CSetupFile::DeleteFrom(const CSetupFolder* folder) const
{
    CStr path = folder ? PathIn(folder) : FullPath();
    if (DeleteFileA(path))
        return true;
    if (!AccessRefused(GetLastError()))
        return false;
    DWORD a = GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    SetFileAttributesA(path, a & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileA(path) != 0;
}
