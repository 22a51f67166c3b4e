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

void ExistingAncestor(const char* path, bool (*exists)(const char* folder, void* context), void* context,
                      CStr& ancestor, CStr& missing)
{
    CStr given = path;   // path may be ancestor's own text
    size_t len = given.Length();
    size_t cut = len;   // the current text is given[0, cut)
    const bool bareDrive = len > 0 && given.c_str()[len - 1] == ':';
    for (;;) {
        CStr current(given.c_str(), cut);
        if (current.IsEmpty() || strcmp(current, "\\") == 0 || bareDrive || exists(current, context))
            break;
        const char* slash = strrchr(current, '\\');
        if (!slash)
            break;
        cut = (size_t)(slash - current.c_str());
    }
    missing = cut < len ? given.c_str() + cut + 1 : "";
    ancestor.Set(given.c_str(), cut);
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
