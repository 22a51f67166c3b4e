// Text helpers shared by all programs. No Windows headers: these rules build
// and are tested natively as well.
#pragma once
#include <stddef.h>

// An owned, heap-held ANSI string. Never null to its readers; when memory runs
// out an operation leaves the string empty and reports false.
class CStr {
public:
    CStr() : m_p(0), m_len(0) {}
    CStr(const char* s) : m_p(0), m_len(0) { Set(s); }
    CStr(const char* s, size_t n) : m_p(0), m_len(0) { Set(s, n); }
    CStr(const CStr& o) : m_p(0), m_len(0) { Set(o.m_p, o.m_len); }
    ~CStr();
    CStr& operator=(const CStr& o);
    CStr& operator=(const char* s) { Set(s); return *this; }

    bool Set(const char* s);
    bool Set(const char* s, size_t n);
    bool Append(const char* s);
    bool Append(const char* s, size_t n);
    bool AppendChar(char c) { return Append(&c, 1); }
    void Truncate(size_t n);
    void Clear() { Truncate(0); }

    const char* c_str() const { return m_p ? m_p : ""; }
    // The writable characters (Length() of them); null while empty.
    char* Data() { return m_len ? m_p : 0; }
    operator const char*() const { return c_str(); }
    size_t Length() const { return m_len; }
    bool IsEmpty() const { return m_len == 0; }

private:
    char* m_p;
    size_t m_len;
};

// Bounded copies into fixed buffers. Both always leave a terminated buffer and
// never cut a text: when the whole text does not fit they report false;
// CopyText then leaves dst empty, AppendText leaves it unchanged.
bool CopyText(char* dst, size_t size, const char* src);
bool AppendText(char* dst, size_t size, const char* src);

template <size_t N> inline bool CopyText(char (&dst)[N], const char* src) { return CopyText(dst, N, src); }
template <size_t N> inline bool AppendText(char (&dst)[N], const char* src) { return AppendText(dst, N, src); }

// Case-insensitive comparison folding only A to Z.
bool EqualNoCase(const char* a, const char* b);
bool EqualNoCaseN(const char* a, const char* b, size_t n);
char UpperAscii(char c);

// The leading decimal number of a text: leading blanks, an optional sign,
// digits up to the first non-digit; no digits give 0. Saturates instead of
// overflowing.
long LeadingNumber(const char* s);

// A numbered message's text with each "%1" and "%2" replaced in one pass
// (a replacement that itself holds "%2" is not expanded again). Null
// arguments count as empty.
CStr ReplaceArgs(const char* text, const char* arg1, const char* arg2);
