#include "setupline.h"

static const size_t kMaxValue = 259;   // values end in 260-character buffers

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

static const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

static size_t Length(const char* s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

static size_t TokenLength(const char* p)
{
    size_t n = 0;
    while (p[n] && !IsBlank(p[n]))
        ++n;
    return n;
}

// The switch `name` is the whole token.
static bool IsSwitch(const char* p, size_t n, const char* name)
{
    return n == Length(name) && EqualNoCaseN(p, name, n);
}

// The token starts with "name=".
static bool HasPrefix(const char* p, const char* prefix, size_t& prefixLength)
{
    prefixLength = Length(prefix);
    return EqualNoCaseN(p, prefix, prefixLength);
}

static bool Acceptable(const char* value, size_t n)
{
    if (n == 0 || n > kMaxValue)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (value[i] == '"')
            return false;
    return true;
}

// One argument at p by the system's rules for command lines: blanks outside
// quotes end it; 2n backslashes before a quote give n, and the quote opens or
// closes a quoted part; 2n+1 give n and a quote of the text. A quoted part
// closed by an odd number of backslashes and a quote at a blank or the line's
// end keeps its backslashes as typed ("C:\Net scape\"), as before. Advances p
// past it; false for a quote of the text (no path holds one) or an argument
// that cannot fit `arg`, or a quoted part left open.
static bool ReadArgument(const char*& p, char* arg, size_t size)
{
    size_t n = 0;
    bool quoted = false;
    while (*p && (quoted || !IsBlank(*p))) {
        if (*p == '"') {
            size_t quotes = 1;
            while (p[quotes] == '"')
                ++quotes;
            // "" outside a quoted part is an empty one; any other run holds a quote
            if (quotes > (quoted ? 1u : 2u))
                return false;
            quoted ^= quotes == 1;
            p += quotes;
            continue;
        }
        if (*p != '\\') {
            if (n + 1 >= size)
                return false;
            arg[n++] = *p++;
            continue;
        }
        size_t run = 0, keep;
        while (p[run] == '\\')
            ++run;
        if (p[run] != '"')
            keep = run;
        else if (run % 2 == 0)
            keep = run / 2;
        else if (quoted && (!p[run + 1] || IsBlank(p[run + 1])))
            keep = run;
        else
            return false;
        if (n + keep >= size)
            return false;
        for (size_t i = 0; i < keep; ++i)
            arg[n++] = '\\';
        p += run;
    }
    arg[n] = 0;
    // a quote left open is a typing slip, not a value
    return !quoted;
}

// The rest of the line, trailing blanks dropped.
static bool ReadRest(const char* p, CStr& value)
{
    size_t n = Length(p);
    while (n > 0 && IsBlank(p[n - 1]))
        --n;
    return Acceptable(p, n) && value.Set(p, n);
}

// "name=value" in `arg`: the value when it is acceptable.
static bool ReadSwitchValue(const char* arg, const char* name, bool& seen, CStr& value, bool& bad)
{
    size_t prefix;
    if (!HasPrefix(arg, name, prefix))
        return false;
    const char* v = arg + prefix;
    bad = seen || !Acceptable(v, Length(v)) || !value.Set(v, Length(v));
    seen = true;
    return true;
}

SetupLineKind ReadSetupLine(const char* line, UnattendedSwitches& out)
{
    const char* p = SkipBlanks(line ? line : "");
    if (!IsSwitch(p, TokenLength(p), "/S"))
        return kInteractiveLine;
    p += 2;
    UnattendedSwitches read;
    bool seenLog = false, seenNavigator = false, seenFolder = false;
    for (;;) {
        p = SkipBlanks(p);
        if (!*p)
            break;
        size_t prefix;
        bool quoteFollows = false;
        for (const char* q = p; *q; ++q)
            quoteFollows |= *q == '"';
        // "/D=" without quotes: the rest of the line, blanks and all
        if (HasPrefix(p, "/D=", prefix) && !quoteFollows) {
            if (seenFolder || !ReadRest(p + prefix, read.folder))
                return kBadLine;
            break;
        }
        char arg[kMaxValue + 16];
        bool bad = false;
        if (!ReadArgument(p, arg, sizeof arg))
            return kBadLine;
        if (IsSwitch(arg, Length(arg), "/uninstall") && !read.uninstall)
            read.uninstall = true;
        else if (IsSwitch(arg, Length(arg), "/NOOTHER") && !read.noOther)
            read.noOther = true;
        else if (IsSwitch(arg, Length(arg), "/PROGRESS") && !read.progress)
            read.progress = true;
        else if (!ReadSwitchValue(arg, "/LOG=", seenLog, read.log, bad) &&
                 !ReadSwitchValue(arg, "/NAVIGATOR=", seenNavigator, read.navigator, bad) &&
                 !ReadSwitchValue(arg, "/D=", seenFolder, read.folder, bad))
            return kBadLine;
        if (bad)
            return kBadLine;
    }
    // a removal takes the folder of the copy it runs from
    if (read.uninstall && !read.folder.IsEmpty())
        return kBadLine;
    out = read;
    return kUnattendedLine;
}
