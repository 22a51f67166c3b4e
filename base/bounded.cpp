// The bounded copies, the letter-case rules and the last backslash, without
// the C runtime: the removal helper, which has none, builds on them too.
#include "pathrules.h"
#include "text.h"

static size_t Length(const char* s)
{
    size_t n = 0;
    if (s)
        while (s[n])
            ++n;
    return n;
}

// Copies n characters and a closing zero.
static void Put(char* dst, const char* src, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        dst[i] = src[i];
    dst[n] = 0;
}

bool CopyText(char* dst, size_t size, const char* src)
{
    if (size == 0)
        return false;
    size_t n = Length(src);
    if (n >= size) {
        dst[0] = 0;
        return false;
    }
    Put(dst, src, n);
    return true;
}

bool AppendText(char* dst, size_t size, const char* src)
{
    size_t have = Length(dst);
    size_t n = Length(src);
    if (have + n >= size)
        return false;
    Put(dst + have, src, n);
    return true;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }

bool EqualNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        if (UpperAscii(*a) != UpperAscii(*b))
            return false;
        if (!*a)
            return true;
    }
}

bool EqualNoCaseN(const char* a, const char* b, size_t n)
{
    for (; n; --n, ++a, ++b) {
        if (UpperAscii(*a) != UpperAscii(*b))
            return false;
        if (!*a)
            return true;
    }
    return true;
}

const char* AfterLastBackslash(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\')
            name = p + 1;
    return name;
}
