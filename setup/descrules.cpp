#include "descrules.h"

#include <stdlib.h>
#include <string.h>

void SplitMode(const char* mode, CStr& base, CStr& suffix)
{
    const char* dot = strchr(mode, '.');
    if (dot && dot != mode) {
        base.Set(mode, (size_t)(dot - mode));
        suffix = dot;
    } else {
        base = mode;
        suffix.Clear();
    }
}

int PlatformOfSuffix(const char* suffix)
{
    if (strcmp(suffix, ".16") == 0)
        return 1;
    if (strcmp(suffix, ".32") == 0)
        return 2;
    return 0;
}

FileFlags ParseFileFlags(const char* value)
{
    // a short value counts its missing characters as code 0
    unsigned char c[3] = {0, 0, 0};
    for (int i = 0; i < 3 && value[i]; ++i)
        c[i] = (unsigned char)value[i];
    FileFlags f;
    f.variants = c[0] & 3;
    f.kind = c[1] & 3;
    f.critical = (c[2] & 12) == 0;
    return f;
}

size_t DeviceNameLength(const char* name)
{
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
    size_t n = 0;
    while (name[n] && name[n] != '.')
        ++n;
    while (n > 0 && name[n - 1] == ' ')
        --n;
    for (const char* device : devices)
        if (strlen(device) == n && EqualNoCaseN(name, device, n))
            return n;
    // COM1 to COM9, LPT1 to LPT9
    bool port = n == 4 && (EqualNoCaseN(name, "COM", 3) || EqualNoCaseN(name, "LPT", 3)) && name[3] >= '1' &&
                name[3] <= '9';
    return port ? n : 0;
}

bool IsPlainFileName(const char* name)
{
    if (!*name || strspn(name, ".") == strlen(name))
        return false;
    for (const char* p = name; *p; ++p)
        if ((unsigned char)*p < 32 || strchr("\\/:*?\"<>|", *p))
            return false;
    char last = name[strlen(name) - 1];
    return last != '.' && last != ' ' && !DeviceNameLength(name);
}

bool IsUninstallSwitch(const char* commandLine) { return EqualNoCase(commandLine, "/uninstall"); }

bool KeyListComplete(unsigned long returned, unsigned long size) { return size > 2 && returned < size - 2; }

const char* ReadWholeKeyList(KeyListReader read, void* context, unsigned long size, char** block)
{
    for (;; size *= 2) {   // memory runs out long before the size would overflow
        free(*block);
        if (!(*block = (char*)malloc(size)))
            return 0;
        // a cut list has no closing double NUL of its own, but it is read again
        if (KeyListComplete(read(*block, size, context), size))
            return *block;
    }
}
