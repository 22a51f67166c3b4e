#include "bench.h"

#include <algorithm>
#include <stdexcept>

namespace bench {

std::string Built(const std::string& name) { return std::string(BENCH_BUILD_DIR) + "\\" + name; }

void MakeFolders(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

void RemoveTree(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return;
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
        for (auto& name : List(path))
            RemoveTree(path + "\\" + name);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(path.c_str());
    } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
}

std::string FreshFolder(const std::string& name)
{
    std::string path = "C:\\bench\\" + name;
    RemoveTree(path);
    MakeFolders(path);
    if (!IsFolder(path))
        throw std::runtime_error("cannot make " + path);
    return path;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write " + path);
    DWORD done = 0;
    BOOL ok = ::WriteFile(h, bytes.data(), (DWORD)bytes.size(), &done, nullptr);
    CloseHandle(h);
    if (!ok || done != bytes.size())
        throw std::runtime_error("short write to " + path);
}

std::string ReadFile(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read " + path);
    std::string out;
    char buf[65536];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got)
        out.append(buf, got);
    CloseHandle(h);
    return out;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void Copy(const std::string& from, const std::string& to)
{
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + from + " to " + to);
    SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::vector<std::string> List(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..")
            names.push_back(n);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void DeleteKeyTree(HKEY root, const std::string& key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
        return;
    char name[512];
    while (RegEnumKeyA(k, 0, name, sizeof name) == ERROR_SUCCESS) {
        std::string sub = key + "\\" + name;
        DeleteKeyTree(root, sub);
        if (KeyExists(root, sub))
            break;   // cannot delete: do not loop forever
    }
    RegCloseKey(k);
    RegDeleteKeyA(root, key.c_str());
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

std::string RegString(HKEY root, const std::string& key, const char* value, bool* found)
{
    if (found)
        *found = false;
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "";
    char buf[4096];
    DWORD type = 0, cb = sizeof buf - 1;
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, (BYTE*)buf, &cb);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS)
        return "";
    if (found)
        *found = true;
    buf[cb] = 0;
    return std::string(buf);
}

void SetRegString(HKEY root, const std::string& key, const char* value, const std::string& data)
{
    HKEY k;
    if (RegCreateKeyA(root, key.c_str(), &k) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create key " + key);
    RegSetValueExA(k, value, 0, REG_SZ, (const BYTE*)data.c_str(), (DWORD)data.size() + 1);
    RegCloseKey(k);
}

void DeleteRegValue(HKEY root, const std::string& key, const char* value)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(k, value);
    RegCloseKey(k);
}

void ResetDocumentType(const std::string& extension, const std::string& progId, const std::string& mimeKey)
{
    DeleteKeyTree(HKEY_CLASSES_ROOT, extension);
    DeleteKeyTree(HKEY_CLASSES_ROOT, progId);
    if (!mimeKey.empty())
        DeleteKeyTree(HKEY_CLASSES_ROOT, mimeKey);
    std::string name = extension.substr(1);
    WriteProfileStringA("Extensions", name.c_str(), nullptr);
    // where Wine keeps WIN.INI's [Extensions]
    DeleteRegValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions", name.c_str());
    DeleteRegValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Extensions", name.c_str());
}

void ResetProgramEntries(const std::string& fileName, const std::string& company)
{
    const std::string windows = "Software\\Microsoft\\Windows\\CurrentVersion\\";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, windows + "App Paths\\" + fileName);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, windows + "Uninstall\\" + fileName);
    if (!company.empty())
        DeleteKeyTree(HKEY_CURRENT_USER, "Software\\" + company);
}

std::string BuiltText(const std::string& program, UINT id, const std::string& arg1, const std::string& arg2)
{
    HMODULE module = LoadLibraryExA(Built(program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char buf[1024] = "";
    if (module) {
        LoadStringA(module, id, buf, sizeof buf);
        FreeLibrary(module);
    }
    std::string text;
    for (const char* p = buf; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            text += p[1] == '1' ? arg1 : arg2;
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}

void SetWindowsVersion(const std::string& exeName, const char* version)
{
    std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    if (version)
        SetRegString(HKEY_CURRENT_USER, key, "Version", version);
    else
        DeleteKeyTree(HKEY_CURRENT_USER, key);
}

}  // namespace bench

namespace {

// The Windows that Wine pretends to be for every program a test starts:
// BENCH_WINDOWS (win95, nt40, winxp, win7, win10), else Wine's own default.
// Set by each test program and taken away at its end, so that no program
// of a later run inherits a mode.
struct WindowsMode {
    WindowsMode()
    {
        const char* mode = getenv("BENCH_WINDOWS");
        if (mode && *mode)
            bench::SetRegString(HKEY_CURRENT_USER, "Software\\Wine", "Version", mode);
        else
            Reset();
    }
    ~WindowsMode() { Reset(); }
    static void Reset() { bench::DeleteRegValue(HKEY_CURRENT_USER, "Software\\Wine", "Version"); }
} s_windowsMode;

}  // namespace
