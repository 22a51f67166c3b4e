// The real SETUP.EXE in copies of the sample sets, installing and
// uninstalling through its windows as a user would.
#include <gtest/gtest.h>

#include "bench.h"
#include "driver.h"
#include "fixtures.h"
#include "quillset.h"
#include "regstate.h"
#include "walk.h"

using namespace bench;

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE, CR = HKEY_CLASSES_ROOT, CU = HKEY_CURRENT_USER;
const std::string kWindows = "Software\\Microsoft\\Windows\\CurrentVersion\\";
const char kPlayerName[] = "Zyne Talkweave Player";
// Past this, a removal helper started as setup ended would have deleted the
// setup program: its five looks 400 ms apart for setup, 500 ms to settle, and
// its own start.
const DWORD kHelperDone = 5 * 400 + 500 + 1000;

std::string Text(UINT id, const std::string& a1 = "", const std::string& a2 = "") { return SetupText(id, a1, a2); }

std::string State(const std::string& folder) { return regstate::InstallState(folder); }

class Flows : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset();
        base = FreshFolder(std::string("flows\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { Reset(); }
    static void Reset() { ResetProduct(); }
    std::string CopySet(const std::string& sample, const std::string& folder = "set")
    {
        return bench::CopySet(sample, base + "\\" + folder);
    }

    std::string base;
};

}  // namespace

TEST_F(Flows, InstallThePlayerSetThenUninstallIt)
{
    // each market's set, driven by control ids, ends the same
    for (const char* language : {"", "de"}) {
        SCOPED_TRACE(*language ? language : "en");
        Reset();
        Market market(language);
        std::string exe = CopySet("player" + Market::Suffix(), "set" + Market::Suffix());
        std::string dest = InstallPlayer(exe);

        // every listed file, the type, App Paths, per-user and uninstall entries
        EXPECT_EQ((std::vector<std::string>{"README.TXT", "SAMPLE.ZYN", "SETUP.EXE", "SETUP.INI", "VANTREL.DLL",
                                            "VANTREL.EXE"}),
                  List(dest));
        std::string player = dest + "\\VANTREL.EXE";
        EXPECT_EQ("Zyne.Pres.1.95", RegString(CR, ".zyn", nullptr));
        EXPECT_EQ("\"" + player + "\" \"%1\"", RegString(CR, "Zyne.Pres.1.95\\shell\\open\\command", nullptr));
        EXPECT_EQ(player, RegString(LM, kWindows + "App Paths\\VANTREL.EXE", nullptr));
        EXPECT_EQ(dest, RegString(LM, kWindows + "App Paths\\VANTREL.EXE", "Path"));
        EXPECT_EQ(dest, RegString(CU, "Software\\Zyne Systems\\Zyne Talkweave Player\\1.95", "Path"));
        std::string uninstall = RegString(LM, kWindows + "Uninstall\\VANTREL.EXE", "UninstallString");
        EXPECT_EQ("\"" + dest + "\\SETUP.EXE\" /uninstall", uninstall);

        // the installed player opens a document
        {
            std::string trace = base + "\\trace.txt";
            SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", trace.c_str());
            Process viewer;
            ASSERT_TRUE(viewer.Start(player, "SAMPLE.ZYN", dest));
            EXPECT_TRUE(WaitForWindow(viewer.Id(), "Zyne Talkweave Player_MAIN", 10000));
            SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", nullptr);
            Sleep(300);
            viewer.Kill();
            EXPECT_NE(std::string::npos, ReadFile(trace).find("103 \"SAMPLE.ZYN\""));
        }

        // again over it: the destination page names the installed folder;
        // cancelled there, nothing changes
        std::string before = State(dest);
        {
            Walk run(exe, "");
            run.ThroughThePages(dest, IDCANCEL);
            run.Ends();
        }
        EXPECT_EQ(before, State(dest));

        // the Add/Remove Programs command: No changes nothing, Yes removes it all
        std::string setup = uninstall.substr(1, uninstall.find('"', 1) - 1);
        for (int answer : {IDNO, IDYES}) {
            SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
            Walk run(setup, "/uninstall");
            Box confirm = run.Expect(Text(IDS_CONFIRM_REMOVE));
            EXPECT_EQ(IDNO, confirm.defaultButton);
            EXPECT_STREQ("exclamation", IconName(confirm.icon));
            run.Press(confirm.hwnd, answer);
            run.Ends();
            if (answer == IDNO) {
                EXPECT_EQ(before, State(dest));
            }
        }
        HWND report = HelperMessage(10000);
        ASSERT_TRUE(report) << "no report from the helper";
        EXPECT_EQ(std::string(kPlayerName) + BuiltText(Market::Folder() + "Clearoot.exe", 1) + dest + ".",
                  ReadBox(report).text);
        bench::Press(report, IDOK);
        EXPECT_FALSE(KeyExists(CR, ".zyn"));
        EXPECT_FALSE(KeyExists(LM, kWindows + "App Paths\\VANTREL.EXE"));
        EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\VANTREL.EXE"));
        EXPECT_FALSE(Exists(dest));   // the helper took the setup program and the emptied folder
    }
}

