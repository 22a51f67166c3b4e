// Which product programs run: the tool-help query against real processes
// (stand-ins started from prepared folders), and setup's question about them.
#include <gtest/gtest.h>

#include <memory>

#include "app.h"
#include "bench.h"
#include "driver.h"
#include "fixtures.h"
#include "installset.h"
#include "progress.h"
#include "quillset.h"
#include "responder.h"
#include "toolhelp.h"

using namespace bench;

namespace {

const std::string kRunning =
    " application is currently executing on your system. You must close that application or cancel to stop the "
    "installation.";

// An answer that first ends the program the box asked about, then says OK.
Responder::Action EndThenOk(Process& p)
{
    return [&p](const Box&) {
        p.Kill();
        return IDOK;
    };
}

std::string Upper(std::string s)
{
    CharUpperBuffA(&s[0], (DWORD)s.size());
    return s;
}

class Running : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(BindToolHelp());
        base = FreshFolder(std::string("running\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        dest = base + "\\Zyne";
        MakeFolders(dest);
        // a running program that stands for the installed player
        Copy(Navigator("3.0"), dest + "\\VANTREL.EXE");
    }
    void TearDown() override
    {
        player.Kill();
        navigator.Kill();
        set.reset();
        description.reset();
        BindToolHelp();
    }

    // A player set, or a plug-in set whose companion is the player. Its
    // destination is `dest`; the plug-in set knows Navigator in
    // <base>\Netscape\Program.
    void MakeSet(bool plugin)
    {
        std::string dir = base + "\\set";
        MakeFolders(dir);
        Copy(Built("Vantrel.exe"), dir + "\\VANTREL.EXE");
        Copy(PluginLibrary(), dir + "\\NPZYNE32.DLL");
        WriteFile(dir + "\\README.TXT", "read me");
        WriteFile(dir + "\\SETUP.INI",
                  plugin ? "[Options]\r\nMode=Plugin\r\n[Plugin.32]\r\nModule=NPZYNE32.DLL\r\nOtherModule=VANTREL.EXE\r\n"
                           "[Files]\r\nREADME.TXT=314\r\nNPZYNE32.DLL=230\r\n"
                         : "[Options]\r\nMode=Player\r\n[Player.32]\r\nModule=VANTREL.EXE\r\n"
                           "[Files]\r\nVANTREL.EXE=310\r\nREADME.TXT=314\r\n");
        description.reset(new CSetupDescription(dir.c_str(), "SETUP.INI"));
        set.reset(new CInstallSet(description.get(), true));
        ASSERT_TRUE(set->ReadDescription());
        set->destination.SetPath(dest.c_str());
        if (plugin) {
            navFolder = base + "\\Netscape\\Program";
            MakeFolders(navFolder + "\\Plugins");
            Copy(Navigator("3.0"), navFolder + "\\NETSCAPE.EXE");
            Copy(PluginLibrary(), navFolder + "\\Plugins\\NPZYNE32.DLL");
            Copy(PluginLibrary(), dest + "\\NPZYNE32.DLL");
            set->navigator = new CSetupFile(navFolder.c_str(), "NETSCAPE.EXE");
        }
    }

    bool StartPlayer(const std::string& folder) { return StartStandIn(player, folder + "\\VANTREL.EXE"); }
    bool StartNavigator(const std::string& library = "")
    {
        return StartStandIn(navigator, navFolder + "\\NETSCAPE.EXE", library);
    }

    // Runs the check while the responder answers; returns its result.
    bool Check(Responder& r)
    {
        bool ok = set->CheckProductsNotRunning();
        boxes = r.Finish();
        return ok;
    }

    void ExpectAsked(const Box& box, const std::string& name)
    {
        EXPECT_EQ("The " + name + kRunning, box.text);
        EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons);
        EXPECT_STREQ("exclamation", IconName(box.icon));
        EXPECT_EQ(CApp::Get()->Title(), box.caption);
    }

