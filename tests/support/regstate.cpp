#include "regstate.h"

#include "bench.h"

#include <stdio.h>

#include <stdexcept>
#include <vector>

namespace regstate {

Value Read(HKEY root, const std::string& key, const char* name)
{
    Value v;
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return v;
    std::vector<char> buf(65536);
    DWORD cb = (DWORD)buf.size();
    if (RegQueryValueExA(k, name, nullptr, &v.type, (BYTE*)buf.data(), &cb) == ERROR_SUCCESS) {
        v.found = true;
        v.bytes.assign(buf.data(), cb);
    }
    RegCloseKey(k);
    return v;
}

bool IsString(HKEY root, const std::string& key, const char* name, const std::string& text)
{
    Value v = Read(root, key, name);
    return v.found && v.type == REG_SZ && v.bytes == text + std::string(1, '\0');
}

void Set(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes)
{
    HKEY k;
    if (RegCreateKeyA(root, key.c_str(), &k) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create key " + key);
    LONG rc = RegSetValueExA(k, name, 0, type, (const BYTE*)bytes.data(), (DWORD)bytes.size());
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS)
        throw std::runtime_error("cannot set a value in " + key);
}

void SetDword(HKEY root, const std::string& key, const char* name, DWORD value)
{
    Set(root, key, name, REG_DWORD, std::string((const char*)&value, sizeof value));
}

static void DumpInto(HKEY k, const std::string& path, std::string& out)
{
    char name[1024];
    std::vector<char> data(65536);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, dataSize = (DWORD)data.size(), type = 0;
        if (RegEnumValueA(k, i, name, &nameSize, nullptr, &type, (BYTE*)data.data(), &dataSize) != ERROR_SUCCESS)
            break;
        out += path + " [" + std::string(name, nameSize) + "] type " + std::to_string(type) + " = ";
        for (DWORD j = 0; j < dataSize; ++j) {
            unsigned char c = (unsigned char)data[j];
            if (c >= 32 && c < 127)
                out += (char)c;
            else
                out += "\\x" + std::to_string(c);
        }
        out += "\n";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(k, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string sub = path + "\\" + name;
        out += sub + "\n";
        HKEY s;
        if (RegOpenKeyExA(k, name, 0, KEY_READ, &s) == ERROR_SUCCESS) {
            DumpInto(s, sub, out);
            RegCloseKey(s);
        }
    }
}

std::string Dump(HKEY root, const std::string& key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return key + " (none)\n";
    std::string out = key + "\n";
    DumpInto(k, key, out);
    RegCloseKey(k);
    return out;
}

bool HasNoValuesOrSubkeys(HKEY root, const std::string& key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 1, values = 1;
    LONG rc = RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

DWORD Run(const std::string& exe, const std::string& args)
{
    std::string line = "\"" + exe + "\" " + args;
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return (DWORD)-1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

}  // namespace regstate

namespace regstate {

// Keys that Wine itself writes as programs start: the display adapter's
// driver record (its "DriverDateData" changes each time).
static bool IsWinesOwn(const std::string& savedKeyLine)
{
    return savedKeyLine.find("Control\\\\Class\\\\{4D36E968-E325-11CE-BFC1-08002BE10318}") != std::string::npos;
}

// The registry as RegSaveKey writes it, which needs the backup privilege.
static void AddSavedKey(HKEY root, const char* rootName, State& state)
{
    static bool privileged = false;
    if (!privileged) {
        HANDLE token;
        TOKEN_PRIVILEGES tp = {};
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        privileged = OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token) &&
                     LookupPrivilegeValueA(nullptr, "SeBackupPrivilege", &tp.Privileges[0].Luid) &&
                     AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
    }
    char folder[MAX_PATH], file[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "reg", 0, file);
    DeleteFileA(file);
    LONG rc = RegSaveKeyA(root, file, nullptr);
    std::string text;
    if (rc == ERROR_SUCCESS) {
        HANDLE h = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        std::vector<char> buf(1 << 16);
        DWORD got = 0;
        while (h != INVALID_HANDLE_VALUE && ReadFile(h, buf.data(), (DWORD)buf.size(), &got, nullptr) && got)
            text.append(buf.data(), got);
        CloseHandle(h);
    }
    DeleteFileA(file);
    if (rc != ERROR_SUCCESS || text.empty())
        throw std::runtime_error(std::string("cannot save the registry key ") + rootName);
    // "[key] time" opens a key; "#time=" lines and a value's "\" line breaks are the file's own
    std::string key;
    bool inWinesOwn = false;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        while (!line.empty() && line.back() == '\\' && at < text.size()) {
            size_t next = text.find('\n', at);
            std::string more = text.substr(at, next == std::string::npos ? std::string::npos : next - at);
            at = next == std::string::npos ? text.size() : next + 1;
            line.pop_back();
            line += more.substr(more.find_first_not_of(' '));
        }
        if (line.empty() || line[0] == '#' || line[0] == ';' || line.rfind("WINE REGISTRY", 0) == 0)
            continue;
        if (line[0] == '[') {
            inWinesOwn = IsWinesOwn(line);
            key = std::string(rootName) + "\\" + line.substr(1, line.rfind(']') - 1);
            for (size_t i = 0; (i = key.find("\\\\", i)) != std::string::npos; ++i)
                key.erase(i, 1);   // the file doubles a key name's backslashes
            // a key's folders stand in the file only while they hold nothing else
            for (size_t at = key.find('\\'); !inWinesOwn && at != std::string::npos; at = key.find('\\', at + 1))
                state.insert(key.substr(0, at));
            if (!inWinesOwn)
                state.insert(key);
        } else if (!inWinesOwn) {
            state.insert(key + " " + line);
        }
    }
}

// The user's Desktop, Documents, ... Templates are Wine's links to the Unix
// home folder, which other programs of the machine change.
static bool IsLinkToHome(const std::string& folder, const std::string& name)
{
    char profile[MAX_PATH] = "";
    GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile);
    static const char* const links[] = {"Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos", "Templates"};
    size_t n = strlen(profile);
    if (!n || folder.size() < n || lstrcmpiA(folder.substr(0, n).c_str(), profile) != 0)
        return false;
    for (const char* link : links)
        if (lstrcmpiA(name.c_str(), link) == 0)
            return true;
    return false;
}