// Which command lines uninstall: the whole text, in any case; every one
// here runs interactively and ends with 0.
TEST_F(Flows, OnlyTheWholeSwitchUninstalls)
{
    std::string exe = CopySet("player");
    struct { const char* args; bool uninstalls; } cases[] = {
        {"/uninstall", true}, {"/UNINSTALL", true}, {"/UnInstall", true}, {"/uninstall x", false},
        {"/uninstall /S", false}, {"-uninstall", false}, {"/uninstallx", false}, {"", false},
        // only a first token of exactly /S runs unattended
        {"/Sx", false}, {"-S", false}, {"S /uninstall", false}, {"x /S", false},
    };
    std::string before = State(base + "\\set");
    for (auto& c : cases) {
        SCOPED_TRACE(c.args);
        Walk run(exe, c.args);
        HWND first = run.Next();
        ASSERT_TRUE(first);
        EXPECT_EQ(c.uninstalls, !IsPage(first, IDC_AGREEMENT_TEXT));
        run.Press(first, c.uninstalls ? IDNO : IDCANCEL);   // declined or rejected: nothing written
        run.Ends();
        EXPECT_EQ(before, State(base + "\\set"));
    }
}

// The plug-in set with the stand-in Navigator 3.0: the plug-in goes to the
// browser's folder + [Netscape] "Subdir", found in the registry or typed into
// the page; with the other product checked the player comes along and is
// registered where it went. Each is removed through its Add/Remove entry by
// the system's tool, and Navigator keeps its own files. A set run from that
// plug-in folder itself is never offered for clean-up: a Yes would erase the plug-in.
TEST_F(Flows, ThePlugInSetAndTheOtherProduct)
{
    std::string navigator = base + "\\Netscape\\Program", plugins = navigator + "\\Plugins";
    MakeFolders(navigator);
    Copy(Navigator("3.0"), navigator + "\\NETSCAPE.EXE");
    struct { const char* name; bool registered, other, fromPlugins; } cases[] = {
        {"alone", true, false, false}, {"with the player", true, true, false},
        {"Navigator typed into the page", false, false, false}, {"from the plug-in folder", true, false, true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        DeleteKeyTree(LM, kWindows + "App Paths\\NETSCAPE.EXE");
        if (c.registered)
            SetRegString(LM, kWindows + "App Paths\\NETSCAPE.EXE", "Path", navigator);
        RemoveTree(plugins);
        std::string set = c.fromPlugins ? plugins : base + "\\set";
        std::string exe = bench::CopySet("plugin", set);
        for (const char* name : {"VANTREL.EXE", "VANTREL.DLL"}) {
            Copy(SampleSet("player") + "\\" + name, set + "\\" + name);
            WritePrivateProfileStringA("Files", name, "310", (set + "\\SETUP.INI").c_str());
        }
        if (c.fromPlugins) {
            WritePrivateProfileStringA("Options", "DeleteSource", "yes", (set + "\\SETUP.INI").c_str());
            DeleteFileA((set + "\\PLUGIN.TXT").c_str());   // optional; it cannot be installed over itself
        }
        std::vector<std::string> before = List(set);

        std::string dest = ProgramFiles() + "\\Zyne\\Netrama";
        Walk run(exe, "");
        HWND page = run.Next();
        ASSERT_TRUE(page && IsPage(page, IDC_AGREEMENT_TEXT));
        run.Press(page, IDOK);
        page = run.Next();
        ASSERT_TRUE(page && IsPage(page, IDC_NAVIGATOR_FOLDER));
        EXPECT_EQ(c.registered ? navigator : "", ItemText(page, IDC_NAVIGATOR_FOLDER));
        if (!c.registered) {
            // the user types Navigator's folder and leaves the field
            HWND edit = GetDlgItem(page, IDC_NAVIGATOR_FOLDER);
            PostMessageA(page, WM_NEXTDLGCTL, (WPARAM)edit, TRUE);
            for (char ch : navigator)
                PostMessageA(edit, WM_CHAR, (BYTE)ch, 1);
            SendKey(edit, VK_TAB);
            ASSERT_TRUE(Eventually([&] { return ItemEnabled(page, IDOK); }));
        }
        EXPECT_TRUE(ItemChecked(page, IDC_OTHER_PRODUCT));   // the player is in the set
        if (!c.other)
            bench::Press(page, IDC_OTHER_PRODUCT);
        run.Press(page, IDOK, true);
        Box create = run.Expect(Text(IDS_CREATE_FOLDER, dest, "Zyne Netrama Plugin"));
        run.Press(create.hwnd, IDOK);
        Box done = run.Expect(
            Text(IDS_INSTALLED, "Zyne Netrama Plugin", Text(IDS_RESTART_NAVIGATOR, Text(IDS_README_OFFER))));
        run.Press(done.hwnd, IDNO);
        run.Ends();
        if (c.fromPlugins) {
            Sleep(kHelperDone);   // nor did a helper start to take the setup program
            EXPECT_EQ(before, List(plugins));
            continue;
        }
        EXPECT_EQ((std::vector<std::string>{"NPZYNE32.DLL", "PLUGIN.TXT"}), List(plugins));
        // the player's files go to the destination either way; chosen, it is registered
        EXPECT_TRUE(Exists(dest + "\\VANTREL.EXE"));
        EXPECT_EQ(c.other, KeyExists(CR, ".zyn"));
        if (c.other) {
            // the shell opens a document in the installed player
            std::string talk = base + "\\TALK.ZYN";
            Copy(SampleSet("player") + "\\SAMPLE.ZYN", talk);
            EXPECT_TRUE(OpenedByShell(talk));
        }
        // the entry of what was installed runs the setup copy in the product's folder
        std::string key = c.other ? "VANTREL.EXE" : "NPZYNE32.DLL";
        EXPECT_EQ("\"" + dest + "\\SETUP.EXE\" /uninstall",
                  RegString(LM, kWindows + "Uninstall\\" + key, "UninstallString"));
        EXPECT_EQ("Zyne Netrama Plugin" + BuiltText("Clearoot.exe", 1) + dest + ".", RemoveThroughEntry(key));
        EXPECT_EQ(std::vector<std::string>{}, List(plugins));
        EXPECT_EQ((std::vector<std::string>{"NETSCAPE.EXE", "Plugins"}), List(navigator));
        EXPECT_FALSE(Exists(dest));
        EXPECT_FALSE(KeyExists(CR, ".zyn"));
        for (const char* name : {"VANTREL.EXE", "NPZYNE32.DLL"})
            EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\" + name) ||
                         KeyExists(LM, kWindows + "App Paths\\" + name)) << name;
    }
    DeleteKeyTree(LM, kWindows + "App Paths\\NETSCAPE.EXE");
}

