// What an install followed by an uninstall leaves behind: the whole registry
// and drive C: before and after differ only by what is kept on purpose.
#include <gtest/gtest.h>

#include "bench.h"
#include "fixtures.h"
#include "quillset.h"
#include "regstate.h"
#include "walk.h"

using namespace bench;

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE, CR = HKEY_CLASSES_ROOT;
const std::string kWindows = "Software\\Microsoft\\Windows\\CurrentVersion\\";

// What stays on purpose, a changed line's beginning each ({Temp}: the
// temporary folder), and why.
struct Kept {
    const char* line;
    const char* why;
} const kKept[] = {
    {"+ HKCU\\Software\\Zyne Systems", "the maker's and product's keys: removing the version opens, so makes, them"},
    {"+ HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Extensions",
     "[Extensions] zyn: the old programs' record is left in place by unregistration"},
    {"+ HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions", "the same record, where WIN.INI keeps it"},
    {"+ {ProgramFiles}\\Zyne folder ", "the maker's folder above the destination: the helper removes only its own"},
    {"+ C:\\bench\\residue\\plugin\\Netscape\\Program\\Plugins folder ",
     "Navigator's plug-in folder, made for the plug-in: removal takes listed files only"},
};

// Windows starts again: the removal helper's copies, which nothing could
// delete while they ran, go then. Windows 95 keeps its list of them as
// WININIT.BAK, which is the system's own.
void Restart()
{
    EXPECT_EQ(0u, regstate::Run(SystemFolder() + "\\wineboot.exe", "-r"));
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    DeleteFileA((std::string(windows) + "\\wininit.bak").c_str());
}

std::string TempFolder()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    return temp;
}

// The changes no kept line explains; `used` counts the kept lines that explained one.
std::vector<std::string> Unexplained(const std::vector<std::string>& changes, std::vector<int>& used)
{
    std::vector<std::string> lines;
    for (auto& k : kKept) {
        std::string line = k.line;
        for (auto& field : {std::make_pair("{Temp}", TempFolder()), std::make_pair("{ProgramFiles}", ProgramFiles())}) {
            size_t at = line.find(field.first);
            if (at != std::string::npos)
                line.replace(at, strlen(field.first), field.second);
        }
        lines.push_back(line);
    }
    std::vector<std::string> left;
    for (auto& change : changes) {
        bool kept = false;
        for (size_t i = 0; i < lines.size() && !kept; ++i) {
            kept = lstrcmpiA(change.substr(0, lines[i].size()).c_str(), lines[i].c_str()) == 0;
            used[i] += kept;
        }
        if (!kept)
            left.push_back(change);
    }
    return left;
}

// Another owner of the document type, listed as one the player leaves in charge.
void RegisterOtherOwner()
{
    const std::string owner = "C:\\Show\\ZYNE195.EXE";
    SetRegString(CR, ".zyn", nullptr, "Zyne.Show.1");
    SetRegString(CR, ".zyn", "Content Type", "application/x-zyne");
    SetRegString(CR, "MIME\\Database\\Content Type\\application/x-zyne", "Extension", ".zyn");
    SetRegString(CR, "Zyne.Show.1", nullptr, "Zyne Show");
    SetRegString(CR, "Zyne.Show.1\\DefaultIcon", nullptr, owner + ",0");
    SetRegString(CR, "Zyne.Show.1\\shell\\open\\command", nullptr, owner + " \"%1\"");
    WriteProfileStringA("Extensions", "zyn", (owner + " ^.zyn").c_str());
    SetRegString(HKEY_CURRENT_USER, kWindows + "Extensions", "zyn", owner + " ^.zyn");
}

class Residue : public ::testing::Test {
protected:
    void SetUp() override { ResetProduct(); }
    void TearDown() override
    {
        ResetProduct();
        ResetDocumentType(".zyn", "Zyne.Show.1");
        ResetProgramEntries("TALKEDIT.EXE");
    }
};

}  // namespace

