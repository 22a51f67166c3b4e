#include "description.h"

#include <windows.h>
#include <string.h>

#include "descrules.h"
#include "profile.h"

const char* CSetupDescription::ReadSetting(const char* section, const char* key)
{
    ReadProfileText(FullPath(), section, key, "", m_value);
    return m_value;
}

const char* CSetupDescription::ReadKeyNames(const char* section)
{
    // zero-filled: a cut list has no closing double NUL of its own
    memset(m_keys, 0, sizeof m_keys);
    DWORD n = GetPrivateProfileStringA(section, 0, "", m_keys, sizeof m_keys, FullPath());
    return KeyListComplete(n, sizeof m_keys) ? m_keys : 0;
}
