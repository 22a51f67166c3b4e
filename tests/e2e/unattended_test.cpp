// The real SETUP.EXE run unattended (/S), as a deployment tool runs it: no
// window at any time, the outcome in the exit code.
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

struct RunResult {
    long code = -1;
    std::vector<std::string> windows;   // every top-level window the run had
};

BOOL CALLBACK Collect(HWND h, LPARAM context)
{
    auto* seen = (std::pair<DWORD, std::vector<std::string>*>*)context;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    std::string name = ClassOf(h) + " \"" + WindowText(h) + "\"";
    if (pid == seen->first && std::find(seen->second->begin(), seen->second->end(), name) == seen->second->end())
        seen->second->push_back(name);
    return TRUE;
}

// Runs a whole command line in folder, as CreateProcess gets it from a
// deployment tool, watching the top-level windows until it ends.
RunResult RunLine(const std::string& commandLine, const std::string& folder)
{
    RunResult run;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return run;
    }
    std::pair<DWORD, std::vector<std::string>*> seen(pi.dwProcessId, &run.windows);
    DWORD start = GetTickCount();
    while (WaitForSingleObject(pi.hProcess, 2) == WAIT_TIMEOUT && GetTickCount() - start < 60000)
        EnumWindows(Collect, (LPARAM)&seen);
    DWORD code = (DWORD)-1;
    if (!GetExitCodeProcess(pi.hProcess, &code) || code == STILL_ACTIVE)
        TerminateProcess(pi.hProcess, 1);
    run.code = (long)code;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

RunResult RunSetup(const std::string& exe, const std::string& args)
{
    return RunLine("\"" + exe + "\" " + args, exe.substr(0, exe.rfind('\\')));
}

std::string Replaced(std::string s, const std::string& from, const std::string& to)
{
    for (size_t at = 0; !from.empty() && (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
    return s;
}

// The registration and the files of an installation in dest, with dest
// written as <dest>: two installs into different folders compare equal.
std::string State(const std::string& dest)
{
    std::string s;
    for (const char* key : {".zyn", "Zyne.Pres.1.95", "MIME\\Database\\Content Type\\application/x-zyne"})
        s += regstate::Dump(CR, key);
    for (const char* name : {"VANTREL.EXE", "NPZYNE32.DLL"})
        s += regstate::Dump(LM, kWindows + "App Paths\\" + name) + regstate::Dump(LM, kWindows + "Uninstall\\" + name);
    s += regstate::Dump(CU, "Software\\Zyne Systems");
    s += "WIN.INI zyn=" + RegString(CU, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions", "zyn") + "\n";
    if (IsFolder(dest))
        for (auto& name : List(dest))
            s += name + " " + std::to_string(ReadFile(dest + "\\" + name).size()) + "\n";
    return Replaced(s, dest, "<dest>");
}

class Unattended : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProduct();
        base = FreshFolder(std::string("unattended\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        dest = ProgramFiles() + "\\Zyne\\Talkweave";
    }
    void TearDown() override { ResetProduct(); }
    std::string CopySet(const std::string& sample) { return bench::CopySet(sample, base + "\\" + sample); }
    // No window at all, and the exit code.
    void Expect(const RunResult& run, long code)
    {
        EXPECT_EQ(code, run.code);
        for (auto& window : run.windows)
            ADD_FAILURE() << "a window: " << window;
    }

    std::string base, dest;
};

}  // namespace

// Unattended installs of the player set, into the folder setup proposes and
// into a new folder with blanks, again over themselves, each equal to the
// interactive install; then the entry's quiet removal takes everything.
TEST_F(Unattended, InstallAgainAndRemoveAsTheInteractiveInstall)
{
    std::string exe = CopySet("player");
    ASSERT_EQ(dest, InstallPlayer(exe));
    const std::string interactive = State(dest);
    ResetProduct();

    const std::string other = base + "\\New folder\\Zyne player";
    const std::string log = base + "\\setup log.txt";
    struct {
        std::string args, folder;
    } cases[] = {
        {"/S /LOG=\"" + log + "\"", dest},
        {"/s", dest},   // again over it
        {"/S /NOOTHER /D=" + other, other},
        {"/S /d=" + other + "  ", other},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.args);
        Expect(RunSetup(exe, c.args), 0);
        EXPECT_EQ(interactive, State(c.folder));
    }
    // what was done, and how it ended, in the log
    std::string written = ReadFile(log);
    for (std::string line : {"installed " + dest + "\\VANTREL.EXE (finding 0x0)",
                             "registry value written: HKEY_LOCAL_MACHINE\\" + kWindows +
                                 "Uninstall\\VANTREL.EXE \"QuietUninstallString\" = \"\"" + dest +
                                 "\\SETUP.EXE\" /S /uninstall\"",
                             std::string("exit code 0")})
        EXPECT_NE(std::string::npos, written.find(line + "\r\n")) << line;

    // the removal command as a deployment tool reads and runs it
    std::string quiet = RegString(LM, kWindows + "Uninstall\\VANTREL.EXE", "QuietUninstallString");
    EXPECT_EQ("\"" + other + "\\SETUP.EXE\" /S /uninstall", quiet);
    Expect(RunLine(quiet, "C:\\"), 0);
    EXPECT_TRUE(Eventually([&] { return !Exists(other); }, 10000)) << "the helper left the folder";
    EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\VANTREL.EXE"));
    EXPECT_FALSE(KeyExists(LM, kWindows + "App Paths\\VANTREL.EXE"));
    EXPECT_FALSE(KeyExists(CR, ".zyn"));
    EXPECT_FALSE(KeyExists(CR, "Zyne.Pres.1.95"));
}

// Runs that must change nothing: bad command lines, malformed sets, a
// plug-in set without Navigator, a running player.
TEST_F(Unattended, RefusedRunsWriteNothing)
{
    std::string exe = CopySet("player");
    struct {
        const char* set;   // a case of tests/sets, or null for the player set
        std::string args;
        long code;
    } cases[] = {
        {nullptr, "/S /X", 1},
        {nullptr, "/S /uninstall /D=C:\\elsewhere", 1},
        {nullptr, "/S /LOG=C:\\no\\such\\folder\\x.log", 1},
        {"no-description", "/S", 2},
        {"critical-missing", "/S", 2},
        {"mode-empty", "/S", 2},
        {"name-dot-dot", "/S /uninstall", 2},
        {"files-far-over-limit", "/S", 2},
        {"", "/S", 2},   // the plug-in set, no Navigator found
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.set ? c.set : "player") + " " + c.args);
        std::string run = exe;
        if (c.set && *c.set) {
            std::string folder = base + "\\" + c.set, from = std::string(BENCH_SETS_DIR) + "\\" + c.set;
            MakeFolders(folder);
            for (auto& name : List(from))
                if (name != "CASE.INI")
                    Copy(from + "\\" + name, folder + "\\" + name);
            Copy(SampleSet("player") + "\\VANTREL.EXE", folder + "\\VANTREL.EXE");
            run = folder + "\\SETUP.EXE";
            Copy(Built("Quillset.exe"), run);
        } else if (c.set) {
            run = CopySet("plugin");
        }
        std::string before = State(dest);
        Expect(RunSetup(run, c.args), c.code);
        EXPECT_EQ(before, State(dest));
        EXPECT_FALSE(IsFolder(ProgramFiles() + "\\Zyne"));
    }

    // a running player: its own code, nothing written, the message logged
    Expect(RunSetup(exe, "/S"), 0);
    std::string installed = State(dest);
    Process player;
    ASSERT_TRUE(player.Start(dest + "\\VANTREL.EXE", "SAMPLE.ZYN", dest));
    ASSERT_TRUE(WaitForWindow(player.Id(), "Zyne Talkweave Player_MAIN", 10000));
    std::string log = base + "\\running.log";
    for (const char* args : {"/S /LOG=", "/S /uninstall /LOG="}) {
        SCOPED_TRACE(args);
        Expect(RunSetup(dest + "\\SETUP.EXE", args + log), 3);
        EXPECT_EQ(installed, State(dest));
    }
    player.Kill();
    std::string written = ReadFile(log);
    EXPECT_NE(std::string::npos,
              written.find("message 147: " + SetupText(IDS_PROGRAM_RUNNING, "Zyne Talkweave Player") + " -> Cancel\r\n"));
    EXPECT_NE(std::string::npos, written.find("exit code 3\r\n"));
}

