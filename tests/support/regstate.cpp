#include "regstate.h"

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
