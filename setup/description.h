// The setup description file of an install set (SETUP.INI beside SETUP.EXE).
#pragma once
#include <windows.h>

#include "setupfile.h"

class CSetupDescription : public CSetupFile {
public:
    CSetupDescription(const char* folder, const char* name) : CSetupFile(folder, name), m_keys(0)
    {
        m_value[0] = 0;
    }
    ~CSetupDescription();

    // The value of key in section, empty when missing. A value that does not
    // fit the 260-character buffer reads as missing. The text lives in one
    // buffer shared by every call: copy it before the next read.
    const char* ReadSetting(const char* section, const char* key);

    // The names of all keys of a section, each ended by a NUL, the list ended
    // by a second NUL, read into 1040 characters and, when they do not hold
    // it, again into twice as many until they do; null only when memory runs
    // out. The list stays until the next call.
    const char* ReadKeyNames(const char* section);

private:
    CSetupDescription(const CSetupDescription&);
    void operator=(const CSetupDescription&);

    char* m_keys;
    char m_value[MAX_PATH];
};