// A write-protected file is never overwritten: an optional one is skipped,
// a critical one ends the run with its code.
TEST_F(Unattended, WriteProtectedFiles)
{
    std::string exe = CopySet("player");
    Expect(RunSetup(exe, "/S"), 0);
    struct {
        const char* file;
        long code;
    } cases[] = {{"README.TXT", 0}, {"VANTREL.DLL", 4}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = dest + "\\" + c.file;
        WriteFile(path, "kept");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        Expect(RunSetup(exe, "/S"), c.code);
        EXPECT_EQ("kept", ReadFile(path));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// The plug-in set with Navigator's folder given by switch (nothing registered
// points to it): the plug-in goes to its "Plugins" folder, and the product
// folder's copy removes it again, told the same folder.
TEST_F(Unattended, ThePlugInSetWithNavigatorBySwitch)
{
    std::string navigator = base + "\\Net scape\\Program";
    MakeFolders(navigator);
    Copy(Navigator("3.0"), navigator + "\\NETSCAPE.EXE");
    std::string exe = CopySet("plugin"), folder = ProgramFiles() + "\\Zyne\\Netrama";
    std::string where = " /NAVIGATOR=\"" + navigator + "\"";
    Expect(RunSetup(exe, "/S" + where), 0);
    EXPECT_EQ((std::vector<std::string>{"NPZYNE32.DLL", "PLUGIN.TXT"}), List(navigator + "\\Plugins"));
    EXPECT_TRUE(Exists(folder + "\\README.TXT"));
    EXPECT_TRUE(KeyExists(LM, kWindows + "Uninstall\\NPZYNE32.DLL"));
    Expect(RunSetup(folder + "\\SETUP.EXE", "/S /uninstall" + where), 0);
    EXPECT_TRUE(Eventually([&] { return !Exists(folder); }, 10000));
    EXPECT_EQ(std::vector<std::string>{}, List(navigator + "\\Plugins"));
    EXPECT_FALSE(KeyExists(LM, kWindows + "Uninstall\\NPZYNE32.DLL"));
}