    std::string base, dest, navFolder;
    std::unique_ptr<CSetupDescription> description;
    std::unique_ptr<CInstallSet> set;
    Process player, navigator;
    std::vector<Box> boxes;
};

}  // namespace

// Windows NT (and Wine) keep only the file name in a process entry; the
// query takes the full path from the process itself.
TEST_F(Running, ProcessEntriesNameOnlyTheFileYetThePathIsFound)
{
    ASSERT_TRUE(StartPlayer(dest));
    const ToolHelpTable& th = ToolHelp();
    HANDLE snap = th.createSnapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, snap);
    PROCESSENTRY32 e;
    e.dwSize = sizeof e;
    std::string entryName;
    for (BOOL more = th.process32First(snap, &e); more; more = th.process32Next(snap, &e))
        if (e.th32ProcessID == player.Id())
            entryName = e.szExeFile;
    CloseHandle(snap);
    EXPECT_TRUE(lstrcmpiA(entryName.c_str(), "VANTREL.EXE") == 0) << entryName;

    std::string path = dest + "\\VANTREL.EXE";
    char got[MAX_PATH];
    ASSERT_TRUE(FirstModulePath(player.Id(), got, sizeof got));
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), got)) << got;
    ASSERT_TRUE(ImagePath(player.Id(), got, sizeof got));
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), got)) << got;
    EXPECT_FALSE(FirstModulePath(player.Id(), got, 8));   // never cut to fit

    MakeSet(false);
    CSetupFile program(dest.c_str(), "VANTREL.EXE");
    EXPECT_TRUE(set->IsProgramRunning(&program, false));
}

TEST_F(Running, PlayerFromTheDestinationIsAskedAboutUntilItEnds)
{
    MakeSet(false);
    ASSERT_TRUE(StartPlayer(dest));
    Responder r({Answer(IDOK),   // still running: asked again
                 EndThenOk(player)});
    EXPECT_TRUE(Check(r));
    ASSERT_EQ(2u, boxes.size());
    ExpectAsked(boxes[0], "Zyne Talkweave Player");
    ExpectAsked(boxes[1], "Zyne Talkweave Player");
    EXPECT_EQ(nullptr, set->pendingError);
}

TEST_F(Running, CancelRecordsTheCanceledInstallation)
{
    MakeSet(false);
    ASSERT_TRUE(StartPlayer(dest));
    Responder r({Answer(IDCANCEL)});
    EXPECT_FALSE(Check(r));
    ASSERT_EQ(1u, boxes.size());
    ASSERT_NE(nullptr, set->pendingError);
    EXPECT_EQ((UINT)IDS_CANCELED, set->pendingError->id);
    EXPECT_STREQ("The installation was canceled. Zyne Talkweave Player may not be properly installed.",
                 set->pendingError->text);
    EXPECT_TRUE(player.Running());
}

