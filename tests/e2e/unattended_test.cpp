// The real SETUP.EXE run unattended (/S), as a deployment tool runs it: no
// window at any time, the outcome in the exit code.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "bench.h"
#include "fixtures.h"
#include "launcher.h"
#include "quillset.h"
#include "regstate.h"
#include "walk.h"

using namespace bench;

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE, CR = HKEY_CLASSES_ROOT, CU = HKEY_CURRENT_USER;
const std::string kWindows = "Software\\Microsoft\\Windows\\CurrentVersion\\";

DWORD g_pid;
// every top-level window of g_pid seen, and those never shown; a window is
// the progress dialog once it has been seen with its frame
std::map<HWND, std::string> g_windows, g_hidden;

BOOL CALLBACK Collect(HWND h, LPARAM)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != g_pid)
        return TRUE;
    std::string& seen = (IsWindowVisible(h) ? g_windows : g_hidden)[h];
    if (seen != " [progress]")
        seen = IsPage(h, IDC_PROGRESS_FRAME) ? " [progress]" : " [" + ClassOf(h) + " \"" + WindowText(h) + "\"]";
    return TRUE;
}

std::string Listed(const std::map<HWND, std::string>& windows)
{
    std::set<std::string> labels;
    for (auto& w : windows)
        labels.insert(w.second);
    std::string list;
    for (auto& label : labels)
        list += label;
    return list;
}

// Runs exe with args in its folder, watching all top-level windows until it
// ends: none may appear but `shown` ("[progress]": the progress dialog),
// whose Cancel is pressed with `cancel`; a run that shows nothing makes no
// window at all, not even a hidden one. Its exit code.
long RunSetup(const std::string& exe, const std::string& args, const std::string& shown = "", bool cancel = false)
{
    Process p;
    if (!p.Start(exe, args, exe.substr(0, exe.rfind('\\'))))
        return -2;
    g_pid = p.Id();
    g_windows.clear();
    g_hidden.clear();
    for (DWORD start = GetTickCount(); p.Running() && GetTickCount() - start < 60000; Sleep(2)) {
        EnumWindows(Collect, 0);
        if (HWND progress = cancel ? ProgressDialog(g_pid) : nullptr)
            cancel = !PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    }
    EXPECT_EQ(shown, Listed(g_windows)) << "windows of " << args;
    if (shown.empty()) {
        EXPECT_EQ("", Listed(g_hidden)) << "hidden windows of " << args;
    }
    return p.Wait(0);
}

std::string State(const std::string& folder) { return regstate::InstallState(folder); }

