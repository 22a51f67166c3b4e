#include "text.h"

#include <stdlib.h>
#include <string.h>

CStr::~CStr() { free(m_p); }

CStr& CStr::operator=(const CStr& o)
{
    if (this != &o)
        Set(o.c_str(), o.m_len);
    return *this;
}

bool CStr::Set(const char* s) { return Set(s, s ? strlen(s) : 0); }

bool CStr::Set(const char* s, size_t n)
{
    // s may point into our own buffer (Set(c_str() + k))
    char* p = (char*)malloc(n + 1);
    if (!p) {
        Truncate(0);
        return false;
    }
    if (n)
        memcpy(p, s, n);
    p[n] = 0;
    free(m_p);
    m_p = p;
    m_len = n;
    return true;
}

bool CStr::Append(const char* s) { return Append(s, s ? strlen(s) : 0); }

bool CStr::Append(const char* s, size_t n)
{
    if (n == 0)
        return true;
    char* p = (char*)malloc(m_len + n + 1);
    if (!p) {
        Truncate(0);
        return false;
    }
    if (m_len)
        memcpy(p, m_p, m_len);
    memcpy(p + m_len, s, n);
    m_len += n;
    p[m_len] = 0;
    free(m_p);
    m_p = p;
    return true;
}

void CStr::Truncate(size_t n)
{
    if (n < m_len) {
        m_len = n;
        m_p[n] = 0;
    }
}

long LeadingNumber(const char* s)
{
    if (!s)
        return 0;
    while (*s == ' ' || *s == '\t')
        ++s;
    bool negative = false;
    if (*s == '+' || *s == '-')
        negative = *s++ == '-';
    const long limit = 0x7FFFFFFFL;
    long n = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        int d = *s - '0';
        n = (n > (limit - d) / 10) ? limit : n * 10 + d;
    }
    return negative ? -n : n;
}

CStr ReplaceArgs(const char* text, const char* arg1, const char* arg2)
{
    CStr out;
    if (!text)
        return out;
    const char* run = text;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out.Append(run, (size_t)(p - run));
            out.Append(p[1] == '1' ? arg1 : arg2);
            run = ++p + 1;
        }
    }
    out.Append(run);
    return out;
}
