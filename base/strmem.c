/* The C library's string and memory routines that the programs call or the
   compiler calls for them (copying and zeroing structures), for the shipped
   programs, which link no C runtime: a C runtime library is a DLL the first
   Windows 95 and NT 3.51 do not have. Linked into those programs only; tests
   take the C library's own. Built so that the compiler turns none of these
   loops back into a call of itself. */
#include <stddef.h>

void* memcpy(void* dst, const void* src, size_t n)
{
    unsigned char* d = (unsigned char*)dst;
    const unsigned char* s = (const unsigned char*)src;
    while (n--)
        *d++ = *s++;
    return dst;
}

void* memmove(void* dst, const void* src, size_t n)
{
    unsigned char* d = (unsigned char*)dst;
    const unsigned char* s = (const unsigned char*)src;
    if (d <= s || d >= s + n)
        return memcpy(dst, src, n);
    while (n--)
        d[n] = s[n];
    return dst;
}

void* memset(void* dst, int c, size_t n)
{
    unsigned char* d = (unsigned char*)dst;
    while (n--)
        *d++ = (unsigned char)c;
    return dst;
}

int memcmp(const void* a, const void* b, size_t n)
{
    const unsigned char* p = (const unsigned char*)a;
    const unsigned char* q = (const unsigned char*)b;
    for (; n; --n, ++p, ++q)
        if (*p != *q)
            return *p - *q;
    return 0;
}

void* memchr(const void* s, int c, size_t n)
{
    const unsigned char* p = (const unsigned char*)s;
    for (; n; --n, ++p)
        if (*p == (unsigned char)c)
            return (void*)p;
    return 0;
}

size_t strlen(const char* s)
{
    const char* p = s;
    while (*p)
        ++p;
    return (size_t)(p - s);
}

char* strcpy(char* dst, const char* src)
{
    char* d = dst;
    while ((*d++ = *src++) != 0) {
    }
    return dst;
}

int strncmp(const char* a, const char* b, size_t n)
{
    for (; n; --n, ++a, ++b) {
        unsigned char x = (unsigned char)*a, y = (unsigned char)*b;
        if (x != y)
            return x - y;
        if (!x)
            break;
    }
    return 0;
}

int strcmp(const char* a, const char* b) { return strncmp(a, b, (size_t)-1); }

char* strchr(const char* s, int c)
{
    for (;; ++s) {
        if (*s == (char)c)
            return (char*)s;
        if (!*s)
            return 0;
    }
}

char* strrchr(const char* s, int c)
{
    const char* found = 0;
    for (;; ++s) {
        if (*s == (char)c)
            found = s;
        if (!*s)
            return (char*)found;
    }
}

size_t strspn(const char* s, const char* accept)
{
    size_t n = 0;
    while (s[n] && strchr(accept, s[n]))
        ++n;
    return n;
}

char* strpbrk(const char* s, const char* accept)
{
    for (; *s; ++s)
        if (strchr(accept, *s))
            return (char*)s;
    return 0;
}

char* strstr(const char* s, const char* part)
{
    size_t n = strlen(part);
    for (;; ++s) {
        if (strncmp(s, part, n) == 0)
            return (char*)s;
        if (!*s)
            return 0;
    }
}