TEST_F(Running, ComparedByFullPathWithoutRegardToCase)
{
    MakeSet(false);
    std::string elsewhere = base + "\\Other";
    MakeFolders(elsewhere);
    Copy(Navigator("3.0"), elsewhere + "\\VANTREL.EXE");
    ASSERT_TRUE(StartPlayer(elsewhere));
    {
        Responder r({});
        EXPECT_TRUE(Check(r));   // the same name in another folder is not the player
        EXPECT_TRUE(boxes.empty());
    }
    player.Kill();

    ASSERT_TRUE(StartPlayer(dest));
    set->destination.SetPath(Upper(dest).c_str());
    CSetupFile lower(dest.c_str(), "vantrel.exe");
    EXPECT_TRUE(set->IsProgramRunning(&lower, false));
    Responder r({Answer(IDCANCEL)});
    EXPECT_FALSE(Check(r));
    ASSERT_EQ(1u, boxes.size());
    ExpectAsked(boxes[0], "Zyne Talkweave Player");

    // a player that is not installed is not looked for
    set->destination.SetPath((base + "\\Empty").c_str());
    Responder none({});
    EXPECT_TRUE(Check(none));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Running, NavigatorCountsOnlyWithALibraryOfTheSetFromTheDestination)
{
    MakeSet(true);
    set->flags = kPluginSet;
    ASSERT_TRUE(StartPlayer(dest));   // not asked about: the player is not part of this set

    struct { const char* name; std::string library; } quiet[] = {
        {"no library", ""},
        {"the plug-in from Navigator's own folder", navFolder + "\\Plugins\\NPZYNE32.DLL"},
    };
    for (auto& q : quiet) {
        SCOPED_TRACE(q.name);
        ASSERT_TRUE(StartNavigator(q.library));
        EXPECT_TRUE(set->IsProgramRunning(set->navigator, false));   // it runs
        EXPECT_FALSE(set->IsProgramRunning(set->navigator, true));   // but holds nothing of ours
        Responder r({});
        EXPECT_TRUE(Check(r));
        EXPECT_TRUE(boxes.empty());
        navigator.Kill();
    }

    ASSERT_TRUE(StartNavigator(dest + "\\NPZYNE32.DLL"));
    Responder r({EndThenOk(navigator)});
    EXPECT_TRUE(Check(r));
    ASSERT_EQ(1u, boxes.size());
    ExpectAsked(boxes[0], "Netscape Navigator");
}

// A destination at a drive root names its libraries C:\NPZYNE32.DLL, not
// C:\\NPZYNE32.DLL: Navigator holding one from there still counts.
TEST_F(Running, DestinationAtADriveRoot)
{
    MakeSet(true);
    set->flags = kPluginSet;
    const std::string library = "C:\\NPZYNE32.DLL";
    Copy(PluginLibrary(), library);
    set->destination.SetPath("C:\\");
    ASSERT_TRUE(StartNavigator(library));
    EXPECT_TRUE(set->IsProgramRunning(set->navigator, true));
    navigator.Kill();
    DeleteFileA(library.c_str());
}

TEST_F(Running, BothRunningNavigatorIsNamedFirstThenThePlayer)
{
    MakeSet(true);
    set->flags = kPluginSet | kPlayerSet;   // the player comes from "OtherModule"
    ASSERT_TRUE(StartPlayer(dest));
    ASSERT_TRUE(StartNavigator(dest + "\\NPZYNE32.DLL"));
    Responder r({EndThenOk(navigator), EndThenOk(player)});
    EXPECT_TRUE(Check(r));
    ASSERT_EQ(2u, boxes.size());
    ExpectAsked(boxes[0], "Netscape Navigator");
    ExpectAsked(boxes[1], "Zyne Talkweave Player");
}

TEST_F(Running, TheProgressDialogShowsWhatIsChecked)
{
    MakeSet(true);
    set->flags = kPluginSet | kPlayerSet;
    set->progress = new CProgressDialog(set->cancelled);
    Responder r({});
    EXPECT_TRUE(Check(r));
    EXPECT_TRUE(boxes.empty());
    EXPECT_STREQ("Checking for already-loaded modules...", set->progress->StatusText());
    EXPECT_EQ(dest + "\\VANTREL.EXE", std::string(set->progress->FileText()));   // the last one looked at
}

TEST_F(Running, WithoutToolHelpNothingRunsAndNothingIsAsked)
{
    MakeSet(true);
    set->flags = kPluginSet | kPlayerSet;
    ASSERT_TRUE(StartPlayer(dest));
    ASSERT_TRUE(StartNavigator(dest + "\\NPZYNE32.DLL"));

    // a loaded library without the tool-help names
    EXPECT_FALSE(BindToolHelpIn("USER32.DLL", kNeedProcesses | kNeedModules));
    EXPECT_FALSE(ToolHelp().available);
    Responder r({});
    EXPECT_TRUE(Check(r));
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsProgramRunning((dest + "\\VANTREL.EXE").c_str()));

    // a library that is not loaded is not loaded for the purpose
    EXPECT_FALSE(BindToolHelpIn("TOOLHELP.DLL", kNeedProcesses));
    EXPECT_EQ(nullptr, GetModuleHandleA("TOOLHELP.DLL"));
}