// Run again through the pages: the plug-in set's page offers the product's
// own folder, never Navigator's, and the plug-in goes in once; the player's
// page, changed to another folder, moves the player there.
TEST_F(Flows, TheSecondRunThroughThePages)
{
    std::string navigator = base + "\\Netscape\\Program", netrama = ProgramFiles() + "\\Zyne\\Netrama";
    MakeFolders(navigator);
    Copy(Navigator("3.0"), navigator + "\\NETSCAPE.EXE");
    SetRegString(LM, kWindows + "App Paths\\NETSCAPE.EXE", "Path", navigator);
    std::string plugin = CopySet("plugin", "plugin"), player = CopySet("player"), other = base + "\\Other Place";
    ASSERT_EQ(0u, regstate::Run(plugin, "/S"));
    std::string dest = InstallPlayer(player);
    for (auto& c : {std::make_pair(plugin, netrama), std::make_pair(player, other)}) {
        Walk run(c.first, "");
        run.Press(run.Next(), IDOK);
        HWND page = run.Next();
        ASSERT_TRUE(page && IsPage(page, IDC_PLAYER_FOLDER));
        EXPECT_EQ(c.first == plugin ? netrama : dest, ItemText(page, IDC_PLAYER_FOLDER));
        Ask(GetDlgItem(page, IDC_PLAYER_FOLDER), WM_SETTEXT, 0, (LPARAM)c.second.c_str());
        run.Press(page, IDOK, true);
        if (c.first == player)
            run.Press(run.Expect(Text(IDS_CREATE_FOLDER, other, kPlayerName)).hwnd, IDOK);
        std::string done = c.first == plugin ? Text(IDS_INSTALLED, "Zyne Netrama Plugin",
                                                    Text(IDS_RESTART_NAVIGATOR, Text(IDS_README_OFFER)))
                                             : Text(IDS_INSTALLED, kPlayerName, Text(IDS_README_OFFER));
        run.Press(run.Expect(done).hwnd, IDNO);   // the completion message, not 124
        run.Ends();
    }
    EXPECT_EQ((std::vector<std::string>{"NPZYNE32.DLL", "PLUGIN.TXT"}), List(navigator + "\\Plugins"));
    DeleteKeyTree(LM, kWindows + "App Paths\\NETSCAPE.EXE");
    EXPECT_TRUE(Eventually([&] { return !Exists(dest); }, kHelperDone + 5000));
    EXPECT_EQ(kPlayerName + BuiltText("Clearoot.exe", 1) + other + ".", RemoveThroughEntry("VANTREL.EXE"));
    EXPECT_FALSE(Exists(other));
}

