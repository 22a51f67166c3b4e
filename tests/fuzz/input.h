// A fuzz input cut into texts at its first line ends. Each text lives in a
// heap block of its own exact size, so the sanitizer sees a read past its end.
#pragma once
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#define CHECK(c) ((c) ? (void)0 : (fprintf(stderr, "failed: %s (line %d)\n", #c, __LINE__), abort()))

// A block of exactly n bytes (n may be 0), filled with a mark.
inline std::unique_ptr<char[]> Block(size_t n, const void* from = 0, size_t have = 0)
{
    std::unique_ptr<char[]> b(new char[n]);
    memset(b.get(), 0x7f, n);
    if (from)
        memcpy(b.get(), from, have < n ? have : n);
    return b;
}

// A writable copy of a text in a block of its exact size.
inline std::unique_ptr<char[]> Copy(const char* s) { return Block(strlen(s) + 1, s, strlen(s) + 1); }

class Input {
public:
    // The first parts - 1 lines, then the rest whole (line ends and all).
    Input(const uint8_t* data, size_t size, size_t parts)
    {
        const char* p = (const char*)data;
        const char* end = p + size;
        while (p <= end && m_parts.size() < parts) {
            const char* eol = m_parts.size() + 1 < parts ? (const char*)memchr(p, '\n', end - p) : 0;
            const char* stop = eol ? eol : end;
            m_parts.push_back(Block(stop - p + 1, p, stop - p));
            m_parts.back()[stop - p] = 0;
            p = stop + 1;
        }
    }
    const char* operator[](size_t i) const { return i < m_parts.size() ? m_parts[i].get() : ""; }

private:
    std::vector<std::unique_ptr<char[]>> m_parts;
};

// A size read from a decimal text, at most `most`.
inline size_t SizeOf(const char* text, size_t most) { return strtoul(text, 0, 10) % (most + 1); }

// A text that starts with `prefix`.
inline bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }
