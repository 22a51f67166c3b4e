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

CSetupDescription::~CSetupDescription() { free(m_keys); }

namespace {
struct KeyListSource {
    const char* file;
    const char* section;
};
}  // namespace

static unsigned long ReadKeys(char* buf, unsigned long size, void* context)
{
    const KeyListSource* from = (const KeyListSource*)context;
    return GetPrivateProfileStringA(from->section, 0, "", buf, size, from->file);
}

const char* CSetupDescription::ReadKeyNames(const char* section)
{
    CStr file = FullPath();
    KeyListSource from = {file, section};
    return ReadWholeKeyList(ReadKeys, &from, 1040, &m_keys);
}
