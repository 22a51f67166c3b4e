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

// p starts with `prefix` (any case).
static bool HasPrefix(const char* p, const char* prefix, size_t& prefixLength)
{
    prefixLength = Length(prefix);
    return EqualNoCaseN(p, prefix, prefixLength);
}

// Quotes never reach a value: the argument rules refuse a quote of the text,
// and the rest of the line is taken only when it holds none.
static bool Acceptable(const char*, size_t n) { return n > 0 && n <= kMaxValue; }

// One argument at p by the system's rules for command lines: blanks outside
// quotes end it; 2n backslashes before a quote give n, and the quote opens or
// closes a quoted part; 2n+1 give n and a quote of the text. A quoted part
// closed by an odd number of backslashes and a quote at a blank or the line's
// end keeps its backslashes as typed ("C:\Net scape\"), as before. Advances
// p past it; false for a quote of the text (no path holds one), an argument
// that cannot fit `arg`, or a quoted part left open.
static bool ReadArgument(const char*& p, char* arg, size_t size)
{
    size_t n = 0, slashes = 0;
    bool quoted = false;
    for (; *p && (quoted || !IsBlank(*p)); ++p) {
        if (*p == '"') {
            if (slashes % 2 == 0)
                n -= slashes / 2;
            else if (!quoted || (p[1] && !IsBlank(p[1])))   // an odd run closes only at the end
                return false;
            // "" stands for an empty part or a quote of the text: no value has either
            if (p[1] == '"')
                return false;
            quoted = !quoted;
            slashes = 0;
            continue;
        }
        slashes = *p == '\\' ? slashes + 1 : 0;
        if (n + 1 >= size)
            return false;
        arg[n++] = *p;
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

static bool HasQuote(const char* p)
{
    while (*p && *p != '"')
        ++p;
    return *p != 0;
}

SetupLineKind ReadSetupLine(const char* line, UnattendedSwitches& out)
{
    const char* p = SkipBlanks(line ? line : "");
    if (!EqualNoCaseN(p, "/S", 2) || (p[2] && !IsBlank(p[2])))
        return kInteractiveLine;
    p += 2;
    UnattendedSwitches& read = out;
    // three switches alone, then three with a value; a value read is never
    // empty, so an empty one has not been given
    static const char* const kSwitches[] = {"/uninstall", "/NOOTHER", "/PROGRESS", "/LOG=", "/NAVIGATOR=", "/D="};
    for (;;) {
        p = SkipBlanks(p);
        if (!*p)
            break;
        size_t prefix;
        // "/D=" with no quote after it: the rest of the line, blanks and all
        if (HasPrefix(p, "/D=", prefix) && !HasQuote(p)) {
            if (!read.folder.IsEmpty() || !ReadRest(p + prefix, read.folder))
                return kBadLine;
            break;
        }
        char arg[kMaxValue + 16];
        if (!ReadArgument(p, arg, sizeof arg))
            return kBadLine;
        size_t n = Length(arg), i = 0;
        for (; i < 6; ++i)
            if (HasPrefix(arg, kSwitches[i], prefix) && (i >= 3 || n == prefix))
                break;
        if (i < 3) {
            bool& flag = i == 0 ? read.uninstall : i == 1 ? read.noOther : read.progress;
            if (flag)
                return kBadLine;
            flag = true;
            continue;
        }
        CStr& value = i == 3 ? read.log : i == 4 ? read.navigator : read.folder;
        if (i == 6 || !value.IsEmpty() || !Acceptable(arg + prefix, n - prefix) || !value.Set(arg + prefix, n - prefix))
            return kBadLine;
    }
    // a removal takes the folder of the copy it runs from
    return read.uninstall && !read.folder.IsEmpty() ? kBadLine : kUnattendedLine;
}
