#include "setrules.h"

#include <string.h>

#include "descrules.h"
#include "text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// A line of a profile text that is not empty, without the blanks around it.
struct IniLine {
    const char* text;
    size_t length;
    int number;   // 1-based
    // a section line ("[" and a "]" after it): the name between the "[" and
    // the last "]"; null for other lines
    const char* section;
    size_t sectionLength;
};

class CIniLines {
public:
    CIniLines(const char* text, size_t size) : m_p(text), m_end(text + size), m_number(0) {}

    // The next line that is not empty; false at the end.
    bool Next(IniLine& line)
    {
        while (m_p < m_end) {
            const char* eol = (const char*)memchr(m_p, '\n', (size_t)(m_end - m_p));
            const char* s = m_p;
            const char* e = eol ? eol : m_end;
            m_p = eol ? eol + 1 : m_end;
            ++m_number;
            while (s < e && IsBlank(*s))
                ++s;
            while (e > s && IsBlank(e[-1]))
                --e;
            if (s == e)
                continue;
            line.text = s;
            line.length = (size_t)(e - s);
            line.number = m_number;
            line.section = 0;
            line.sectionLength = 0;
            for (const char* close = e - 1; *s == '[' && close > s; --close)
                if (*close == ']') {
                    line.section = s + 1;
                    line.sectionLength = (size_t)(close - s - 1);
                    break;
                }
            return true;
        }
        return false;
    }

private:
    const char* m_p;
    const char* m_end;
    int m_number;
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

// Moves `lines` to the first line after the first [section]; its number or 0.
int SeekSection(CIniLines& lines, const char* section)
{
    IniLine line;
    while (lines.Next(line))
        if (line.section && SameName(line.section, line.sectionLength, section))
            return line.number;
    return 0;
}

}  // namespace

int FindIniSection(const char* text, size_t size, const char* section)
{
    CIniLines lines(text, size);
    return SeekSection(lines, section);
}

size_t IniSectionSize(const char* text, size_t size, const char* section)
{
    CIniLines lines(text, size);
    size_t bytes = 0;
    IniLine line;
    if (SeekSection(lines, section))
        while (lines.Next(line) && !line.section)
            bytes += line.length + 1;
    return bytes;
}

IniKey FindIniKey(const char* text, size_t size, const char* section, const char* key, int nth)
{
    IniKey found = {0, "", 0};
    CIniLines lines(text, size);
    if (!SeekSection(lines, section))
        return found;
    IniLine line;
    while (lines.Next(line)) {
        if (line.section)
            break;   // the first section of the name is the one read
        const char* s = line.text;
        size_t n = line.length;
        if (*s == ';')
            continue;
        const char* eq = (const char*)memchr(s, '=', n);
        if (!SameName(s, eq ? (size_t)(eq - s) : n, key) || nth-- > 0)
            continue;
        found.line = line.number;
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

NameFault FileNameFault(const char* name, char (*device)[8])
{
    const char* last = name;   // where the step being read begins
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
    // setup's own rule: a device name keeps its meaning with any extension
    size_t n = DeviceNameLength(name);
    if (!n)
        return !*name || IsPlainFileName(name) ? kNameOk : kNameNotPlain;
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
