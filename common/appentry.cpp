#include "appentry.h"

#include <windows.h>
#include <string.h>

#include "msgbox.h"
#include "progpath.h"
#include "registry.h"
#include "settings.h"

static const char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
static const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Registry values are held in 260-byte buffers: a longer one is not written.
static bool Fits(const char* value) { return strlen(value) < MAX_PATH; }

// Nor is an empty one: a package manager would match an empty version.
static LONG SetFittingString(const CKey& key, const char* name, const char* value)
{
    return *value && Fits(value) ? key.SetString(name, value) : ERROR_INVALID_PARAMETER;
}

// The names an installation is filed under.
class CEntryNames {
public:
    CEntryNames(CSetupFile& program, const CVersionInfo* info, const char* defaultProduct)
    {
        if (!info) {
            m_own.ReadVersionInfo(program.FullPath());
            info = &m_own;
        }
        company = info->companyName;
        version = info->versionText;
        product = info->productName.IsEmpty() ? defaultProduct : info->productName.c_str();
        versionedProduct = product;
        versionedProduct.AppendChar(' ');
        versionedProduct.Append(version);
    }

    // Without a maker or a version the per-user keys would land in the wrong
    // place (Software\product, or the product key itself): none are kept.
    bool HasUserKeys() const { return !company.IsEmpty() && !version.IsEmpty(); }

    CStr company, product, version;
    CStr versionedProduct;   // product + " " + version

private:
    CVersionInfo m_own;
};

// The per-user keys of one version: its key under the product, and the key
// named after product and version (`versioned`, the entry's "DisplayName").
// Opening the stores creates (and so keeps) the company and product keys.
static void RemoveUserKeys(const CEntryNames& names, const char* version, const char* versioned)
{
    if (!names.HasUserKeys() || !*version)
        return;
    OpenSettingsStore(names.company, names.product);
    if (HKEY root = SettingsRootKey())
        DeleteKeyTree(root, version);
    OpenSettingsStore(names.company, 0);
    if (HKEY root = SettingsRootKey())
        DeleteKeyTree(root, versioned);
    CloseSettingsStore();
}

void WriteUninstallEntry(CSetupFile& program, const CVersionInfo* info, const char* defaultProduct,
                         const CSetupFolder* extra, const char* setupFolder)
{
    // an empty name would make the tables' own keys the program's
    const char* name = program.Name();
    if (!*name)
        return;
    CEntryNames names(program, info, defaultProduct);
    const char* folder = program.Path();
    CStr full = program.FullPath();

    CKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, JoinPath(kAppPaths, name)) == ERROR_SUCCESS) {
        SetFittingString(key, 0, full);
        SetFittingString(key, "Path", folder);
        key.Close();
    }

    if (names.HasUserKeys()) {
        CStr path = folder;
        if (extra) {
            path.AppendChar(';');
            path.Append(extra->Path());
        }
        OpenSettingsStore(names.company, names.product);
        if (Fits(path) && SettingsStore())
            SettingsStore()->WriteString(names.version, "Path", path);
        // opening the store creates its key
        OpenSettingsStore(names.company, names.versionedProduct);
        CloseSettingsStore();
    }

    // the uninstaller is this setup program's file name in the product's folder
    const char* location = setupFolder ? setupFolder : folder;
    CSetupFile self;
    self.Probe();
    if (key.Create(HKEY_LOCAL_MACHINE, JoinPath(kUninstall, name)) == ERROR_SUCCESS) {
        // another version over this one: the earlier version's keys go, so
        // that the removal leaves nothing of either
        char earlier[MAX_PATH], earlierName[MAX_PATH];
        if (key.QueryString("DisplayVersion", earlier, sizeof earlier) && !EqualNoCase(earlier, names.version) &&
            key.QueryString("DisplayName", earlierName, sizeof earlierName))
            RemoveUserKeys(names, earlier, earlierName);
        SetFittingString(key, "DisplayName", names.versionedProduct);
        // what package managers match an installation by; older systems ignore them
        SetFittingString(key, "DisplayVersion", names.version);
        SetFittingString(key, "Publisher", names.company);
        SetFittingString(key, "InstallLocation", location);
        SetFittingString(key, "DisplayIcon", full);
        key.SetFlag("NoModify");
        key.SetFlag("NoRepair");
        if (self.Probed()) {
            CStr uninstaller = self.PathIn(location);
            char command[MAX_PATH];
            if (BuildCommand(command, sizeof command, uninstaller, "/uninstall"))
                key.SetString("UninstallString", command);
            // the removal without windows that deployment tools run
            if (BuildCommand(command, sizeof command, uninstaller, "/S /uninstall"))
                key.SetString("QuietUninstallString", command);
        }
    }
}

void RemoveUninstallEntry(CSetupFile& program, const CVersionInfo* info, const char* defaultProduct)
{
    const char* name = program.Name();
    if (!*name)
        return;
    CEntryNames names(program, info, defaultProduct);

    // An App Paths entry that points elsewhere belongs to another installation.
    CKey table;
    if (table.Open(HKEY_LOCAL_MACHINE, kAppPaths) == ERROR_SUCCESS) {
        char target[MAX_PATH];
        bool ours;
        {
            CKey key;
            ours = key.Open(table.Handle(), name) == ERROR_SUCCESS && key.QueryString(0, target, sizeof target) &&
                   IsPathInFolder(target, program.Path());
        }
        if (ours)
            DeleteKeyTree(table.Handle(), name);
        table.Close();
    }

    RemoveUserKeys(names, names.version, names.versionedProduct);

    if (table.Open(HKEY_LOCAL_MACHINE, kUninstall) == ERROR_SUCCESS)
        DeleteKeyTree(table.Handle(), name);
}

// The folder that a program's record in `table` names in `value`, when it
// exists. App Paths' "Path" counts up to its first ";", and only while the
// program is there.
static CSetupFolder* FindRecordedFolder(const char* table, const char* value, const char* fileName)
{
    if (!fileName || !*fileName)
        return 0;
    char path[MAX_PATH];
    {
        CKey key;
        if (key.Open(HKEY_LOCAL_MACHINE, JoinPath(table, fileName)) != ERROR_SUCCESS ||
            !key.QueryString(value, path, sizeof path))
            return 0;
    }
    const bool appPath = table == kAppPaths;
    // only the first folder of a list counts
    if (char* semicolon = appPath ? strchr(path, ';') : 0)
        *semicolon = 0;
    if (!path[0] || !FolderExists(path))
        return 0;
    if (appPath) {
        size_t folderEnd = strlen(path);
        if (path[folderEnd - 1] == '\\')
            --folderEnd;
        else if (!AppendText(path, "\\"))
            return 0;
        if (!AppendText(path, fileName) || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
            return 0;
        path[folderEnd] = 0;
    }
    return new CSetupFolder(path);
}

CSetupFolder* FindInstallLocation(const char* fileName) { return FindRecordedFolder(kUninstall, "InstallLocation", fileName); }

CSetupFolder* FindAppPath(const char* fileName) { return FindRecordedFolder(kAppPaths, "Path", fileName); }
