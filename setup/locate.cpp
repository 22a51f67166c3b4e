// Where the product goes and where Netscape Navigator is: App Paths, the
// registered openers of document types and, for the 16-bit variant, WIN.INI.
#include "installset.h"

#include "appentry.h"
#include "doctype.h"
#include "profile.h"
#include "quillset.h"

// What IsPluginFolder compares with, read from the description once a run.
static struct {
    bool filled;
    bool is32;
    char program[MAX_PATH];   // [Netscape] "Module"
    char folder[MAX_PATH];    // [Netscape] "Undir.32"
} s_plugin;

void ForgetPluginFolderCache() { s_plugin.filled = false; }

// The folder of the latest 16-bit installation, as WIN.INI records it.
static CSetupFolder* LatestFromWinIni()
{
    CStr section = LoadText(IDS_PRODUCT_FAMILY);
    char latest[MAX_PATH], folder[MAX_PATH];
    if (!ReadProfileText(0, section, "Latest", 0, latest) || !ReadProfileText(0, section, latest, 0, folder))
        return 0;
    return new CSetupFolder(folder);
}

// An earlier installation of a module: the folder its entry names, where the
// product's own setup went. A plug-in's program lies in Navigator's folder,
// which is never the product's; an entry without that name leaves the
// program's folder.
static CSetupFolder* FindInstallation(const char* module)
{
    CSetupFolder* found = FindAppPath(module);
    CSetupFolder* location = found ? FindInstallLocation(module) : 0;
    if (!location)
        return found;
    delete found;
    return location;
}

void CInstallSet::LocateInstallation()
{
    const char* suffix = platform == kPlatform16 ? ".16" : ".32";
    CStr section = "Player";
    section.Append(suffix);
    CStr player = description->ReadSetting(section, "Module");

    CSetupFolder* found = FindInstallation(player);
    if (!found) {
        section = "Plugin";
        section.Append(suffix);
        found = FindInstallation(description->ReadSetting(section, "Module"));
    }
    if (!found && platform == kPlatform16)
        found = LatestFromWinIni();

    CSetupFile* opener = FindRegisteredOpener(LoadText(IDS_EXTENSION), 0);
    if (found) {
        bool opens = opener && !player.IsEmpty() && EqualNoCase(opener->Name(), player);
        destination.SetPath(opens ? opener->Path() : found->Path());
        earlier.Probe();   // this program's name, in that folder
        earlier.SetPath(destination.Path());
    } else {
        CDefaultProgramFolder programs;
        CStr path = JoinPath(programs.Path(), subfolder);
        // a sub-folder that would make the path too long is left out
        destination.SetPath(path.Length() < MAX_PATH ? path.c_str() : programs.Path());
    }
    delete opener;
    delete found;

    LocateNavigator();
}

void CInstallSet::LocateNavigator()
{
    delete navigator;
    navigator = 0;
    CStr name = description->ReadSetting("Netscape", "Module");

    // the program that opens Navigator's documents, when it sits in a folder
    // that can take the plug-in
    CSetupFile* candidate = FindRegisteredOpener(description->ReadSetting("Netscape", "Ext"), 0);
    if (candidate && IsPluginFolder(candidate->Path()))
        navigator = candidate;
    else
        delete candidate;

    // an empty name would stand for setup itself
    if (navigator || name.IsEmpty())
        return;
    if (CSetupFolder* folder = FindAppPath(name)) {
        navigator = new CSetupFile(folder->Path(), name);
        delete folder;
        return;
    }

    if (platform != kPlatform16)
        return;
    char ini[MAX_PATH], folder[MAX_PATH];
    if (!ReadProfileText(0, "Netscape", "ini", 0, ini) || !ReadProfileText(ini, "Main", "Install Directory", 0, folder))
        return;
    navigator = new CSetupFile(folder, name);
    if (navigator && !navigator->Exists()) {
        delete navigator;
        navigator = 0;
    }
}

void CInstallSet::SetNavigatorFolder(const char* folder)
{
    if (navigator) {
        navigator->SetPath(folder);
        return;
    }
    CStr name = description->ReadSetting("Netscape", "Module");
    // an empty name would stand for setup itself
    if (*folder && !name.IsEmpty())
        navigator = new CSetupFile(folder, name);
}

// From here on navigator's folder is the one that receives the plug-in. A
// removal takes the plug-in's copies from the folder the install recorded
// (the plug-in module's App Paths entry), wherever Navigator is found now.
void CInstallSet::PointAtPluginFolder(bool install)
{
    if (!(flags & kPluginSet))
        return;
    CSetupFolder* recorded = 0;
    if (!install && mainModule && (mainModule->kind & kToPluginFolder))
        recorded = FindAppPath(mainModule->Name());
    if (recorded) {
        delete navigator;
        navigator = new CSetupFile(recorded->Path(), description->ReadSetting("Netscape", "Module"));
        delete recorded;
    } else if (HasPluginFolder()) {
        navigator->SetPath(JoinPath(navigator->Path(), description->ReadSetting("Netscape", "Subdir")));
    }
}

bool CInstallSet::IsPluginFolder(const char* path, bool* unsuitable)
{
    if (!s_plugin.filled) {
        CopyText(s_plugin.program, description->ReadSetting("Netscape", "Module"));
        CopyText(s_plugin.folder, description->ReadSetting("Netscape", "Undir.32"));
        s_plugin.is32 = platform == kPlatform32;
        s_plugin.filled = true;
    }
    if (!s_plugin.program[0])
        return false;   // an empty name would stand for setup itself
    // an empty folder would make the name relative to the current folder
    if (!path || !*path)
        path = kDefaultFolder;
    CSetupFile program(path, s_plugin.program);
    if (!program.Exists())
        return false;

    // the untrimmed path's last component: empty after a trailing backslash,
    // which an empty configured name matches
    const char* last = AfterLastBackslash(path);
    bool named = last != path && EqualNoCase(last, s_plugin.folder);

    // without version information the program counts as too old
    CVersionInfo version;
    version.ReadVersionInfo(program.FullPath());
    bool bad = !(version.major >= 2 && named == s_plugin.is32);
    if (unsuitable)
        *unsuitable = bad;
    return !bad;
}
