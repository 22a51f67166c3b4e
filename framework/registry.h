// Registry key handle: owns what it opened, closes it once.
#pragma once
#include <windows.h>

class CKey {
public:
    CKey() : m_key(0) {}
    ~CKey() { Close(); }

    LONG Create(HKEY parent, const char* subkey);                     // RegCreateKeyA
    LONG Open(HKEY parent, const char* subkey, REGSAM access = KEY_READ);
    void Close();
    HKEY Handle() const { return m_key; }
    bool IsOpen() const { return m_key != 0; }

    // A REG_SZ value with its terminating zero counted in the stored length.
    LONG SetString(const char* name, const char* value) const;
    bool QueryString(const char* name, char* buf, DWORD size, bool anyType = false) const;
    // A REG_DWORD value of 1; the journal leaves it out.
    LONG SetFlag(const char* name) const;

private:
    CKey(const CKey&);
    void operator=(const CKey&);
    HKEY m_key;
};

// Reads a string value into buf (size bytes, terminator included). False, with
// buf empty, when the value is missing, does not fit with its terminator, or
// is not a string (REG_SZ, REG_EXPAND_SZ) unless anyType is set.
bool QueryRegString(HKEY key, const char* name, char* buf, DWORD size, bool anyType = false);
