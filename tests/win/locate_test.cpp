// Where setup puts the product and where it finds Navigator: App Paths,
// registered openers, WIN.INI and Navigator's own profile under Wine, with
// the stand-in Navigators of version 3.0, 1.22 and none.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "bench.h"
#include "doctype.h"
#include "fixtures.h"
#include "installset.h"
#include "quillset.h"

using namespace bench;

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE, CR = HKEY_CLASSES_ROOT;
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char kFamily[] = "Zyne Player/Plugin";   // WIN.INI section of the 16-bit installations
// Navigator's documents in these tests: an extension of the bench's own, so
// that Wine's browser registration for .htm stays out of it
const char kPageExt[] = ".zbh";
const char kPageType[] = "ZyneBench.Page";
const char kNetscape[] = "[Netscape]\r\nModule=NETSCAPE.EXE\r\nExt=.zbh\r\nUndir.32=Program\r\nSubdir=Plugins\r\n";

class Locate : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset();
        base = FreshFolder(std::string("locate\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override
    {
        set.reset();
        description.reset();
        Reset();
    }
    static void Reset()
    {
        for (const char* name : {"VANTREL.EXE", "NPZYNE32.DLL", "NETSCAPE.EXE"})
            DeleteKeyTree(LM, kAppPaths + name);
        ResetDocumentType(".zyn", "Zyne.Pres.1.95", "MIME\\Database\\Content Type\\application/x-zyne");
        ResetDocumentType(kPageExt, kPageType);
        WriteProfileStringA(kFamily, nullptr, nullptr);
        WriteProfileStringA("Netscape", nullptr, nullptr);
        DeleteFileA("C:\\NETSCAPE.EXE");
        ForgetPluginFolderCache();
    }

    // An install set in <base>\set: mode "Player" (both variants: 32-bit),
    // "Player.16" or "Plugin"; netscape is its [Netscape] section.
    void MakeSet(const std::string& mode, const std::string& netscape = kNetscape)
    {
        std::string dir = base + "\\set";
        MakeFolders(dir);
        Copy(Built("Vantrel.exe"), dir + "\\VANTREL.EXE");
        Copy(PluginLibrary(), dir + "\\NPZYNE32.DLL");
        WriteFile(dir + "\\SETUP.INI", "[Options]\r\nMode=" + mode +
                                           "\r\nSubdir=Zyne\\Talkweave\r\n"
                                           "[Player.16]\r\nModule=VANTREL.EXE\r\n[Player.32]\r\nModule=VANTREL.EXE\r\n"
                                           "[Plugin.16]\r\nModule=NPZYNE32.DLL\r\n[Plugin.32]\r\nModule=NPZYNE32.DLL\r\n" +
                                           netscape);
        set.reset();
        description.reset(new CSetupDescription(dir.c_str(), "SETUP.INI"));
        set.reset(new CInstallSet(description.get(), true));
        ASSERT_TRUE(set->ReadDescription());
        ForgetPluginFolderCache();
    }

    // A copy of `file` as <base>\<folder>\<name>; its full path.
    std::string Place(const std::string& folder, const std::string& file, const std::string& name)
    {
        MakeFolders(base + "\\" + folder);
        std::string path = base + "\\" + folder + "\\" + name;
        Copy(file, path);
        return path;
    }
    std::string Folder(const std::string& folder) { return base + "\\" + folder; }

    static void AppPath(const std::string& name, const std::string& folder)
    {
        SetRegString(LM, kAppPaths + name, nullptr, folder + "\\" + name);
        SetRegString(LM, kAppPaths + name, "Path", folder);
    }
    // The program registered for ".zyn", as setup registers it.
    static void ZynOpener(const std::string& program)
    {
        RegisterDocumentType(GetModuleHandleA(nullptr), program.c_str(), IDS_EXTENSION, IDS_PROGID,
                             IDS_DOC_DESCRIPTION, IDS_MIME_TYPE, IDS_OWNER_LIST, IDS_QUICKVIEW);
    }
    // The program registered for Navigator's documents.
    static void PageOpener(const std::string& program)
    {
        SetRegString(CR, kPageExt, nullptr, kPageType);
        SetRegString(CR, std::string(kPageType) + "\\shell\\open\\command", nullptr, "\"" + program + "\" \"%1\"");
    }

    std::string Destination()
    {
        set->LocateInstallation();
        return set->destination.Path();
    }
    std::string NavigatorPath()
    {
        return set->navigator ? std::string(set->navigator->FullPath()) : std::string("(none)");
    }

    static std::string DefaultDestination() { return std::string(CDefaultProgramFolder().Path()) + "\\Zyne\\Talkweave"; }

    std::string base;
    std::unique_ptr<CSetupDescription> description;
    std::unique_ptr<CInstallSet> set;
};

}  // namespace