static void AddFiles(const std::string& folder, const std::string& include, State& state)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName, path = folder + "\\" + name;
        if (name == "." || name == "..")
            continue;
        bool isFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && path == "C:\\bench") {
            if (!include.empty())
                AddFiles(include, "", state);
            continue;
        }
        if (isFolder && IsLinkToHome(folder, name))
            continue;
        char line[64];
        if (isFolder)
            sprintf(line, " folder %lx", fd.dwFileAttributes);
        else
            sprintf(line, " %lu %lx %08lx%08lx", fd.nFileSizeLow, fd.dwFileAttributes, fd.ftLastWriteTime.dwHighDateTime,
                    fd.ftLastWriteTime.dwLowDateTime);
        state.insert(path + line);
        if (isFolder)
            AddFiles(path, include, state);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

State MachineState(const std::string& include)
{
    State state;
    AddSavedKey(HKEY_LOCAL_MACHINE, "HKLM", state);
    AddSavedKey(HKEY_CURRENT_USER, "HKCU", state);
    AddFiles("C:", include, state);
    return state;
}

std::vector<std::string> Changes(const State& before, const State& after)
{
    std::vector<std::string> out;
    for (auto& line : after)
        if (!before.count(line))
            out.push_back("+ " + line);
    for (auto& line : before)
        if (!after.count(line))
            out.push_back("- " + line);
    return out;
}

}  // namespace regstate

namespace regstate {

std::string InstallState(const std::string& folder)
{
    const HKEY CR = HKEY_CLASSES_ROOT, LM = HKEY_LOCAL_MACHINE, CU = HKEY_CURRENT_USER;
    const std::string windows = "Software\\Microsoft\\Windows\\CurrentVersion\\";
    std::string s;
    for (const char* key : {".zyn", "Zyne.Pres.1.95", "MIME\\Database\\Content Type\\application/x-zyne"})
        s += Dump(CR, key);
    for (const char* name : {"VANTREL.EXE", "NPZYNE32.DLL"})
        s += Dump(LM, windows + "App Paths\\" + name) + Dump(LM, windows + "Uninstall\\" + name);
    s += Dump(CU, "Software\\Zyne Systems");
    s += bench::RegString(CU, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions", "zyn") + "\n";
    for (auto& name : bench::IsFolder(folder) ? bench::List(folder) : std::vector<std::string>())
        s += name + " " + std::to_string(bench::ReadFile(folder + "\\" + name).size()) + "\n";
    for (size_t at = 0; (at = s.find(folder, at)) != std::string::npos;)
        s.replace(at, folder.size(), "<dest>");
    return s;
}

}  // namespace regstate
