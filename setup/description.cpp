#include "description.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "descrules.h"
#include "profile.h"

const char* CSetupDescription::ReadSetting(const char* section, const char* key)
{
    ReadProfileText(FullPath(), section, key, "", m_value);
    return m_value;
}

CSetupDescription::~CSetupDescription()
{
    free(m_section);
    free(m_keys);
}

int CSetupDescription::ReadSectionKeys(const char* section, const SectionKey** keys)
{
    CStr file = FullPath();
    DWORD n;
    for (DWORD size = 1040;; size *= 16) {   // memory runs out long before the size would overflow
        free(m_section);
        if (!(m_section = (char*)malloc(size)))
            return -1;
        // a cut section is read again
        if (KeyListComplete(n = GetPrivateProfileSectionA(section, m_section, size, file), size))
            break;
    }
    int count = SplitSectionKeys(m_section, n, &m_keys);
    *keys = m_keys;
    return count;
}
