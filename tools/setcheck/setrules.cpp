#include "setrules.h"

#include <string.h>

#include "text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// The lines of a profile text, each without the blanks around it.
class CIniLines {
public:
    CIniLines(const char* text, size_t size) : m_p(text), m_end(text + size), m_line(0) {}

    // The next line that is not empty; false at the end.
    bool Next(const char*& start, size_t& length, int& line)
    {
        while (m_p < m_end) {
            const char* eol = (const char*)memchr(m_p, '\n', (size_t)(m_end - m_p));
            const char* next = eol ? eol + 1 : m_end;
            const char* s = m_p;
            const char* e = eol ? eol : m_end;
            m_p = next;
            ++m_line;
            while (s < e && IsBlank(*s))
                ++s;
            while (e > s && IsBlank(e[-1]))
                --e;
            if (s < e) {
                start = s;
                length = (size_t)(e - s);
                line = m_line;
                return true;
            }
        }
        return false;
    }

private:
    const char* m_p;
    const char* m_end;
    int m_line;
};

// The name between the blanks of s[0..n) equals `name` (blanks around it dropped too).
bool SameName(const char* s, size_t n, const char* name)
{
    while (n && IsBlank(*s))
        ++s, --n;
    while (n && IsBlank(s[n - 1]))
        --n;
    while (*name && IsBlank(*name))
        ++name;
    size_t m = strlen(name);
    while (m && IsBlank(name[m - 1]))
        --m;
    return n == m && EqualNoCaseN(s, name, n);
}

// A section line: "[" and a "]" after it; its name is what lies between the
// "[" and the last "]".
bool SectionName(const char* s, size_t n, const char*& name, size_t& length)
{
    if (*s != '[')
        return false;
    for (size_t i = n; i-- > 1;)
        if (s[i] == ']') {
            name = s + 1;
            length = i - 1;
            return true;
        }
    return false;
}

// Moves `lines` to the first line after the first [section]; its line or 0.
int SeekSection(CIniLines& lines, const char* section)
{
    const char* s;
    size_t n;
    int line;
    while (lines.Next(s, n, line)) {
        const char* name;
        size_t length;
        if (SectionName(s, n, name, length) && SameName(name, length, section))
            return line;
    }
    return 0;
}

}  // namespace

int FindIniSection(const char* text, size_t size, const char* section)
{
    CIniLines lines(text, size);
    return SeekSection(lines, section);
}

IniKey FindIniKey(const char* text, size_t size, const char* section, const char* key, int nth)
{
    IniKey found = {0, "", 0};
    CIniLines lines(text, size);
    if (!SeekSection(lines, section))
        return found;
    const char* s;
    size_t n;
    int line;
    while (lines.Next(s, n, line)) {
        const char* name;
        size_t length;
        if (SectionName(s, n, name, length))
            break;   // the first section of the name is the one read
        if (*s == ';')
            continue;
        const char* eq = (const char*)memchr(s, '=', n);
        if (!SameName(s, eq ? (size_t)(eq - s) : n, key) || nth-- > 0)
            continue;
        found.line = line;
        if (eq) {
            const char* v = eq + 1;
            const char* e = s + n;
            while (v < e && IsBlank(*v))
                ++v;
            found.value = v;
            found.valueLength = (size_t)(e - v);
            // the read drops one pair of enclosing quotes
            if (found.valueLength >= 2 && (*v == '"' || *v == '\'') && e[-1] == *v) {
                ++found.value;
                found.valueLength -= 2;
            }
        }
        return found;
    }
    return found;
}

NameFault FileNameFault(const char* name, char (*device)[5])
{
    const char* last = name;   // the last step of the name
    for (const char* p = name;; ++p) {
        if (*p == '\\' || *p == '/' || !*p) {
            if (p - last == 2 && last[0] == '.' && last[1] == '.')
                return kNameParent;
            if (!*p)
                break;
            last = p + 1;
        }
    }
    if (strchr(name, ':'))
        return kNameDrive;
    if (strpbrk(name, "\\/"))
        return kNamePath;
    // a device name keeps its meaning with any extension
    size_t n = strcspn(name, ".");
    while (n && name[n - 1] == ' ')
        --n;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    bool isDevice = false;
    if (n == 3)
        for (const char* d : kDevices)
            isDevice = isDevice || EqualNoCaseN(name, d, 3);
    if (n == 4 && name[3] >= '1' && name[3] <= '9')
        isDevice = EqualNoCaseN(name, "COM", 3) || EqualNoCaseN(name, "LPT", 3);
    if (!isDevice)
        return kNameOk;
    if (device) {
        for (size_t i = 0; i < n; ++i)
            (*device)[i] = UpperAscii(name[i]);
        (*device)[n] = 0;
    }
    return kNameDevice;
}

bool SubfolderStaysInside(const char* subfolder)
{
    NameFault fault = FileNameFault(subfolder);
    return fault != kNameParent && fault != kNameDrive && subfolder[0] != '\\' && subfolder[0] != '/';
}

FlagsFault FileFlagsFault(const char* value)
{
    // an empty value is no fault of form: it puts the file in no variant
    size_t n = strlen(value);
    if (n == 0)
        return kFlagsOk;
    for (size_t i = 0; i < n && i < 3; ++i)
        if (value[i] < '0' || value[i] > '9')
            return kFlagsNotDigits;
    if (n < 3)
        return kFlagsShort;
    if (value[0] > '3' || value[1] > '3')
        return kFlagsBeyond;
    return n > 3 ? kFlagsExtra : kFlagsOk;
}
