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

int SplitSectionKeys(char* section, unsigned long length, SectionKey** keys)
{
    // a key takes three characters at least ("a=" and its NUL): a slot for
    // each and one more, so that the table always has a free one. Each name's
    // first key is found by a hash of its name: a long list stays linear.
    unsigned long slots = length / 3 + 1;
    free(*keys);
    SectionKey* key = *keys = (SectionKey*)malloc(slots * (sizeof *key + sizeof key));
    if (!key)
        return -1;
    SectionKey** first = (SectionKey**)(key + slots);
    memset(first, 0, slots * sizeof key);
    for (; *section && *section != '='; ++section) {
        char* value = strchr(section, '=');
        char* name = section;
        section += strlen(section);
        if (!value)
            continue;
        *value++ = 0;
        char* end = section;
        if (end - value > 1 && (*value == '"' || *value == '\'') && end[-1] == *value) {
            *--end = 0;
            ++value;
        }
        if (end - value >= 260)
            value = end;
        unsigned h = 0;
        for (const char* c = name; *c; ++c)
            h = h * 31 + (*c | 0x20);   // the same for either case of a letter
        SectionKey** slot;
        while (*(slot = first + h % slots) && !EqualNoCase((*slot)->name, name))
            ++h;
        if (!*slot)
            *slot = key;
        key->name = name;
        key->value = *slot == key ? value : (*slot)->value;
        ++key;
    }
    return (int)(key - *keys);
}