class Unattended : public ::testing::Test {
protected:
    void SetUp() override { ResetProduct(); }
    void TearDown() override { ResetProduct(); }
    std::string base =
        FreshFolder(std::string("unattended\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string exe = bench::CopySet("player", base + "\\player"), dest = ProgramFiles() + "\\Zyne\\Talkweave";
};

}  // namespace

// Into the folder setup proposes, again over it, and into a new folder with
// blanks: each equal to the interactive install. Then the entry's quiet
// removal command, run as a deployment tool would, takes everything.
TEST_F(Unattended, InstallAgainAndRemoveAsTheInteractiveInstall)
{
    ASSERT_EQ(dest, InstallPlayer(exe));
    const std::string interactive = State(dest), other = base + "\\New folder\\Zyne player";
    const std::string log = base + "\\setup log.txt";
    ResetProduct();
    struct { std::string args, folder; } cases[] = {
        {"/S /LOG=\"" + log + "\"", dest}, {"/s", dest}, {"/S /NOOTHER /D=" + other, other}, {"/S /d=" + other + " ", other},
        {"/S \"/D=" + other + "\" /NOOTHER", other}, {"/S /D=\"" + other + "\" \"/NOOTHER\"", other},
    };
    for (auto& c : cases) {
        EXPECT_EQ(0, RunSetup(exe, c.args)) << c.args;
        EXPECT_EQ(interactive, State(c.folder)) << c.args;
    }
    std::string written = ReadFile(log);
    for (std::string line : {"installed " + dest + "\\VANTREL.EXE (finding 0x0)", std::string("exit code 0"),
                             "registry value written: HKEY_LOCAL_MACHINE\\" + kWindows + "Uninstall\\VANTREL.EXE " +
                                 "\"QuietUninstallString\" = \"\"" + dest + "\\SETUP.EXE\" /S /uninstall\""})
        EXPECT_NE(std::string::npos, written.find(line + "\r\n")) << line;

    // what package managers match the installation by (REG_SZ 1, REG_DWORD 4)
    std::string entry = regstate::Dump(LM, kWindows + "Uninstall\\VANTREL.EXE");
    for (const std::string& value : std::vector<std::string>{"[DisplayVersion] type 1 = 1.95", "[Publisher] type 1 = Zyne Systems",
                               "[InstallLocation] type 1 = " + other, "[DisplayIcon] type 1 = " + other + "\\VANTREL.EXE"})
        EXPECT_NE(std::string::npos, entry.find(value + "\\x0\n")) << value;
    for (std::string value : {"[NoModify] type 4 = ", "[NoRepair] type 4 = "})
        EXPECT_NE(std::string::npos, entry.find(value + "\\x1\\x0\\x0\\x0\n")) << value;
    std::string quiet = RegString(LM, kWindows + "Uninstall\\VANTREL.EXE", "QuietUninstallString");
    ASSERT_EQ("\"" + other + "\\SETUP.EXE\" /S /uninstall", quiet);
    const std::string removal = base + "\\removal.log";
    EXPECT_EQ(0, RunSetup(quiet.substr(1, quiet.find('"', 1) - 1),
                          quiet.substr(quiet.find('"', 1) + 2) + " /LOG=\"" + removal + "\""));
    EXPECT_TRUE(Eventually([&] { return !Exists(other); }, 10000)) << "the helper left the folder";
    for (const char* name : {"VANTREL.EXE", "README.TXT", "SAMPLE.ZYN"})
        EXPECT_NE(std::string::npos, ReadFile(removal).find("\nremoved " + other + "\\" + name + "\r\n")) << name;
    for (std::string key : {kWindows + "Uninstall\\VANTREL.EXE", kWindows + "App Paths\\VANTREL.EXE"})
        EXPECT_FALSE(KeyExists(LM, key)) << key;
    EXPECT_FALSE(KeyExists(CR, ".zyn"));
}

// A set of 2,000 files, past any fixed list: every file arrives whole, and the
// quiet removal leaves nothing.
TEST_F(Unattended, ALargeSetInstallsAndRemovesWhole)
{
    std::string set = base + "\\large", ini = "[Options]\r\nMode=Player\r\nSubdir=Zyne\\Talkweave\r\n[Player.32]\r\n"
        "Module=VANTREL.EXE\r\nOtherModule=NPZYNE32.DLL\r\n[Files]\r\nVANTREL.EXE=310\r\nSETUP.EXE=310\r\nSETUP.INI=310\r\n";
    MakeFolders(set);
    Copy(SampleSet("player") + "\\VANTREL.EXE", set + "\\VANTREL.EXE");
    Copy(Built("Quillset.exe"), set + "\\SETUP.EXE");
    for (int i = 0; i < 2000; ++i) {
        std::string name = "F" + std::to_string(10000 + i * 7 % 2000) + ".DAT";   // not in name order
        WriteFile(set + "\\" + name, name + std::string(i % 300, '#'));
        ini += name + "=314\r\n";
    }
    WriteFile(set + "\\SETUP.INI", ini);
    ASSERT_EQ(0, RunSetup(set + "\\SETUP.EXE", "/S"));
    std::vector<std::string> names = List(set);
    ASSERT_EQ(names, List(dest));
    for (auto& name : names)
        ASSERT_EQ(ReadFile(set + "\\" + name), ReadFile(dest + "\\" + name)) << name;
    EXPECT_EQ(0, RunSetup(dest + "\\SETUP.EXE", "/S /uninstall"));
    EXPECT_TRUE(Eventually([&] { return !Exists(dest); }, 10000)) << "the helper left the folder";
    EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\VANTREL.EXE"));
}

// Bad command lines, malformed sets and a plug-in set without Navigator
// change nothing; nor does a running player; a write-protected file stays.
TEST_F(Unattended, FaultsHaveTheirCodes)
{
    struct { const char* set; std::string args; long code; } cases[] = {
        {"", "/S /X", 1}, {"", "/S /uninstall /D=C:\\elsewhere", 1}, {"", "/S /LOG=C:\\no\\such\\x.log", 1},
        {"no-description", "/S", 2}, {"critical-missing", "/S", 2}, {"mode-empty", "/S", 2},
        {"name-dot-dot", "/S /uninstall", 2}, {"plugin", "/S", 6},
    };
    for (auto& c : cases) {
        std::string run = exe, from = std::string(BENCH_SETS_DIR) + "\\" + c.set, folder = base + "\\" + c.set;
        if (std::string(c.set) == "plugin") {
            run = bench::CopySet("plugin", folder);
        } else if (*c.set) {
            MakeFolders(folder);
            for (auto& name : List(from))
                Copy(from + "\\" + name, folder + "\\" + name);
            Copy(SampleSet("player") + "\\VANTREL.EXE", folder + "\\VANTREL.EXE");
            Copy(Built("Quillset.exe"), run = folder + "\\SETUP.EXE");
        }
        std::string before = State(dest);
        EXPECT_EQ(c.code, RunSetup(run, c.args)) << c.set << " " << c.args;
        EXPECT_EQ(before, State(dest));
        EXPECT_FALSE(IsFolder(ProgramFiles() + "\\Zyne"));
    }

    ASSERT_EQ(0, RunSetup(exe, "/S"));
    std::string installed = State(dest), log = base + "\\running.log";
    Process player;
    ASSERT_TRUE(player.Start(dest + "\\VANTREL.EXE", "SAMPLE.ZYN", dest));
    ASSERT_TRUE(WaitForWindow(player.Id(), "Zyne Talkweave Player_MAIN", 10000));
    for (const char* args : {"/S /LOG=", "/S /uninstall /LOG="}) {
        EXPECT_EQ(3, RunSetup(dest + "\\SETUP.EXE", args + log)) << args;
        EXPECT_EQ(installed, State(dest));
    }
    player.Kill();
    std::string message = SetupText(IDS_PROGRAM_RUNNING, "Zyne Talkweave Player");
    for (std::string line : {"message 147: " + message + " -> Cancel", std::string("exit code 3")})
        EXPECT_NE(std::string::npos, ReadFile(log).find(line + "\r\n")) << line;

    // write-protected, an optional file is skipped, a critical one ends the run
    struct { const char* file; long code; } kept[] = {{"README.TXT", 0}, {"VANTREL.DLL", 4}};
    for (auto& c : kept) {
        std::string path = dest + "\\" + c.file;
        WriteFile(path, "kept");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(c.code, RunSetup(exe, "/S")) << c.file;
        EXPECT_EQ("kept", ReadFile(path));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// The player set's single program, its temporary folder in the bench's: an
// interactive install walked as from the set; a cut or changed file stops
// before unpacking anything (with its message when interactive); switches
// pass on as given; a signature appended later is no part of the set; a full
// drive ends the unpacking. No unpacking folder
// stays; the entry runs the product folder's setup, whose quiet removal
// takes everything.
TEST_F(Unattended, TheSingleProgram)
{
    const std::string temp = base + "\\temp", single = base + "\\player.exe", log = base + "\\single log.txt";
    const std::string program = ReadFile(SampleSet("player") + ".exe"), other = base + "\\New folder\\Zyne player";
    ASSERT_EQ(dest, InstallPlayer(exe));
    const std::string interactive = State(dest);
    ResetProduct();
    char saved[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", saved, sizeof saved);
    MakeFolders(temp);
    SetEnvironmentVariableA("TMP", temp.c_str());
    WriteFile(single, program);
    EXPECT_EQ(dest, InstallPlayer(single, true));
    EXPECT_EQ(interactive, State(dest));
    EXPECT_EQ(std::vector<std::string>{}, List(temp));
    ResetProduct();

    std::string changed = program;
    changed[program.size() / 2] ^= 1;
    // as a signature will be: a certificate table appended, named in the headers
    std::string signature = program + std::string(24, 's');
    DWORD optional = *(const DWORD*)&program[0x3C] + 24, table[2] = {(DWORD)program.size(), 24};
    signature.replace(optional + (*(const WORD*)&program[optional] == 0x20B ? 112 : 96) + 4 * 8, 8, (const char*)table, 8);
    WriteFile(single, changed);
    Process shown;
    EXPECT_TRUE(shown.Start(single, "", base));
    Outcome damaged = NextBoxOrExit(shown, 10000);
    EXPECT_EQ(BuiltText("Launcher.exe", IDS_LAUNCHER_DAMAGED), damaged.box.text);
    Press(damaged.box.hwnd, IDOK);
    EXPECT_EQ(2, shown.Wait(10000));
    struct { std::string bytes, args, folder; long code; } cases[] = {
        {program.substr(0, program.size() - 1), "/S", "", 2}, {changed, "/s /LOG=\"" + log + "\"", "", 2},
        {signature, "/S", dest, 0}, {program, "/S \"/D=" + other + "\" /LOG=\"" + log + "\"", other, 0},
    };
    for (auto& c : cases) {
        WriteFile(single, c.bytes);
        EXPECT_EQ(c.code, RunSetup(single, c.args)) << c.args;
        for (auto& name : List(temp))   // only the removal helper's copies, which go at the next start
            EXPECT_EQ(0u, name.find("ZUB")) << c.args << ": " << name;
        if (c.code)
            EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\VANTREL.EXE")) << c.args;
        else
            EXPECT_EQ(interactive, State(c.folder)) << c.args;
    }
    // a full drive (the bench's small drive F:): what was unpacked goes again
    if (GetDriveTypeA("F:\\") != DRIVE_NO_ROOT_DIR) {
        ULARGE_INTEGER room = {};
        GetDiskFreeSpaceExA("F:\\", &room, nullptr, nullptr);
        WriteFile("F:\\filler", std::string((size_t)room.QuadPart - 32 * 1024, 'x'));
        MakeFolders("F:\\temp");
        SetEnvironmentVariableA("TMP", "F:\\temp");
        EXPECT_EQ(5, RunSetup(single, "/S"));
        EXPECT_EQ(std::vector<std::string>{}, List("F:\\temp"));
        DeleteFileA("F:\\filler");
        RemoveTree("F:\\temp");
    }
    SetEnvironmentVariableA("TMP", saved);
    // the first run that reached setup, its line as given
    EXPECT_EQ(ReadFile(log).find("started unattended: "), ReadFile(log).find("started unattended: " + cases[3].args + "\r\n"));
    std::string quiet = RegString(LM, kWindows + "Uninstall\\VANTREL.EXE", "QuietUninstallString");
    ASSERT_EQ("\"" + other + "\\SETUP.EXE\" /S /uninstall", quiet);
    EXPECT_EQ(0, RunSetup(other + "\\SETUP.EXE", "/S /uninstall"));
    EXPECT_TRUE(Eventually([&] { return !Exists(other); }, 10000)) << "the helper left the folder";
}

// The plug-in set with Navigator's folder by switch (nothing registered points
// there): the plug-in goes to its "Plugins" folder; the entry's quiet removal
// command takes it again.
TEST_F(Unattended, ThePlugInSetWithNavigatorBySwitch)
{
    std::string navigator = base + "\\Net scape\\Program", folder = ProgramFiles() + "\\Zyne\\Netrama";
    MakeFolders(navigator);
    Copy(Navigator("3.0"), navigator + "\\NETSCAPE.EXE");
    EXPECT_EQ(0, RunSetup(bench::CopySet("plugin", base + "\\plugin"), "/S \"/NAVIGATOR=" + navigator + "\""));
    EXPECT_EQ((std::vector<std::string>{"NPZYNE32.DLL", "PLUGIN.TXT"}), List(navigator + "\\Plugins"));
    // the entry names the product's folder, where its setup runs from
    EXPECT_EQ(folder, RegString(LM, kWindows + "Uninstall\\NPZYNE32.DLL", "InstallLocation"));
    std::string quiet = RegString(LM, kWindows + "Uninstall\\NPZYNE32.DLL", "QuietUninstallString");
    ASSERT_EQ("\"" + folder + "\\SETUP.EXE\" /S /uninstall", quiet);
    EXPECT_EQ(0, RunSetup(folder + "\\SETUP.EXE", "/S /uninstall"));
    EXPECT_TRUE(Eventually([&] { return !Exists(folder); }, 10000));
    EXPECT_EQ(std::vector<std::string>{}, List(navigator + "\\Plugins"));
    EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\NPZYNE32.DLL"));
}

// A player set that holds the plug-in as well: /S installs both, /NOOTHER the
// player alone.
TEST_F(Unattended, TheOtherProductUnlessNoOther)
{
    std::string navigator = base + "\\Net scape\\Program", ini = base + "\\player\\SETUP.INI";
    MakeFolders(navigator);
    Copy(Navigator("3.0"), navigator + "\\NETSCAPE.EXE");
    Copy(PluginLibrary(), base + "\\player\\NPZYNE32.DLL");
    struct { const char *section, *key, *value; } keys[] = {
        {"Plugin.32", "Module", "NPZYNE32.DLL"}, {"Netscape", "Module", "NETSCAPE.EXE"},
        {"Netscape", "Undir.32", "Program"}, {"Netscape", "Subdir", "Plugins"}, {"Files", "NPZYNE32.DLL", "230"}};
    for (auto& k : keys)
        WritePrivateProfileStringA(k.section, k.key, k.value, ini.c_str());
    std::string by = " /NAVIGATOR=\"" + navigator + "\"";
    EXPECT_EQ(0, RunSetup(exe, "/S /NOOTHER" + by));
    EXPECT_TRUE(Exists(dest + "\\VANTREL.EXE"));
    EXPECT_FALSE(Exists(navigator + "\\Plugins\\NPZYNE32.DLL"));
    EXPECT_EQ(0, RunSetup(exe, "/S" + by));
    EXPECT_TRUE(Exists(navigator + "\\Plugins\\NPZYNE32.DLL"));
}

// With /PROGRESS the progress dialog is all a run shows; its Cancel ends the
// run with its own code, before the entry is written: on its way to another
// folder, the earlier installation stays whole and removable.
TEST_F(Unattended, TheProgressDialogAlone)
{
    // a large first file keeps the dialog up long enough to be seen, and leaves time for Cancel
    std::string set = exe.substr(0, exe.rfind('\\')), ini = set + "\\SETUP.INI";
    WriteFile(set + "\\LARGE.DAT", std::string(64 << 20, 'x'));
    char files[2048] = "LARGE.DAT=314";
    GetPrivateProfileSectionA("Files", files + 14, sizeof files - 14, ini.c_str());
    ASSERT_TRUE(WritePrivateProfileSectionA("Files", files, ini.c_str()));
    EXPECT_EQ(0, RunSetup(exe, "/S /PROGRESS", " [progress]"));
    std::string installed = State(dest);
    EXPECT_EQ(7, RunSetup(exe, "/S /PROGRESS /D=" + base + "\\Other", " [progress]", true));
    EXPECT_EQ(installed, State(dest));
    EXPECT_EQ(0, RunSetup(dest + "\\SETUP.EXE", "/S /uninstall"));
    EXPECT_TRUE(Eventually([&] { return !Exists(dest); }, 10000));
}

// The plug-in set run again with Navigator registered, alone and beside the
// player: the product's folder stays the one its setup went to, the plug-in
// goes once into Navigator's folder, and the removal leaves nothing.
TEST_F(Unattended, ThePlugInSetAgain)
{
    std::string navigator = base + "\\Netscape\\Program", folder = ProgramFiles() + "\\Zyne\\Netrama";
    MakeFolders(navigator);
    Copy(Navigator("3.0"), navigator + "\\NETSCAPE.EXE");
    SetRegString(LM, kWindows + "App Paths\\NETSCAPE.EXE", "Path", navigator);
    std::string set = bench::CopySet("plugin", base + "\\plugin");
    for (bool player : {false, true}) {
        SCOPED_TRACE(player ? "beside the player" : "alone");
        if (player) {
            ASSERT_EQ(0, RunSetup(exe, "/S /NOOTHER"));
        }
        for (const char* args : {"/S /NOOTHER", "/S"}) {
            EXPECT_EQ(0, RunSetup(set, args));
            EXPECT_EQ((std::vector<std::string>{"NPZYNE32.DLL", "PLUGIN.TXT"}), List(navigator + "\\Plugins"));
            EXPECT_EQ(folder, RegString(LM, kWindows + "Uninstall\\NPZYNE32.DLL", "InstallLocation"));
        }
        EXPECT_EQ(0, RunSetup(folder + "\\SETUP.EXE", "/S /uninstall"));
        EXPECT_TRUE(Eventually([&] { return !Exists(folder); }, 10000));
        EXPECT_EQ(std::vector<std::string>{}, List(navigator + "\\Plugins"));
        EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\NPZYNE32.DLL"));
        EXPECT_FALSE(KeyExists(LM, kWindows + "App Paths\\NPZYNE32.DLL"));
        EXPECT_EQ(player, Exists(dest + "\\VANTREL.EXE"));
    }
    DeleteKeyTree(LM, kWindows + "App Paths\\NETSCAPE.EXE");
}

// A copy of the player set whose player has another minor version.
std::string VersionedSet(const std::string& folder, WORD minor)
{
    std::string set = bench::CopySet("player", folder), program = folder + "\\VANTREL.EXE", bytes = ReadFile(program);
    size_t at = bytes.find("\xBD\x04\xEF\xFE");   // the fixed version block
    EXPECT_NE(std::string::npos, at);
    for (size_t field : {8, 16})   // file and product version: major.minor
        memcpy(&bytes[at + field], &minor, sizeof minor);
    WriteFile(program, bytes);
    return set;
}

// Another version over the earlier one, newer or older: the entry names the
// version on disk, and the removal leaves no key of either version.
TEST_F(Unattended, AnotherVersionOverTheEarlier)
{
    const std::string product = "Software\\Zyne Systems\\Zyne Talkweave Player";
    std::string older = exe, newer = VersionedSet(base + "\\newer", 96);
    for (auto& c : {std::make_pair(older, newer), std::make_pair(newer, older)}) {
        SCOPED_TRACE(c.first == older ? "upgrade" : "downgrade");
        ASSERT_EQ(0, RunSetup(c.first, "/S"));
        ASSERT_EQ(0, RunSetup(c.second, "/S"));
        EXPECT_EQ(ReadFile(c.second.substr(0, c.second.rfind('\\')) + "\\VANTREL.EXE"), ReadFile(dest + "\\VANTREL.EXE"));
        std::string version = c.first == older ? "1.96" : "1.95";
        EXPECT_EQ(version, RegString(LM, kWindows + "Uninstall\\VANTREL.EXE", "DisplayVersion"));
        EXPECT_TRUE(KeyExists(CU, product + "\\" + version));
        EXPECT_EQ(0, RunSetup(dest + "\\SETUP.EXE", "/S /uninstall"));
        EXPECT_TRUE(Eventually([&] { return !Exists(dest); }, 10000));
        for (std::string v : {"1.95", "1.96"})
            EXPECT_FALSE(KeyExists(CU, product + "\\" + v) || KeyExists(CU, product + " " + v)) << v;
    }
}

// Installed again into another folder, the product moves: the earlier folder
// keeps only the user's own files (or goes), the entry names the new one, and
// its removal leaves neither.
TEST_F(Unattended, AnotherFolderMovesTheProduct)
{
    std::string other = base + "\\Other Place", mine = dest + "\\MY TALK.ZYN";
    for (bool own : {true, false}) {
        ASSERT_EQ(0, RunSetup(exe, "/S"));
        if (own)
            WriteFile(mine, "the user's");
        EXPECT_EQ(0, RunSetup(exe, "/S \"/D=" + other + "\""));
        auto left = own ? std::vector<std::string>{"MY TALK.ZYN"} : std::vector<std::string>{};
        EXPECT_TRUE(Eventually([&] { return List(dest) == left && own == Exists(dest); }, 10000)) << own;
        EXPECT_EQ(other, RegString(LM, kWindows + "Uninstall\\VANTREL.EXE", "InstallLocation"));
        EXPECT_EQ(0, RunSetup(other + "\\SETUP.EXE", "/S /uninstall"));
        EXPECT_TRUE(Eventually([&] { return !Exists(other); }, 10000));
        ResetProduct();
    }
    // the same folder by its short name is no other folder
    ASSERT_EQ(0, RunSetup(exe, "/S"));
    char alias[MAX_PATH] = "";
    GetShortPathNameA(dest.c_str(), alias, MAX_PATH);
    ASSERT_NE(dest, alias);
    EXPECT_EQ(0, RunSetup(exe, std::string("/S /D=") + alias));
    EXPECT_EQ(6u, List(dest).size());
}
