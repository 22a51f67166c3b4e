#include "setupline.h"

static const size_t kMaxValue = 259;   // values end in 260-character buffers

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

static const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
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
    size_t len = 0;
    while (name[len])
        ++len;
    return n == len && EqualNoCaseN(p, name, n);
}

// The token starts with "name=".
static bool HasPrefix(const char* p, const char* prefix, size_t& prefixLength)
{
    size_t len = 0;
    while (prefix[len])
        ++len;
    prefixLength = len;
    return EqualNoCaseN(p, prefix, len);
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

// A value that stands at p: in double quotes, or up to the next blank.
// Advances p past it; false when it is malformed, empty or too long.
static bool ReadValue(const char*& p, CStr& value)
{
    const char* start = p;
    size_t n;
    if (*p == '"') {
        ++start;
        n = 0;
        while (start[n] && start[n] != '"')
            ++n;
        if (start[n] != '"' || (start[n + 1] && !IsBlank(start[n + 1])))
            return false;
        p = start + n + 1;
    } else {
        n = TokenLength(p);
        p += n;
    }
    return Acceptable(start, n) && value.Set(start, n);
}

// The rest of the line, trailing blanks dropped, enclosing quotes too.
static bool ReadRest(const char* p, CStr& value)
{
    size_t n = 0;
    while (p[n])
        ++n;
    while (n > 0 && IsBlank(p[n - 1]))
        --n;
    if (n >= 2 && p[0] == '"' && p[n - 1] == '"') {
        ++p;
        n -= 2;
    }
    return Acceptable(p, n) && value.Set(p, n);
}

SetupLineKind ReadSetupLine(const char* line, UnattendedSwitches& out)
{
    const char* p = SkipBlanks(line ? line : "");
    if (!IsSwitch(p, TokenLength(p), "/S"))
        return kInteractiveLine;
    p += 2;
    UnattendedSwitches read;
    bool seenLog = false, seenNavigator = false;
    for (;;) {
        p = SkipBlanks(p);
        if (!*p)
            break;
        size_t n = TokenLength(p), prefix;
        if (IsSwitch(p, n, "/uninstall") && !read.uninstall) {
            read.uninstall = true;
            p += n;
        } else if (IsSwitch(p, n, "/NOOTHER") && !read.noOther) {
            read.noOther = true;
            p += n;
        } else if (HasPrefix(p, "/LOG=", prefix) && !seenLog) {
            p += prefix;
            if (!ReadValue(p, read.log))
                return kBadLine;
            seenLog = true;
        } else if (HasPrefix(p, "/NAVIGATOR=", prefix) && !seenNavigator) {
            p += prefix;
            if (!ReadValue(p, read.navigator))
                return kBadLine;
            seenNavigator = true;
        } else if (HasPrefix(p, "/D=", prefix)) {
            if (!ReadRest(p + prefix, read.folder))
                return kBadLine;
            break;
        } else {
            return kBadLine;
        }
    }
    // a removal takes the folder of the copy it runs from
    if (read.uninstall && !read.folder.IsEmpty())
        return kBadLine;
    out = read;
    return kUnattendedLine;
}
