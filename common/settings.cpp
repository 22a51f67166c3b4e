#include "settings.h"

#include <string.h>

#include "journal.h"
#include "progpath.h"
#include "profile.h"
#include "registry.h"
#include "text.h"

static CSettingsStore* s_store;
static CRegistrySettingsStore* s_registryStore;   // s_store when it is one

CRegistrySettingsStore::CRegistrySettingsStore(const char* company, const char* product)
{
    m_value[0] = 0;
    char key[264] = "Software\\";
    if (!AppendText(key, company))
        return;
    if (product && (!AppendText(key, "\\") || !AppendText(key, product)))
        return;
    m_root.Create(HKEY_CURRENT_USER, key);
}

HKEY CRegistrySettingsStore::SectionKey(CKey& key, const char* section) const
{
    HKEY root = m_root.Handle();
    if (!root || !section)
        return root;
    // reading a missing section creates it empty
    return key.Create(root, section) == ERROR_SUCCESS ? key.Handle() : 0;
}

int CRegistrySettingsStore::GetInt(const char* section, const char* valueName, int defaultValue)
{
    CKey key;
    HKEY from = SectionKey(key, section);
    // four bytes of any type read as a number; a longer value does not fit
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    if (!from || RegQueryValueExA(from, valueName, 0, 0, data, &size) != ERROR_SUCCESS)
        return defaultValue;
    return (int)(data[0] | (data[1] << 8) | (data[2] << 16) | ((DWORD)data[3] << 24));
}

const char* CRegistrySettingsStore::GetString(const char* section, const char* valueName, const char* defaultValue)
{
    CKey key;
    HKEY from = SectionKey(key, section);
    return from && QueryRegString(from, valueName, m_value, sizeof m_value) ? m_value : defaultValue;
}

bool CRegistrySettingsStore::WriteString(const char* section, const char* valueName, const char* string)
{
    HKEY root = m_root.Handle();
    if (!section)
        return true;
    if (!root)
        return false;
    if (!valueName)
        return DeleteKeyTree(root, section) == ERROR_SUCCESS;
    CKey key;
    if (!string) {
        if (key.Open(root, section, KEY_SET_VALUE) != ERROR_SUCCESS ||
            RegDeleteValueA(key.Handle(), valueName) != ERROR_SUCCESS)
            return false;
        Journal("registry value removed:", key.Handle(), 0, valueName);
        return true;
    }
    return key.Create(root, section) == ERROR_SUCCESS && key.SetString(valueName, string) == ERROR_SUCCESS;
}

CProfileSettingsStore::CProfileSettingsStore(const char* name)
{
    m_value[0] = 0;
    m_fileName[0] = 0;
    m_valid = name && ProfileFileName(m_fileName, sizeof m_fileName, name);
}

int CProfileSettingsStore::GetInt(const char* section, const char* valueName, int defaultValue)
{
    return m_valid ? (int)GetPrivateProfileIntA(section, valueName, defaultValue, m_fileName) : defaultValue;
}

const char* CProfileSettingsStore::GetString(const char* section, const char* valueName, const char* defaultValue)
{
    m_value[0] = 0;
    return m_valid && ReadProfileText(m_fileName, section, valueName, defaultValue, m_value) ? m_value : 0;
}

bool CProfileSettingsStore::WriteString(const char* section, const char* valueName, const char* string)
{
    return m_valid && WritePrivateProfileStringA(section, valueName, string, m_fileName);
}

void OpenSettingsStore(const char* company, const char* product)
{
    CloseSettingsStore();
    if (company) {
        s_registryStore = new CRegistrySettingsStore(company, product);
        s_store = s_registryStore;
    } else {
        s_store = new CProfileSettingsStore(product);
    }
}

void CloseSettingsStore()
{
    delete s_store;
    s_store = 0;
    s_registryStore = 0;
}

CSettingsStore* SettingsStore() { return s_store; }

HKEY SettingsRootKey() { return s_registryStore ? s_registryStore->RootKey() : 0; }

static LONG DeleteTree(HKEY parent, const char* subkeyName);

LONG DeleteKeyTree(HKEY parent, const char* subkeyName)
{
    LONG rc = DeleteTree(parent, subkeyName);
    if (rc == ERROR_SUCCESS)
        Journal("registry key removed:", parent, subkeyName);
    return rc;
}

static LONG DeleteTree(HKEY parent, const char* subkeyName)
{
    if (!parent || !subkeyName || !*subkeyName)
        return ERROR_INVALID_PARAMETER;
    // One call removes a whole tree only on Windows 95. Windows NT refuses a
    // key with subkeys (access denied), and Wine in Windows 95 mode deletes
    // part of the tree and fails: walk what is left, depth first.
    if (LOBYTE(LOWORD(GetVersion())) >= 4) {
        LONG rc = RegDeleteKeyA(parent, subkeyName);
        if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
            return rc;
    }
    CKey key;
    if (key.Open(parent, subkeyName) == ERROR_SUCCESS) {
        char name[MAX_PATH];
        while (RegEnumKeyA(key.Handle(), 0, name, sizeof name) == ERROR_SUCCESS)
            if (DeleteTree(key.Handle(), name) != ERROR_SUCCESS)
                break;
        key.Close();
    }
    return RegDeleteKeyA(parent, subkeyName);
}