TEST_F(Residue, InstallThenUninstallLeavesOnlyWhatIsKept)
{
    std::vector<int> used(sizeof kKept / sizeof *kKept);
    const std::string zyne = ProgramFiles() + "\\Zyne";
    const std::string talkweave = zyne + "\\Talkweave", netrama = zyne + "\\Netrama";
    // steps: P and N install the player and the plug-in set, p and n remove
    // them through their Add/Remove entries
    struct { const char* name; const char* steps; bool otherOwner; } cases[] = {
        {"player set", "Pp", false},
        {"player set, another owner's type, a neighbour and a document of the user's", "Pp", true},
        {"plug-in set", "Nn", false},
        {"player set, plug-in set; the plug-in removed first", "PNnp", false},
        {"player set, plug-in set; the player removed first", "PNpn", false},
        {"plug-in set, player set; the plug-in removed first", "NPnp", false},
        {"plug-in set, player set; the player removed first", "NPpn", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProduct();
        const bool plugin = strchr(c.steps, 'N') != nullptr, both = strlen(c.steps) == 4;
        std::string base = FreshFolder(std::string("residue\\") + (plugin ? "plugin" : "player"));
        std::string playerSet = CopySet("player", base + "\\player"), pluginSet = CopySet("plugin", base + "\\set");
        if (c.otherOwner) {
            RegisterOtherOwner();
            // a second program in a neighbouring folder, and the user's own document in the destination
            MakeFolders(zyne + "\\Talkweave Tools");
            WriteFile(zyne + "\\Talkweave Tools\\TALKEDIT.EXE", "another program");
            SetRegString(LM, kWindows + "App Paths\\TALKEDIT.EXE", nullptr, zyne + "\\Talkweave Tools\\TALKEDIT.EXE");
            SetRegString(LM, kWindows + "App Paths\\TALKEDIT.EXE", "Path", zyne + "\\Talkweave Tools");
            MakeFolders(talkweave);
            WriteFile(talkweave + "\\MY TALK.ZYN", "the user's");
        }
        std::string navigator = base + "\\Netscape\\Program";
        if (plugin) {
            MakeFolders(navigator);
            Copy(Navigator("3.0"), navigator + "\\NETSCAPE.EXE");
            SetRegString(LM, kWindows + "App Paths\\NETSCAPE.EXE", "Path", navigator);
        }
        Restart();   // what earlier runs left for it goes first
        regstate::State before = regstate::MachineState(base);

        bool player = false, plugIn = false;   // the products in place
        for (const char* step = c.steps; *step; ++step) {
            SCOPED_TRACE(std::string("step ") + *step);
            if (*step == 'P') {
                InstallPlayer(playerSet);   // into its own folder, whatever else is there
                player = true;
            } else if (*step == 'N') {
                Walk run(pluginSet, "");
                run.Press(run.Next(), IDOK);   // the agreement
                HWND page = run.Next();
                ASSERT_TRUE(page && IsPage(page, IDC_NAVIGATOR_FOLDER));
                run.Press(page, IDOK, true);
                run.Press(run.Expect(SetupText(IDS_CREATE_FOLDER, netrama, "Zyne Netrama Plugin")).hwnd, IDOK);
                run.Press(run.Expect(SetupText(IDS_INSTALLED, "Zyne Netrama Plugin",
                                               SetupText(IDS_RESTART_NAVIGATOR, SetupText(IDS_README_OFFER))))
                              .hwnd,
                          IDNO);   // installed; the readme declined
                run.Ends();
                plugIn = true;
            } else {
                // the way Windows users remove software: the entry's own command
                bool p = *step == 'p';
                EXPECT_EQ(std::string(p ? "Zyne Talkweave Player" : "Zyne Netrama Plugin") +
                              BuiltText("Clearoot.exe", 1) + (p ? talkweave : netrama) + ".",
                          RemoveThroughEntry(p ? "VANTREL.EXE" : "NPZYNE32.DLL"));
                (p ? player : plugIn) = false;
            }
            if (!both || !islower(*step))
                continue;
            // the removed product is gone, the other all there and working
            EXPECT_EQ(player, Exists(talkweave));
            EXPECT_EQ(plugIn, Exists(netrama));
            for (const char* key : {"Uninstall\\VANTREL.EXE", "App Paths\\VANTREL.EXE"})
                EXPECT_EQ(player, KeyExists(LM, kWindows + key)) << key;
            for (const char* key : {"Uninstall\\NPZYNE32.DLL", "App Paths\\NPZYNE32.DLL"})
                EXPECT_EQ(plugIn, KeyExists(LM, kWindows + key)) << key;
            EXPECT_EQ(player, OpenedByShell(talkweave + "\\SAMPLE.ZYN"));
            std::vector<std::string> copies;
            if (plugIn)
                copies = {"NPZYNE32.DLL", "PLUGIN.TXT"};
            EXPECT_EQ(copies, List(navigator + "\\Plugins"));
        }

        Restart();
        std::vector<std::string> left = Unexplained(regstate::Changes(before, regstate::MachineState(base)), used);
        EXPECT_EQ(std::vector<std::string>{}, left);
        if (c.otherOwner) {
            EXPECT_EQ("Zyne.Show.1", RegString(CR, ".zyn", nullptr));
            EXPECT_TRUE(Exists(zyne + "\\Talkweave\\MY TALK.ZYN"));
        }
    }
    for (size_t i = 0; i < used.size(); ++i)
        EXPECT_GT(used[i], 0) << "kept, but never seen: " << kKept[i].line;
}
