// The setup description file of an install set (SETUP.INI beside SETUP.EXE).
#pragma once
#include <windows.h>

#include "descrules.h"
#include "setupfile.h"

class CSetupDescription : public CSetupFile {
public:
    CSetupDescription(const char* folder, const char* name) : CSetupFile(folder, name), m_section(0), m_keys(0)
    {
        m_value[0] = 0;
    }
    ~CSetupDescription();

    // The value of key in section, empty when missing. A value that does not
    // fit the 260-character buffer reads as missing. The text lives in one
    // buffer shared by every call: copy it before the next read.
    const char* ReadSetting(const char* section, const char* key);

    // The keys of a section with their values as ReadSetting reads them
    // (SplitSectionKeys), from one read of the whole section into 1040
    // characters and, when they do not hold it, again into sixteen times as
    // many until they do: each read of a long section costs about as much as
    // the whole, so few reads beat a close fit. The count, or -1 when memory
    // runs out. The keys stay until the next call.
    int ReadSectionKeys(const char* section, const SectionKey** keys);

private:
    CSetupDescription(const CSetupDescription&);
    void operator=(const CSetupDescription&);

    char* m_section;
    SectionKey* m_keys;
    char m_value[MAX_PATH];
};