// The helper's form: processes only, the path as given.
TEST_F(Running, HelperFindsAProgramByItsFullPath)
{
    ASSERT_TRUE(BindToolHelp(kNeedProcesses));
    std::string path = dest + "\\VANTREL.EXE";
    EXPECT_FALSE(IsProgramRunning(path.c_str()));
    ASSERT_TRUE(StartPlayer(dest));
    EXPECT_TRUE(IsProgramRunning(path.c_str()));
    EXPECT_TRUE(IsProgramRunning(Upper(path).c_str()));
    EXPECT_FALSE(IsProgramRunning((base + "\\VANTREL.EXE").c_str()));
    EXPECT_FALSE(IsProgramRunning("VANTREL.EXE"));
    EXPECT_FALSE(IsProgramRunning(""));
    EXPECT_FALSE(IsProgramRunning(nullptr));
    player.Kill();
    EXPECT_FALSE(IsProgramRunning(path.c_str()));
}

TEST(Fixtures, StandInsAndTheSamplePluginSet)
{
    struct { std::string file; unsigned valid, major, minor; const char* product; } versions[] = {
        {Navigator("3.0"), 1, 3, 0, "Netscape Navigator"},
        {Navigator("1.22"), 1, 1, 22, "Netscape Navigator"},
        {Navigator("none"), 0, 0, 0, ""},
        {PluginLibrary(), 1, 1, 95, "Zyne Netrama Plugin"},
    };
    for (auto& v : versions) {
        CVersionInfo info;
        info.ReadVersionInfo(v.file.c_str());
        EXPECT_EQ(v.valid, info.valid) << v.file;
        EXPECT_EQ(v.major, info.major) << v.file;
        EXPECT_EQ(v.minor, info.minor) << v.file;
        EXPECT_STREQ(v.product, info.productName) << v.file;
    }

    CSetupDescription description(SampleSet("plugin").c_str(), "SETUP.INI");
    CInstallSet set(&description, true);
    ASSERT_TRUE(set.ReadDescription());
    EXPECT_EQ(kPluginSet, set.flags);
    EXPECT_STREQ("Plugin.32", set.moduleSection);
    EXPECT_STREQ("Zyne Netrama Plugin", set.displayName);
    EXPECT_FALSE(set.otherModulePresent);   // the player is not in this set
    std::string files;
    for (int i = 0; i < set.FileCount(); ++i)
        files += std::string(set.File(i)->Name()) + ":" + std::to_string(set.File(i)->kind) +
                 (set.File(i)->critical ? "c " : "o ");
    EXPECT_EQ("NPZYNE32.DLL:3c PLUGIN.TXT:2o SETUP.EXE:1c SETUP.INI:1c README.TXT:1o ", files);
    struct { const char* key; const char* value; } netscape[] = {
        {"Module", "NETSCAPE.EXE"}, {"Ext", ".htm"}, {"Undir.32", "Program"}, {"Subdir", "Plugins"},
    };
    for (auto& n : netscape)
        EXPECT_STREQ(n.value, description.ReadSetting("Netscape", n.key)) << n.key;

    // the player set's companion is this plug-in
    CSetupDescription player(SampleSet("player").c_str(), "SETUP.INI");
    EXPECT_STREQ("NPZYNE32.DLL", player.ReadSetting("Player.32", "OtherModule"));

    // a library that cannot be loaded ends the stand-in at once
    Process p;
    EXPECT_FALSE(StartStandIn(p, Navigator("3.0"), "C:\\bench\\missing\\NPZYNE32.DLL"));
    EXPECT_EQ(2, p.Wait(5000));
}
