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

const char* ReadWholeKeyList(KeyListReader read, void* context, char* first, unsigned long firstSize,
                             char** grown)
{
    *grown = first ? 0 : (char*)malloc(firstSize);
    char* buf = first ? first : *grown;
    if (!buf)
        return 0;
    for (unsigned long size = firstSize;;) {
        // zero-filled: a cut list has no closing double NUL of its own
        memset(buf, 0, size);
        if (KeyListComplete(read(buf, size, context), size))
            return buf;
        free(*grown);
        *grown = 0;
        if (size > 0x3FFFFFFFUL)
            return 0;
        size *= 2;
        if (!(buf = *grown = (char*)malloc(size)))
            return 0;
    }
}

static bool IsProfileBlank(char c) { return c == ' ' || c == '\t'; }

// Case-blind hash of a plain ASCII name; false for one the index leaves to the
// profile function, whose case rules go beyond ASCII.
static bool HashName(const char* name, unsigned long& hash)
{
    hash = 2166136261UL;
    if (*name == ';')
        return false;
    for (const unsigned char* p = (const unsigned char*)name; *p; ++p) {
        if (*p >= 0x80)
            return false;
        hash = ((hash ^ (unsigned char)UpperAscii((char)*p)) * 16777619UL) & 0xFFFFFFFFUL;
    }
    return true;
}

CSectionValues::~CSectionValues() { free(m_slots); }

bool CSectionValues::Index(char* lines)
{
    unsigned long count = 0;
    for (const char* p = lines; *p; p += strlen(p) + 1)
        ++count;
    unsigned long size = 16;
    while (size < 2 * count)
        size *= 2;
    free(m_slots);
    m_slots = (Slot*)malloc(size * sizeof *m_slots);
    m_mask = m_slots ? size - 1 : 0;
    if (!m_slots)
        return false;
    memset(m_slots, 0, size * sizeof *m_slots);
    for (char* line = lines; *line;) {
        char* next = line + strlen(line) + 1;
        char* eq = strchr(line, '=');
        char* value = eq ? eq + 1 : next - 1;
        char* end = eq ? eq : next - 1;
        while (IsProfileBlank(*line))
            ++line;
        while (end > line && IsProfileBlank(end[-1]))
            --end;
        *end = 0;
        while (IsProfileBlank(*value))
            ++value;
        size_t n = strlen(value);
        while (n && IsProfileBlank(value[n - 1]))
            value[--n] = 0;
        if (n >= 2 && (*value == '"' || *value == '\'') && value[n - 1] == *value) {
            value[n - 1] = 0;
            ++value;
        }
        unsigned long hash;
        if (HashName(line, hash)) {
            unsigned long i = hash & m_mask;
            while (m_slots[i].key && !EqualNoCase(m_slots[i].key, line))
                i = (i + 1) & m_mask;
            if (!m_slots[i].key) {   // the first line of a name holds
                m_slots[i].key = line;
                m_slots[i].value = value;
            }
        }
        line = next;
    }
    return true;
}

const char* CSectionValues::Find(const char* key) const
{
    unsigned long hash;
    if (!m_slots || !HashName(key, hash))
        return 0;
    for (unsigned long i = hash & m_mask; m_slots[i].key; i = (i + 1) & m_mask)
        if (EqualNoCase(m_slots[i].key, key))
            return m_slots[i].value;
    return 0;
}
