#include "payload.h"

#include "text.h"

enum {
    kTrailer = 12,      // "ZSET", length, CRC-32
    kNameLimit = 255,   // a name longer than any the unpacking folder takes
};

static unsigned long Read32(const unsigned char* p)
{
    return p[0] | (unsigned long)p[1] << 8 | (unsigned long)p[2] << 16 | (unsigned long)p[3] << 24;
}

unsigned long Crc32(unsigned long crc, const unsigned char* data, size_t size)
{
    crc = ~crc & 0xFFFFFFFFul;
    while (size--) {
        crc ^= *data++;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320ul & (0 - (crc & 1)));
    }
    return ~crc & 0xFFFFFFFFul;
}

bool IsPlainName(const char* name)
{
    if (!*name)
        return false;
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':' || (p[0] == '.' && p[1] == '.'))
            return false;
    return true;
}

bool NextEntry(const unsigned char*& at, PayloadEntry& entry)
{
    if (!*at)
        return false;
    entry.name = (const char*)at;
    while (*at)
        ++at;
    entry.size = Read32(at + 1);
    entry.data = at + 5;
    at = entry.data + entry.size;
    return true;
}

bool CheckPayload(const unsigned char* file, size_t size, const unsigned char** first)
{
    if (size < kTrailer)
        return false;
    const unsigned char* trailer = file + size - kTrailer;
    const unsigned long length = Read32(trailer + 4);
    if (trailer[0] != 'Z' || trailer[1] != 'S' || trailer[2] != 'E' || trailer[3] != 'T' ||
        length == 0 || length > size - kTrailer)
        return false;
    const unsigned char* at = trailer - length;
    if (Crc32(0, at, length) != Read32(trailer + 8))
        return false;
    *first = at;
    // every entry within the set, before anything is written
    bool hasSetup = false;
    while (at < trailer && *at) {
        size_t name = 0;
        while (at + name < trailer && at[name] && name <= kNameLimit)
            ++name;
        if (name > kNameLimit || (size_t)(trailer - at) < name + 5 ||
            Read32(at + name + 1) > (size_t)(trailer - at) - name - 5 || !IsPlainName((const char*)at))
            return false;
        hasSetup |= EqualNoCase((const char*)at, "SETUP.EXE");
        PayloadEntry entry;
        NextEntry(at, entry);
    }
    return at < trailer && hasSetup;
}

const char* ArgumentsOf(const char* p)
{
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {
        }
        return *p ? p + 1 : p;
    }
    while ((unsigned char)*p > ' ')
        ++p;
    return p;
}

bool IsQuietLine(const char* p)
{
    while (*p && (unsigned char)*p <= ' ')
        ++p;
    return EqualNoCaseN(p, "/S", 2) && (unsigned char)p[2] <= ' ';
}
