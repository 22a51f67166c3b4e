#include "registry.h"

#include <string.h>

#include "journal.h"

LONG CKey::Create(HKEY parent, const char* subkey)
{
    Close();
    LONG rc = RegCreateKeyA(parent, subkey, &m_key);
    if (rc != ERROR_SUCCESS)
        m_key = 0;
    else if (JournalOn()) {
        JournalKeyOpened(m_key, parent, subkey);
        Journal("registry key written:", parent, subkey);
    }
    return rc;
}

LONG CKey::Open(HKEY parent, const char* subkey, REGSAM access)
{
    Close();
    LONG rc = RegOpenKeyExA(parent, subkey, 0, access, &m_key);
    if (rc != ERROR_SUCCESS)
        m_key = 0;
    else
        JournalKeyOpened(m_key, parent, subkey);
    return rc;
}

void CKey::Close()
{
    if (m_key) {
        JournalKeyClosed(m_key);
        RegCloseKey(m_key);
        m_key = 0;
    }
}

LONG CKey::SetString(const char* name, const char* value) const
{
    LONG rc = RegSetValueExA(m_key, name, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
    if (rc == ERROR_SUCCESS)
        Journal("registry value written:", m_key, 0, name ? name : "(default)", value);
    return rc;
}

LONG CKey::SetFlag(const char* name) const
{
    DWORD one = 1;
    return RegSetValueExA(m_key, name, 0, REG_DWORD, (const BYTE*)&one, sizeof one);
}

bool CKey::QueryString(const char* name, char* buf, DWORD size, bool anyType) const
{
    return QueryRegString(m_key, name, buf, size, anyType);
}

bool QueryRegString(HKEY key, const char* name, char* buf, DWORD size, bool anyType)
{
    if (size == 0)
        return false;
    buf[0] = 0;
    if (!key)
        return false;
    DWORD type = 0, cb = size;
    if (RegQueryValueExA(key, name, 0, &type, (BYTE*)buf, &cb) != ERROR_SUCCESS) {
        buf[0] = 0;
        return false;
    }
    if (!anyType && type != REG_SZ && type != REG_EXPAND_SZ) {
        buf[0] = 0;
        return false;
    }
    // the stored data need not end in a zero: it must still fit with one
    if (cb == 0 || buf[cb - 1] != 0) {
        if (cb >= size) {
            buf[0] = 0;
            return false;
        }
        buf[cb] = 0;
    }
    return true;
}