TEST_F(Locate, DestinationOnAnEarlierInstallation)
{
    EXPECT_EQ("C:\\Program Files\\Zyne\\Talkweave", DefaultDestination());   // Wine's 32-bit prefix

    struct {
        const char* name;
        bool appPath, pluginAppPath;
        const char* opener;   // the program registered for .zyn, in folder "opened"
        std::string expected;
    } cases[] = {
        {"the opener is the player, App Paths elsewhere", true, false, "VANTREL.EXE", "opened"},
        {"the opener is the player, in any case", true, false, "vantrel.exe", "opened"},
        {"an opener of another name", true, false, "ZYNE195.EXE", "apps"},
        {"App Paths alone", true, false, nullptr, "apps"},
        {"the plug-in's App Paths", false, true, nullptr, "plugins"},
        {"the opener is the player, no App Paths", false, false, "VANTREL.EXE", ""},
        {"nothing registered", false, false, nullptr, ""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        MakeSet("Player");
        if (c.appPath) {
            AppPath("VANTREL.EXE", Folder("apps"));
            Place("apps", Built("Vantrel.exe"), "VANTREL.EXE");
        }
        if (c.pluginAppPath) {
            AppPath("NPZYNE32.DLL", Folder("plugins"));
            Place("plugins", PluginLibrary(), "NPZYNE32.DLL");
        }
        if (c.opener)
            ZynOpener(Place("opened", Built("Vantrel.exe"), c.opener));
        EXPECT_EQ(c.expected.empty() ? DefaultDestination() : Folder(c.expected), Destination());
    }
}

// Entries that name folders or programs that are not there count as nothing.
TEST_F(Locate, AppPathsToMissingFoldersOrProgramsAreIgnored)
{
    MakeSet("Player");
    AppPath("VANTREL.EXE", Folder("gone"));
    AppPath("NPZYNE32.DLL", Folder("plugins"));
    MakeFolders(Folder("plugins"));   // the folder without the library
    ZynOpener(Folder("gone") + "\\VANTREL.EXE");
    EXPECT_EQ(DefaultDestination(), Destination());
}

TEST_F(Locate, SixteenBitInstallationsRecordedInWinIni)
{
    WriteProfileStringA(kFamily, "Latest", "1.95");
    WriteProfileStringA(kFamily, "1.95", (Folder("old16") + "\\").c_str());
    WriteProfileStringA(kFamily, "1.90", Folder("older16").c_str());

    MakeSet("Player.16");
    EXPECT_EQ(kPlatform16, set->platform);
    EXPECT_EQ(Folder("old16"), Destination());   // its trailing backslash removed

    // the opener wins when it is the player
    ZynOpener(Place("opened", Built("Vantrel.exe"), "VANTREL.EXE"));
    EXPECT_EQ(Folder("opened"), Destination());
    ResetDocumentType(".zyn", "Zyne.Pres.1.95");

    // App Paths comes first
    AppPath("VANTREL.EXE", Folder("apps"));
    Place("apps", Built("Vantrel.exe"), "VANTREL.EXE");
    EXPECT_EQ(Folder("apps"), Destination());
    DeleteKeyTree(LM, kAppPaths + "VANTREL.EXE");

    // "Latest" names a key that is not there, or nothing
    WriteProfileStringA(kFamily, "Latest", "2.0");
    EXPECT_EQ(DefaultDestination(), Destination());
    WriteProfileStringA(kFamily, "Latest", nullptr);
    EXPECT_EQ(DefaultDestination(), Destination());

    // a 32-bit set does not look there
    WriteProfileStringA(kFamily, "Latest", "1.95");
    MakeSet("Player");
    EXPECT_EQ(DefaultDestination(), Destination());
}

TEST_F(Locate, NavigatorFoundByTheOpenerOfItsDocuments)
{
    struct {
        const char* name;
        const char* mode;
        const char* folder;
        const char* version;
        bool found;
    } cases[] = {
        {"32-bit set, 3.0 in the named folder", "Plugin", "Netscape\\Program", "3.0", true},
        {"32-bit set, 3.0 elsewhere", "Plugin", "Netscape\\Other", "3.0", false},
        {"32-bit set, 1.22 in the named folder", "Plugin", "Netscape\\Program", "1.22", false},
        {"32-bit set, no version information", "Plugin", "Netscape\\Program", "none", false},
        {"16-bit set, 3.0 elsewhere", "Player.16", "Netscape\\Other", "3.0", true},
        {"16-bit set, 3.0 in the named folder", "Player.16", "Netscape\\Program", "3.0", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        MakeSet(c.mode);
        std::string program = Place(c.folder, Navigator(c.version), "NETSCAPE.EXE");
        PageOpener(program);
        set->LocateInstallation();
        EXPECT_EQ(c.found ? program : "(none)", NavigatorPath());
    }
}

// After the opener, App Paths (not asked whether the folder suits), then, for
// the 16-bit variant, Navigator's profile named in WIN.INI.
TEST_F(Locate, NavigatorFoundByAppPathsAndWinIni)
{
    MakeSet("Plugin");
    std::string other = Place("Netscape\\Other", Navigator("1.22"), "NETSCAPE.EXE");
    PageOpener(other);   // dropped: unsuitable
    AppPath("NETSCAPE.EXE", Folder("Netscape\\Other"));
    set->LocateInstallation();
    EXPECT_EQ(other, NavigatorPath());
    DeleteKeyTree(LM, kAppPaths + "NETSCAPE.EXE");

    std::string nav16 = Place("Nav16", Navigator("3.0"), "NETSCAPE.EXE");
    std::string ini = Folder("NETSCAPE.INI");
    WriteFile(ini, "[Main]\r\nInstall Directory=" + Folder("Nav16") + "\r\n");
    WriteProfileStringA("Netscape", "ini", ini.c_str());
    set->LocateInstallation();
    EXPECT_EQ("(none)", NavigatorPath());   // a 32-bit set does not look there

    MakeSet("Player.16");
    set->LocateInstallation();
    EXPECT_EQ(nav16, NavigatorPath());

    // a profile naming a folder without the program, or no folder, or none
    WriteFile(ini, "[Main]\r\nInstall Directory=" + Folder("Empty") + "\r\n");
    set->LocateInstallation();
    EXPECT_EQ("(none)", NavigatorPath());
    WriteFile(ini, "[Main]\r\nDirectory=" + Folder("Nav16") + "\r\n");
    set->LocateInstallation();
    EXPECT_EQ("(none)", NavigatorPath());
    WriteProfileStringA("Netscape", "ini", (Folder("gone") + "\\NETSCAPE.INI").c_str());
    set->LocateInstallation();
    EXPECT_EQ("(none)", NavigatorPath());
}

TEST_F(Locate, IsPluginFolder)
{
    std::string named = Folder("Netscape\\Program"), other = Folder("Netscape\\Other");
    Place("Netscape\\Program", Navigator("3.0"), "NETSCAPE.EXE");
    Place("Netscape\\Other", Navigator("3.0"), "NETSCAPE.EXE");
    Place("Old\\Program", Navigator("1.22"), "NETSCAPE.EXE");
    Place("Old\\Other", Navigator("1.22"), "NETSCAPE.EXE");
    Place("Bare\\Program", Navigator("none"), "NETSCAPE.EXE");
    Place("Bare\\Other", Navigator("none"), "NETSCAPE.EXE");
    MakeFolders(Folder("Empty\\Program"));

    enum { kNo = 0, kYes = 1, kAbsent = 2 };   // kAbsent: false, unsuitable untouched
    struct {
        std::string path;
        int for32, for16;
    } cases[] = {
        {named, kYes, kNo},
        {other, kNo, kYes},
        {Folder("Netscape\\PROGRAM"), kYes, kNo},   // the name without regard to case
        {Folder("Old\\Program"), kNo, kNo},
        {Folder("Old\\Other"), kNo, kNo},
        // without version information a Navigator counts as too old
        {Folder("Bare\\Program"), kNo, kNo},
        {Folder("Bare\\Other"), kNo, kNo},
        {Folder("Empty\\Program"), kAbsent, kAbsent},
        {Folder("gone\\Program"), kAbsent, kAbsent},
        // trimmed for the program, an empty last component for the name
        {named + "\\", kNo, kYes},
        {other + "\\", kNo, kYes},
        {"C:", kAbsent, kAbsent},
        {"", kAbsent, kAbsent},   // C: as well, not the current folder
    };
    for (const char* mode : {"Plugin", "Player.16"}) {
        MakeSet(mode);
        Copy(Navigator("3.0"), base + "\\set\\NETSCAPE.EXE");   // in the current folder
        bool is32 = set->platform == kPlatform32;
        for (auto& c : cases) {
            SCOPED_TRACE(std::string(mode) + " " + c.path);
            int expected = is32 ? c.for32 : c.for16;
            EXPECT_EQ(expected == kYes, set->IsPluginFolder(c.path.c_str()));
            for (bool before : {false, true}) {
                bool unsuitable = before;
                EXPECT_EQ(expected == kYes, set->IsPluginFolder(c.path.c_str(), &unsuitable));
                EXPECT_EQ(expected == kAbsent ? before : expected == kNo, unsuitable);
            }
        }
    }

    // no folder stands for C:, which has no backslash and so is never named
    EXPECT_FALSE(set->IsPluginFolder(nullptr));
    Copy(Navigator("3.0"), "C:\\NETSCAPE.EXE");
    EXPECT_TRUE(set->IsPluginFolder(nullptr));   // the 16-bit set of the last round
    EXPECT_TRUE(set->IsPluginFolder(""));
}

// The description is read on the first call and kept for the whole run.
TEST_F(Locate, IsPluginFolderReadsTheDescriptionOnce)
{
    Place("Netscape\\Program", Navigator("3.0"), "NETSCAPE.EXE");
    MakeSet("Plugin");
    EXPECT_TRUE(set->IsPluginFolder(Folder("Netscape\\Program").c_str()));
    std::string ini = base + "\\set\\SETUP.INI";
    WritePrivateProfileStringA("Netscape", "Undir.32", "Other", ini.c_str());
    EXPECT_TRUE(set->IsPluginFolder(Folder("Netscape\\Program").c_str()));

    // another set in the same run still gets the first answers
    CSetupDescription other((base + "\\set").c_str(), "SETUP.INI");
    CInstallSet sixteen(&other, false);
    WritePrivateProfileStringA("Options", "Mode", "Player.16", ini.c_str());
    ASSERT_TRUE(sixteen.ReadDescription());
    EXPECT_TRUE(sixteen.IsPluginFolder(Folder("Netscape\\Program").c_str()));

    // forgotten, it is filled again by whichever set asks first
    ForgetPluginFolderCache();
    EXPECT_FALSE(set->IsPluginFolder(Folder("Netscape\\Program").c_str()));   // named Other now
    EXPECT_FALSE(sixteen.IsPluginFolder(Folder("Netscape\\Program").c_str()));
}

// Missing or empty [Netscape] keys: nothing is found, nothing breaks, and an
// empty program name never stands for setup itself.
TEST_F(Locate, NetscapeKeysMissingOrEmpty)
{
    std::string program = Place("Netscape\\Program", Navigator("3.0"), "NETSCAPE.EXE");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string selfFolder(self, strrchr(self, '\\') - self);

    struct {
        const char* name;
        std::string section;
    } sections[] = {
        {"no section", ""},
        {"empty keys", "[Netscape]\r\nModule=\r\nExt=\r\nUndir.32=\r\nSubdir=\r\n"},
        {"only Ext", "[Netscape]\r\nExt=.zbh\r\n"},
    };
    for (auto& s : sections) {
        SCOPED_TRACE(s.name);
        Reset();
        MakeSet("Plugin", s.section);
        PageOpener(program);
        AppPath("NETSCAPE.EXE", Folder("Netscape\\Program"));
        set->LocateInstallation();
        EXPECT_EQ("(none)", NavigatorPath());
        EXPECT_EQ(DefaultDestination(), std::string(set->destination.Path()));
        bool unsuitable = false;
        EXPECT_FALSE(set->IsPluginFolder(Folder("Netscape\\Program").c_str(), &unsuitable));
        EXPECT_FALSE(set->IsPluginFolder(selfFolder.c_str(), &unsuitable));
        EXPECT_FALSE(unsuitable);
    }

    // without the folder's name only an empty last component (a trailing
    // backslash) is named: a 32-bit set takes just that, a 16-bit set the rest
    std::string trailing = Folder("Netscape\\Program") + "\\";
    Reset();
    MakeSet("Plugin", "[Netscape]\r\nModule=NETSCAPE.EXE\r\nExt=.zbh\r\n");
    PageOpener(program);
    set->LocateInstallation();
    EXPECT_EQ("(none)", NavigatorPath());
    EXPECT_TRUE(set->IsPluginFolder(trailing.c_str()));
    EXPECT_FALSE(set->IsPluginFolder(Folder("Netscape\\Program").c_str()));
    MakeSet("Player.16", "[Netscape]\r\nModule=NETSCAPE.EXE\r\nExt=.zbh\r\n");
    set->LocateInstallation();
    EXPECT_EQ(program, NavigatorPath());
    EXPECT_FALSE(set->IsPluginFolder(trailing.c_str()));
    EXPECT_TRUE(set->IsPluginFolder(Folder("Netscape\\Program").c_str()));
}
