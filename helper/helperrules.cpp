#include "helperrules.h"

#include "pathrules.h"

bool HasReportSwitch(const char* commandLine)
{
    const char* p = commandLine;
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {
        }
        if (*p)
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return EqualNoCaseN(p, "/msg", 4);
}

char* SplitAtLastBackslash(char* path, bool* removable)
{
    char* name = path + (AfterLastBackslash(path) - path);
    *removable = name - path >= 2 && name[-2] != ':';
    if (name == path)
        return 0;
    name[-1] = 0;
    return name;
}

void AppendShown(char* dst, size_t size, const char* src)
{
    size_t n = 0;
    while (n < size && dst[n])
        ++n;
    for (; n + 1 < size && *src; ++n, ++src)
        dst[n] = *src;
    if (n < size)
        dst[n] = 0;
}