// Stopping at each place where the user may: nothing is written.
TEST_F(Flows, StoppingWritesNothing)
{
    std::string exe = CopySet("player");
    std::string dest = ProgramFiles() + "\\Zyne\\Talkweave";
    std::string before = State(dest) + State(base + "\\set");
    {
        Walk run(exe, "");   // rejected agreement
        HWND page = run.Next();
        ASSERT_TRUE(page);
        run.Press(page, IDCANCEL);
        run.Ends();
    }
    {
        Walk run(exe, "");   // cancelled destination page
        run.ThroughThePages(dest, IDCANCEL);
        run.Ends();
    }
    EXPECT_EQ(before, State(dest) + State(base + "\\set"));
    EXPECT_FALSE(Exists(dest));
}

// Cancel in the progress dialog while a file is being installed: message 119
// with the exclamation icon, and nothing after it.
TEST_F(Flows, CancelDuringTheCopy)
{
    std::string exe = CopySet("player");
    std::string dest = ProgramFiles() + "\\Zyne\\Talkweave";
    MakeFolders(dest);
    WriteFile(dest + "\\README.TXT", "old");
    SetFileAttributesA((dest + "\\README.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
    Walk run(exe, "");
    run.ThroughThePages(dest);
    // the write-protected file's question; meanwhile the user cancels
    Box protectedBox = run.Expect(Text(IDS_WRITE_PROTECTED, "README.TXT", dest));
    HWND progress = ProgressDialog(run.Setup().Id());
    ASSERT_TRUE(progress);
    PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    run.Press(protectedBox.hwnd, IDNO);
    Box canceled = run.Expect(Text(IDS_CANCELED, kPlayerName));
    EXPECT_STREQ("exclamation", IconName(canceled.icon));
    run.Press(canceled.hwnd, IDOK);
    run.Ends();   // no clean-up offer, no completion, no helper
}

// The player running from the destination: 147, OK asks again, Cancel gives
// 119 on install and ends the uninstall silently.
TEST_F(Flows, ThePlayerRunning)
{
    std::string dest = InstallPlayer(CopySet("player"));
    std::string running = Text(IDS_PROGRAM_RUNNING, kPlayerName);
    for (bool uninstall : {false, true}) {
        SCOPED_TRACE(uninstall ? "uninstall" : "install");
        Process player;
        ASSERT_TRUE(player.Start(dest + "\\VANTREL.EXE", "", dest));
        ASSERT_TRUE(WaitForWindow(player.Id(), "Zyne Talkweave Player_MAIN", 10000));
        Walk run(uninstall ? dest + "\\SETUP.EXE" : base + "\\set\\SETUP.EXE", uninstall ? "/uninstall" : "");
        if (uninstall)
            run.Press(run.Expect(Text(IDS_CONFIRM_REMOVE)).hwnd, IDYES);
        else
            run.ThroughThePages(dest);
        Box box = run.Expect(running);
        EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons);
        run.Press(box.hwnd, IDOK);
        run.Press(run.Expect(running).hwnd, IDCANCEL);
        if (!uninstall)
            run.Press(run.Expect(Text(IDS_CANCELED, kPlayerName)).hwnd, IDOK);
        run.Ends();
        player.Kill();
        EXPECT_TRUE(Exists(dest + "\\VANTREL.EXE"));
    }
}

// The completion message: the readme offered when the set has one (Yes
// starts Notepad in the set's folder), 120's line for the plug-in, and 135
// when Notepad cannot start.
TEST_F(Flows, TheCompletionMessageAndTheReadme)
{
    std::string dest = ProgramFiles() + "\\Zyne\\Talkweave";
    struct { const char* name; bool readme; bool badNotepad; } cases[] = {
        {"no readme: OK only", false, false},
        {"readme, Yes: Notepad", true, false},
        {"readme, Yes, Notepad cannot start", true, true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        std::string exe = CopySet("player", c.name);
        std::string set = base + "\\" + c.name;
        if (!c.readme) {
            DeleteFileA((set + "\\README.TXT").c_str());
            WritePrivateProfileStringA("Files", "README.TXT", nullptr, (set + "\\SETUP.INI").c_str());
        }
        if (c.badNotepad)
            WriteFile(set + "\\notepad.exe", "not a program");   // found first, in the current folder
        Walk run(exe, "");
        run.ThroughThePages(dest);
        Box done = run.Expect(Text(IDS_INSTALLED, kPlayerName, c.readme ? Text(IDS_README_OFFER) : ""));
        if (!c.readme) {
            EXPECT_EQ(std::vector<int>{IDOK}, done.buttons);
            EXPECT_STREQ("information", IconName(done.icon));
            run.Press(done.hwnd, IDOK);
        } else {
            run.Press(done.hwnd, IDYES);
        }
        if (c.badNotepad) {
            Box failed = run.Expect(Text(IDS_README_FAILED));
            EXPECT_STREQ("information", IconName(failed.icon));
            run.Press(failed.hwnd, IDOK);
        }
        run.Ends();
        if (c.readme && !c.badNotepad) {
            HWND notepad = nullptr;
            for (DWORD start = GetTickCount(); !notepad && GetTickCount() - start < 10000; Sleep(50))
                notepad = FindWindowA("Notepad", nullptr);
            ASSERT_TRUE(notepad) << "Notepad did not open";
            EXPECT_NE(std::string::npos, WindowText(notepad).find("readme"));
            PostMessageA(notepad, WM_CLOSE, 0, 0);
        }
    }
}

// The clean-up offer: asked only for "DeleteSource" yes or a leading 1, on a
// local drive, with a writable setup program. Yes erases the set's files, and
// the helper takes the setup program and the emptied folder, silently.
TEST_F(Flows, TheInstallSetCleanUp)
{
    std::string dest = ProgramFiles() + "\\Zyne\\Talkweave";
    struct { const char* name; const char* value; const char* drive; bool readOnly; bool asked; } cases[] = {
        {"yes", "yes", nullptr, false, true},       {"1", "1", nullptr, false, true},
        {"+1x", " +1x", nullptr, false, true},      {"absent", nullptr, nullptr, false, false},
        {"no", "no", nullptr, false, false},        {"0", "0", nullptr, false, false},
        {"2", "2", nullptr, false, false},          {"CD-ROM", "yes", "D:", false, false},
        {"network", "yes", "E:", false, false},     {"read-only", "yes", nullptr, true, false},
    };
    std::vector<std::string> kept;
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        std::string folder = c.drive ? std::string(c.drive) + "\\bench\\" + c.name : base + "\\" + c.name;
        RemoveTree(folder);
        MakeFolders(folder);
        for (auto& name : List(SampleSet("player")))
            Copy(SampleSet("player") + "\\" + name, folder + "\\" + name);
        std::string ini = folder + "\\SETUP.INI";
        WritePrivateProfileStringA("Options", "DeleteSource", c.value, ini.c_str());
        if (c.readOnly)
            SetFileAttributesA((folder + "\\SETUP.EXE").c_str(), FILE_ATTRIBUTE_READONLY);
        DeleteFileA((folder + "\\README.TXT").c_str());   // OK only at the end
        WritePrivateProfileStringA("Files", "README.TXT", nullptr, ini.c_str());
        Walk run(folder + "\\SETUP.EXE", "");
        run.ThroughThePages(dest);
        if (c.asked) {
            Box offer = run.Expect(Text(IDS_CLEANUP_OFFER));
            EXPECT_EQ(IDYES, offer.defaultButton);
            EXPECT_STREQ("question", IconName(offer.icon));
            run.Press(offer.hwnd, IDYES);
        }
        run.Press(run.Expect(Text(IDS_INSTALLED, kPlayerName, "")).hwnd, IDOK);
        run.Ends();
        if (c.asked) {
            for (DWORD start = GetTickCount(); Exists(folder) && GetTickCount() - start < 5000;)
                Sleep(50);
            EXPECT_FALSE(Exists(folder));
            EXPECT_EQ(nullptr, FindWindowA("#32770", "SETUP"));   // the helper reports nothing
        } else {
            kept.push_back(folder + "\\SETUP.EXE");
        }
        EXPECT_TRUE(Exists(dest + "\\VANTREL.EXE"));
    }
    // without an offer no helper may start: each setup program stays
    Sleep(kHelperDone);
    for (auto& exe : kept) {
        EXPECT_TRUE(Exists(exe)) << exe;
        SetFileAttributesA(exe.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// The install flow in the old Windows versions' modes ends the same.
TEST_F(Flows, InstallInOlderWindowsModes)
{
    for (const char* version : {"win95", "nt40"}) {
        SCOPED_TRACE(version);
        Reset();
        SetWindowsVersion("SETUP.EXE", version);
        std::string dest = InstallPlayer(CopySet("player", version));
        EXPECT_TRUE(Exists(dest + "\\VANTREL.EXE"));
        EXPECT_EQ("Zyne.Pres.1.95", RegString(CR, ".zyn", nullptr));
    }
}
