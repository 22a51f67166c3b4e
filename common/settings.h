// Settings kept in HKEY_CURRENT_USER\Software\<company>\<product> or in a
// private profile file, behind one interface; one current store per process.
#pragma once
#include <windows.h>

#include "registry.h"

class CSettingsStore {
public:
    virtual ~CSettingsStore() {}
    // A value of the section; the default when it cannot be read.
    virtual int GetInt(const char* section, const char* valueName, int defaultValue) = 0;
    // The store's own buffer (the next call overwrites it), or defaultValue.
    virtual const char* GetString(const char* section, const char* valueName, const char* defaultValue) = 0;
    // A null string deletes the value, a null value name the whole section.
    virtual bool WriteString(const char* section, const char* valueName, const char* string) = 0;
};

class CRegistrySettingsStore : public CSettingsStore {
public:
    // Creates (or opens) HKEY_CURRENT_USER\Software\company[\product]; the
    // root stays null when that fails.
    CRegistrySettingsStore(const char* company, const char* product);

    int GetInt(const char* section, const char* valueName, int defaultValue) override;
    const char* GetString(const char* section, const char* valueName, const char* defaultValue) override;
    bool WriteString(const char* section, const char* valueName, const char* string) override;

    HKEY RootKey() const { return m_root.Handle(); }

private:
    // The section's key (opened into key), the root for no section; null
    // when there is none.
    HKEY SectionKey(CKey& key, const char* section) const;

    CRegistrySettingsStore(const CRegistrySettingsStore&);
    void operator=(const CRegistrySettingsStore&);

    CKey m_root;
    char m_value[MAX_PATH];
};

class CProfileSettingsStore : public CSettingsStore {
public:
    // The file is the name with ".ini" for its extension; a name without a
    // folder lies in the Windows folder.
    explicit CProfileSettingsStore(const char* name);

    int GetInt(const char* section, const char* valueName, int defaultValue) override;
    // Null when nothing was read (a missing key with a non-empty default
    // gives the default's copy).
    const char* GetString(const char* section, const char* valueName, const char* defaultValue) override;
    bool WriteString(const char* section, const char* valueName, const char* string) override;

    const char* FileName() const { return m_fileName; }

private:
    char m_value[MAX_PATH];
    char m_fileName[MAX_PATH];
    bool m_valid;
};

// Replaces the current store: a registry store for a company (the product may
// be null), a profile store named after the product for a null company.
void OpenSettingsStore(const char* company, const char* product);
void CloseSettingsStore();
CSettingsStore* SettingsStore();      // the current store, or null
HKEY SettingsRootKey();               // the current registry store's root key, or null

// Deletes a key with all its subkeys; the status of the final deletion
// (0 = done). An empty or null name is refused: it would name the parent.
LONG DeleteKeyTree(HKEY parent, const char* subkeyName);
