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
    free(m_grown);
    free(m_lines);
}

namespace {
struct KeyListSource {
    const char* file;
    const char* section;
};
}  // namespace

static unsigned long ReadLines(char* buf, unsigned long size, void* context)
{
    const KeyListSource* from = (const KeyListSource*)context;
    return GetPrivateProfileSectionA(from->section, buf, size, from->file);
}

static unsigned long ReadKeys(char* buf, unsigned long size, void* context)
{
    const KeyListSource* from = (const KeyListSource*)context;
    return GetPrivateProfileStringA(from->section, 0, "", buf, size, from->file);
}

const char* CSetupDescription::ReadKeyNames(const char* section)
{
    free(m_grown);
    CStr file = FullPath();
    KeyListSource from = {file, section};
    return ReadWholeKeyList(ReadKeys, &from, m_keys, sizeof m_keys, &m_grown);
}

char* CSetupDescription::ReadSectionLines(const char* section)
{
    free(m_lines);
    CStr file = FullPath();
    KeyListSource from = {file, section};
    // the section has more than its names: start above the key list
    ReadWholeKeyList(ReadLines, &from, 0, 4 * sizeof m_keys, &m_lines);
    return m_lines;
}
