#include "pathrules.h"

#include <string.h>

const char kDefaultFolder[] = "C:";

void NormalizeFolder(CStr& path)
{
    size_t n = path.Length();
    const char* p = path.c_str();
    if (n > 2 && p[n - 1] == '\\' && p[n - 2] != ':')
        path.Truncate(n - 1);
}

void RootBareDrive(CStr& path)
{
    if (path.Length() == 2 && path.c_str()[1] == ':')
        path.AppendChar('\\');
}

CStr FolderInFrontOf(const char* path, const char* name)
{
    const char* at = strstr(path, name);
    if (!at)
        return CStr();
    size_t n = (size_t)(at - path);
    if (n > 0 && path[n - 1] == '\\' && !(n > 1 && path[n - 2] == ':'))
        --n;
    return CStr(path, n);
}

CStr JoinPath(const char* folder, const char* name)
{
    CStr out;
    if (folder && *folder) {
        out = folder;
        if (folder[strlen(folder) - 1] != '\\')
            out.AppendChar('\\');
    }
    out.Append(name);
    return out;
}

bool HasExtension(const char* name, const char* ext)
{
    const char* dot = strrchr(name, '.');
    return dot && EqualNoCase(dot, ext);
}

CStr FileTitle(const char* name)
{
    const char* dot = strrchr(name, '.');
    return dot ? CStr(name, (size_t)(dot - name)) : CStr(name);
}

CStr DescriptionName(const char* programName)
{
    CStr ini = FileTitle(programName);
    ini.Append(".INI");
    return ini;
}

bool SecondDescriptionName(const char* name, CStr& second)
{
    const char* at = strstr(name, "32");
    if (!at || at == name)
        return false;
    second.Set(name, (size_t)(at - name));
    second.Append(at + 2);
    return true;
}
