// The installation engine in this process under Wine: files through the real
// VerInstallFileA (behind a recording seam), the questions it asks (answered
// from another thread), the progress it shows, and the registration of the
// installed program. Cases whose result Wine cannot produce feed InstallFile
// results through the seam and say so in their names.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "app.h"
#include "bench.h"
#include "appentry.h"
#include "doctype.h"
#include "fixtures.h"
#include "installset.h"
#include "progress.h"
#include "quillset.h"
#include "responder.h"

using namespace bench;

namespace {

// One call of the install function.
struct Call {
    DWORD flags = 0;
    std::string name, sourceDir, destDir, currentDir;
    DWORD result = 0;
    bool temporaryLeft = false;   // the returned temporary copy existed after the call
};

std::vector<Call> g_calls;
// Stands in for the install function when set: returns the result and may
// fill the temporary name.
std::function<DWORD(const Call&, LPSTR temp)> g_fake;
// Runs before each call.
std::function<void(const Call&)> g_before;

DWORD WINAPI RecordingInstall(DWORD flags, LPCSTR source, LPCSTR dest, LPCSTR sourceDir, LPCSTR destDir,
                              LPCSTR currentDir, LPSTR temp, PUINT tempLength)
{
    Call c;
    c.flags = flags;
    c.name = source;
    c.sourceDir = sourceDir;
    c.destDir = destDir;
    c.currentDir = currentDir;
    EXPECT_STREQ(source, dest);
    EXPECT_EQ((UINT)MAX_PATH, *tempLength);
    if (g_before)
        g_before(c);
    c.result = g_fake ? g_fake(c, temp)
                      : VerInstallFileA(flags, (LPSTR)source, (LPSTR)dest, (LPSTR)sourceDir, (LPSTR)destDir,
                                        (LPSTR)currentDir, temp, tempLength);
    if (c.result & VIF_TEMPFILE)
        c.temporaryLeft = Exists(std::string(destDir) + "\\" + AfterLastBackslash(temp));
    g_calls.push_back(c);
    return c.result;
}

std::vector<DWORD> FlagsOf(const std::vector<Call>& calls)
{
    std::vector<DWORD> flags;
    for (auto& c : calls)
        flags.push_back(c.flags);
    return flags;
}

// Records what the set's progress dialog's two lines are set to, each with
// the bar's text at that moment: "status: text [bar]" or "file: text [bar]".
class LineRecorder {
public:
    explicit LineRecorder(const CInstallSet* set)
    {
        s_set = set;
        s_lines = &lines;
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    }
    ~LineRecorder()
    {
        UnhookWindowsHookEx(m_hook);
        s_lines = nullptr;
        s_set = nullptr;
    }
    std::vector<std::string> lines;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp)
    {
        const CWPSTRUCT* m = (const CWPSTRUCT*)lp;
        // the progress dialog by its frame: its first line is set before the
        // set has the object (and before the bar exists)
        HWND parent = GetParent(m->hwnd);
        if (code == HC_ACTION && s_lines && m->message == WM_SETTEXT && parent &&
            GetDlgItem(parent, IDC_PROGRESS_FRAME)) {
            CProgressDialog* dialog = s_set ? s_set->progress : nullptr;
            std::string bar = dialog && dialog->Handle() == parent ? dialog->Bar().Text() : "";
            int id = GetDlgCtrlID(m->hwnd);
            const char* what = id == IDC_PROGRESS_STATUS ? "status: " : id == IDC_PROGRESS_FILE ? "file: " : nullptr;
            if (what)
                s_lines->push_back(what + std::string((const char*)m->lParam) + " [" + bar + "]");
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    HHOOK m_hook;
    static std::vector<std::string>* s_lines;
    static const CInstallSet* s_set;
};
std::vector<std::string>* LineRecorder::s_lines = nullptr;
const CInstallSet* LineRecorder::s_set = nullptr;

const char kPlayerIni[] = "[Options]\r\nMode=Player\r\nSubdir=Zyne\r\n[Player.32]\r\nModule=VANTREL.EXE\r\n";
const char kPluginIni[] =
    "[Options]\r\nMode=Plugin\r\nSubdir=Zyne\r\n[Plugin.32]\r\nModule=NPZYNE32.DLL\r\n"
    "[Netscape]\r\nModule=NETSCAPE.EXE\r\nUndir.32=Program\r\nSubdir=Plugins\r\n";
const char kPlayerName[] = "Zyne Talkweave Player";

std::string WriteProtected(const std::string& name, const std::string& folder)
{
    return "The file '" + name + "' in " + folder + " is write-protected. Do you want to try to overwrite it anyway?";
}
std::string StillProtected(const std::string& name, const std::string& folder)
{
    return "Tried to clear the 'read-only' status of '" + name + "' in " + folder +
           ", but it is still write-protected. Do you want to try again?";
}
std::string Crucial(const std::string& name, const std::string& folder)
{
    return "'" + name + "' in " + folder +
           " is STILL write-protected. This file is crucial to the successful installation of the product. "
           "Cancelling installation...";
}
std::string Canceled(const std::string& product)
{
    return "The installation was canceled. " + product + " may not be properly installed.";
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset();
        base = FreshFolder(std::string("engine\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        source = base + "\\set";
        dest = base + "\\Zyne";
        navFolder = base + "\\Netscape\\Program";
        plugins = navFolder + "\\Plugins";
        MakeFolders(source);
        Copy(Built("Vantrel.exe"), source + "\\VANTREL.EXE");
        Copy(PluginLibrary(), source + "\\NPZYNE32.DLL");
        SetVerInstallFileFunction(RecordingInstall);
    }
    void TearDown() override
    {
        holder.Kill();
        set.reset();   // with its progress dialog
        description.reset();
        SetVerInstallFileFunction(nullptr);
        Reset();
    }
    static void Reset()
    {
        g_calls.clear();
        g_fake = nullptr;
        g_before = nullptr;
        ResetDocumentType(".zyn", "Zyne.Pres.1.95", "MIME\\Database\\Content Type\\application/x-zyne");
        for (const char* name : {"VANTREL.EXE", "NPZYNE32.DLL"})
            ResetProgramEntries(name, "Zyne Systems");
        ForgetPluginFolderCache();
    }

    // A file of the install set.
    void Source(const std::string& name, const std::string& bytes = "new") { WriteFile(source + "\\" + name, bytes); }

    // Reads the set in `folder` (the install set by default) whose
    // description is head + [Files] + files; its destination is dest.
    void MakeSet(const std::string& head, const std::string& files, const std::string& folder = "")
    {
        std::string dir = folder.empty() ? source : folder;
        WriteFile(dir + "\\SETUP.INI", head + "[Files]\r\n" + files);
        set.reset();
        description.reset(new CSetupDescription(dir.c_str(), "SETUP.INI"));
        set.reset(new CInstallSet(description.get(), true));
        ASSERT_TRUE(set->ReadDescription());
        set->destination.SetPath(dest.c_str());
    }
    // Installs `file` into dest through the set (a player set when none is
    // read yet), its error slot and cancel flag cleared first.
    bool Install(CSetupFile& file)
    {
        if (!set)
            MakeSet(kPlayerIni, "");
        set->cancelled = false;
        return set->InstallFile(file, CSetupFolder(dest.c_str()));
    }
    void GiveNavigator() { set->navigator = new CSetupFile(navFolder.c_str(), "NETSCAPE.EXE"); }

    // Runs a step while the responder answers; the boxes it saw.
    template <class Step> std::vector<Box> Answered(std::vector<Responder::Action> answers, Step step)
    {
        Responder r(std::move(answers));
        step();
        return r.Finish();
    }

    std::string In(const std::string& folder, const std::string& name) { return ReadFile(folder + "\\" + name); }

    std::string base, source, dest, navFolder, plugins;
    std::unique_ptr<CSetupDescription> description;
    std::unique_ptr<CInstallSet> set;
    Process holder;
};

void ExpectBox(const Box& box, const std::string& text, std::vector<int> buttons)
{
    EXPECT_EQ(text, box.text);
    EXPECT_EQ(buttons, box.buttons);
    EXPECT_STREQ("exclamation", IconName(box.icon));
    EXPECT_EQ(CApp::Get()->Title(), box.caption);
}

}  // namespace

// An older file over a newer one: the first call refuses and leaves a
// temporary copy, which setup deletes; the second call forces the install.
TEST_F(Engine, OlderSourceIsForcedAndNoTemporaryCopyStays)
{
    Copy(Navigator("1.22"), source + "\\NETSCAPE.EXE");
    MakeFolders(dest);
    Copy(Navigator("3.0"), dest + "\\NETSCAPE.EXE");

    CSetupFile file(source.c_str(), "NETSCAPE.EXE");
    MakeSet(kPlayerIni, "");
    set->SetError(IDS_INSTALL_ERROR, "old");   // cleared at the start
    EXPECT_TRUE(Install(file));
    EXPECT_EQ(nullptr, set->pendingError);
    EXPECT_FALSE(set->cancelled);

    ASSERT_EQ(2u, g_calls.size());
    EXPECT_EQ((std::vector<DWORD>{VIFF_DONTDELETEOLD, VIFF_DONTDELETEOLD | VIFF_FORCEINSTALL}), FlagsOf(g_calls));
    EXPECT_EQ((DWORD)(VIF_TEMPFILE | VIF_MISMATCH), g_calls[0].result & (VIF_TEMPFILE | VIF_MISMATCH));
    EXPECT_TRUE(g_calls[0].temporaryLeft);   // what would have stayed behind
    EXPECT_EQ(0u, g_calls[1].result);
    for (auto& c : g_calls) {
        EXPECT_EQ("NETSCAPE.EXE", c.name);
        EXPECT_EQ(source, c.sourceDir);
        EXPECT_EQ(source, c.currentDir);
        EXPECT_EQ(dest, c.destDir);
    }
    EXPECT_EQ(std::vector<std::string>{"NETSCAPE.EXE"}, List(dest));
    CVersionInfo installed;
    installed.ReadVersionInfo((dest + "\\NETSCAPE.EXE").c_str());
    EXPECT_EQ(1u, installed.major);
    EXPECT_EQ(dest, file.Path());   // the record names the installed copy

    // a new file into a folder that is not there yet: one call
    g_calls.clear();
    CSetupFile fresh(source.c_str(), "NETSCAPE.EXE");
    CSetupFolder deeper((base + "\\new\\deeper").c_str());
    EXPECT_TRUE(set->InstallFile(fresh, deeper));
    EXPECT_EQ(std::vector<DWORD>{VIFF_DONTDELETEOLD}, FlagsOf(g_calls));
    EXPECT_EQ(std::vector<std::string>{"NETSCAPE.EXE"}, List(base + "\\new\\deeper"));
}

// Windows names the temporary copy without a backslash; a name that is the
// installed file's own is never deleted. A copy the call leaves unnamed (a
// drive full half way) goes, but not the user's own file of such a name.
TEST_F(Engine, SeamFedTemporaryCopyNames)
{
    Source("A.TXT");
    MakeFolders(dest);
    WriteFile(dest + "\\VERUSER.TMP", "the user's");
    struct { const char* returned; const char* left; DWORD result; } cases[] = {
        {"VER1A2B.TMP", "VER1A2B.TMP", VIF_TEMPFILE | VIF_MISMATCH},
        {"\\ver3c4d.tmp", "ver3c4d.tmp", VIF_TEMPFILE | VIF_MISMATCH},
        {"A.TXT", "A.TXT", VIF_TEMPFILE | VIF_MISMATCH},
        {"", "VER5E6F.TMP", VIF_OUTOFSPACE},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.left);
        WriteFile(dest + "\\A.TXT", "old");
        int calls = 0;
        g_fake = [&](const Call& call, LPSTR temp) -> DWORD {
            if (calls++ > 0)
                return 0;
            lstrcpyA(temp, c.returned);
            WriteFile(call.destDir + "\\" + c.left, "temporary");
            return c.result;
        };
        CSetupFile file(source.c_str(), "A.TXT");
        EXPECT_EQ(!(c.result & VIF_OUTOFSPACE), Install(file));
        EXPECT_EQ((std::vector<std::string>{"A.TXT", "VERUSER.TMP"}), List(dest));
    }
    // nor the set's own file of such a name, installed earlier in the run,
    // though listed in another case than the file there has
    Source("VERSET.TMP");
    g_fake = [&](const Call& call, LPSTR) -> DWORD {
        if (call.name != "VerSet.tmp")
            return VIF_OUTOFSPACE;
        WriteFile(call.destDir + "\\VERSET.TMP", "the set's");
        return 0;
    };
    CSetupFile own(source.c_str(), "VerSet.tmp"), next(source.c_str(), "A.TXT");
    EXPECT_TRUE(Install(own));
    EXPECT_FALSE(Install(next));
    EXPECT_EQ((std::vector<std::string>{"A.TXT", "VERSET.TMP", "VERUSER.TMP"}), List(dest));
}

TEST_F(Engine, ReadOnlyTargetIsAskedAbout)
{
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
        Source(name);
    struct {
        int answer;
        bool result;
        const char* b;    // B.TXT in the destination afterwards
        bool cInstalled;
    } cases[] = {
        {IDYES, true, "new", true},
        {IDNO, true, "old", true},   // skipped, and the installation goes on
        {IDCANCEL, false, "old", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.answer);
        RemoveTree(dest);
        MakeFolders(dest);
        WriteFile(dest + "\\B.TXT", "old");
        SetFileAttributesA((dest + "\\B.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
        MakeSet(kPlayerIni, "A.TXT=314\r\nB.TXT=314\r\nC.TXT=314\r\n");
        bool result = false;
        auto boxes = Answered({Answer(c.answer)}, [&] { result = set->CopyModuleFiles(); });
        EXPECT_EQ(c.result, result);
        ASSERT_EQ(1u, boxes.size());
        ExpectBox(boxes[0], WriteProtected("B.TXT", dest), {IDYES, IDNO, IDCANCEL});
        EXPECT_EQ(c.b, In(dest, "B.TXT"));
        EXPECT_EQ(c.cInstalled, Exists(dest + "\\C.TXT"));
        if (c.answer == IDCANCEL) {
            EXPECT_TRUE(set->cancelled);
            ASSERT_NE(nullptr, set->pendingError);
            EXPECT_EQ((UINT)IDS_CANCELED, set->pendingError->id);
            EXPECT_STREQ(Canceled(kPlayerName).c_str(), set->pendingError->text);
        } else {
            EXPECT_EQ(nullptr, set->pendingError);
        }
        SetFileAttributesA((dest + "\\B.TXT").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(Engine, TargetHeldOpenByAnotherProcessStopsTheInstallation)
{
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
        Source(name);
    MakeFolders(dest);
    WriteFile(dest + "\\B.TXT", "old");
    ASSERT_TRUE(StartHolder(holder, dest + "\\B.TXT"));
    MakeSet(kPlayerIni, "A.TXT=314\r\nB.TXT=314\r\nC.TXT=314\r\n");
    bool result = true;
    auto boxes = Answered({}, [&] { result = set->CopyModuleFiles(); });
    EXPECT_FALSE(result);
    EXPECT_TRUE(boxes.empty());
    ASSERT_NE(nullptr, set->pendingError);
    EXPECT_EQ((UINT)IDS_FILE_IN_USE, set->pendingError->id);
    EXPECT_EQ("Couldn't install 'B.TXT' to " + dest + ". The file may be in use.",
              std::string(set->pendingError->text));
    EXPECT_EQ((std::vector<std::string>{"A.TXT", "B.TXT"}), List(dest));   // C.TXT not reached, no leftovers
    holder.Kill();
    EXPECT_EQ("old", In(dest, "B.TXT"));
}

TEST_F(Engine, MissingOptionalSourceIsSkippedSilently)
{
    Source("B.TXT");
    MakeSet(kPlayerIni, "A.TXT=314\r\nB.TXT=314\r\n");
    ASSERT_EQ(2, set->FileCount());
    bool result = false;
    auto boxes = Answered({}, [&] { result = set->CopyModuleFiles(); });
    EXPECT_TRUE(result);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(nullptr, set->pendingError);
    EXPECT_EQ(std::vector<std::string>{"B.TXT"}, List(dest));
    EXPECT_EQ(0x10000u, g_calls.at(0).result);   // the source could not be read
    EXPECT_EQ(source, std::string(set->File(0)->Path()));   // A.TXT still names the install set
}

TEST_F(Engine, KindsChooseTheFolders)
{
    for (const char* name : {"K1.TXT", "K2.TXT", "K3.TXT"})
        Source(name);
    const char files[] = "K1.TXT=314\r\nK2.TXT=324\r\nK3.TXT=334\r\n";

    // a player set installs only into the destination, even with a navigator
    MakeSet(kPlayerIni, files);
    GiveNavigator();
    EXPECT_TRUE(set->CopyModuleFiles());
    EXPECT_EQ((std::vector<std::string>{"K1.TXT", "K3.TXT"}), List(dest));
    EXPECT_FALSE(IsFolder(navFolder));

    // a plug-in set: kind 2 and 3 into Navigator's folder + "Plugins"
    RemoveTree(dest);
    MakeFolders(navFolder);
    Copy(Navigator("3.0"), navFolder + "\\NETSCAPE.EXE");
    MakeSet(kPluginIni, std::string("NPZYNE32.DLL=220\r\n") + files);
    GiveNavigator();
    g_calls.clear();
    EXPECT_TRUE(set->RunInstall());
    EXPECT_EQ(nullptr, set->pendingError);
    EXPECT_EQ(plugins, std::string(set->navigator->Path()));
    EXPECT_EQ((std::vector<std::string>{"K1.TXT", "K3.TXT"}), List(dest));
    EXPECT_EQ((std::vector<std::string>{"K2.TXT", "K3.TXT", "NPZYNE32.DLL"}), List(plugins));
    // K3.TXT went on from the destination
    ASSERT_EQ(5u, g_calls.size());
    auto route = [](const Call& c) { return c.sourceDir + " > " + c.destDir; };
    EXPECT_EQ(source + " > " + dest, route(g_calls[3]));
    EXPECT_EQ(dest + " > " + plugins, route(g_calls[4]));

    // without a navigator the plug-in has nowhere to go: nothing is installed
    RemoveTree(dest);
    MakeSet(kPluginIni, std::string("NPZYNE32.DLL=220\r\n") + files);
    EXPECT_FALSE(set->CopyModuleFiles());
    ASSERT_NE(nullptr, set->pendingError);
    EXPECT_EQ((UINT)IDS_NAV_NO_PATH, set->pendingError->id);
    EXPECT_FALSE(IsFolder(dest));
    // ...unless no file needs it
    MakeSet(kPluginIni, "K1.TXT=314\r\n");
    EXPECT_TRUE(set->CopyModuleFiles());
    EXPECT_EQ(std::vector<std::string>{"K1.TXT"}, List(dest));
}

// The player set installed and removed again by the two routines: the
// progress lines and bar, the registration, the files.
TEST_F(Engine, InstallAndUninstallThePlayerSet)
{
    for (const char* name : {"A.TXT", "README.TXT"})
        Source(name);
    MakeSet(kPlayerIni, "VANTREL.EXE=310\r\nSETUP.INI=310\r\nA.TXT=314\r\nREADME.TXT=314\r\n");
    const std::string program = dest + "\\VANTREL.EXE";
    {
        LineRecorder rec(set.get());
        EXPECT_TRUE(set->RunInstall());
        EXPECT_EQ(nullptr, set->pendingError);
        EXPECT_EQ((std::vector<std::string>{
                      "status:  []",   // the template's text cleared
                      "status: Installing Player/Plugin files... []",
                      "file: " + dest + " []",   // the folder, once
                      "status: Completed file installation. [100%]",
                      "file:  [100%]",
                      "status: Registering application... []",
                      "file: " + program + " []",
                  }),
                  rec.lines);
    }
    EXPECT_EQ(nullptr, set->progress);   // closed
    EXPECT_EQ((std::vector<std::string>{"A.TXT", "README.TXT", "SETUP.INI", "VANTREL.EXE"}), List(dest));

    // the installed program is registered
    std::unique_ptr<CSetupFile> opener(FindRegisteredOpener(".zyn", nullptr));
    ASSERT_NE(nullptr, opener);
    EXPECT_EQ(program, std::string(opener->FullPath()));
    std::unique_ptr<CSetupFolder> appPath(FindAppPath("VANTREL.EXE"));
    ASSERT_NE(nullptr, appPath);
    EXPECT_EQ(dest, appPath->Path());
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VANTREL.EXE";
    EXPECT_EQ("Zyne Talkweave Player 1.95", RegString(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"));
    EXPECT_EQ(dest + "\\win_engine.exe /uninstall", RegString(HKEY_LOCAL_MACHINE, uninstall, "UninstallString"));

    // started again from the installed folder to uninstall
    MakeSet(kPlayerIni, "VANTREL.EXE=310\r\nSETUP.INI=310\r\nA.TXT=314\r\nREADME.TXT=314\r\n", dest);
    set->LocateInstallation();
    EXPECT_EQ(dest, set->destination.Path());
    {
        LineRecorder rec(set.get());
        EXPECT_TRUE(set->RunUninstall());
        EXPECT_EQ((std::vector<std::string>{
                      "status:  []",
                      "status: Checking for already-loaded modules... []",
                      "file: " + program + " []",
                      "status: Removing application from the Registry... []",
                      "status: Registering application... []",
                      "status: Removing Player/Plugin files... []",
                      "file:  []",
                      "file: " + dest + " [100%]",
                      "status: Completed file removal. [25%]",
                      "file:  [25%]",
                  }),
                  rec.lines);
    }
    EXPECT_TRUE(List(dest).empty());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zyn"));   // WIN.INI's [Extensions] line stays
    EXPECT_EQ(nullptr, FindAppPath("VANTREL.EXE"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, uninstall));
}

// The program registered: the main module, or a player set's "OtherModule"
// when the main module is not a program.
TEST_F(Engine, ChoiceOfTheProgramFile)
{
    struct {
        const char* name;
        std::string head, files;
        std::string registered;   // folder\name with App Paths and uninstall entry
        bool opener;              // also the .zyn opener
    } cases[] = {
        {"main module a program", kPlayerIni, "VANTREL.EXE=310\r\n", dest + "\\VANTREL.EXE", true},
        {"main module a library, the other a program",
         "[Options]\r\nMode=Player\r\n[Player.32]\r\nModule=NPZYNE32.DLL\r\nOtherModule=VANTREL.EXE\r\n",
         "NPZYNE32.DLL=310\r\nVANTREL.EXE=310\r\n", dest + "\\VANTREL.EXE", true},
        // a library never becomes the opener of documents
        {"main module a library, no other",
         "[Options]\r\nMode=Player\r\n[Player.32]\r\nModule=NPZYNE32.DLL\r\n", "NPZYNE32.DLL=310\r\n",
         dest + "\\NPZYNE32.DLL", false},
        {"a plug-in set does not look at the other",
         "[Options]\r\nMode=Plugin\r\n[Plugin.32]\r\nModule=NPZYNE32.DLL\r\nOtherModule=VANTREL.EXE\r\n",
         "NPZYNE32.DLL=310\r\nVANTREL.EXE=310\r\n", dest + "\\NPZYNE32.DLL", false},
        // not in the list: not installed, registered where it is
        {"main module not listed", kPlayerIni, "", source + "\\VANTREL.EXE", true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        RemoveTree(dest);
        MakeSet(c.head, c.files);
        ASSERT_TRUE(set->CopyModuleFiles());
        EXPECT_TRUE(set->RegisterProgram());
        std::string folder = c.registered.substr(0, c.registered.rfind('\\'));
        std::string name = c.registered.substr(folder.size() + 1);
        std::unique_ptr<CSetupFolder> appPath(FindAppPath(name.c_str()));
        ASSERT_NE(nullptr, appPath);
        EXPECT_EQ(folder, appPath->Path());
        std::unique_ptr<CSetupFile> opener(FindRegisteredOpener(".zyn", nullptr));
        EXPECT_EQ(c.opener ? c.registered : "(none)", opener ? std::string(opener->FullPath()) : "(none)");

        EXPECT_TRUE(set->UnregisterProgram());
        EXPECT_EQ(nullptr, FindAppPath(name.c_str()));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zyn"));
    }
}

// What each finding of the install function leads to, fed through the seam.
TEST_F(Engine, SeamFedResults)
{
    Source("A.TXT");
    struct {
        const char* name;
        std::vector<DWORD> results;   // one per call; the last repeats
        bool ok;
        UINT error;
        std::vector<DWORD> flags;
    } cases[] = {
        {"installed", {0}, true, 0, {2}},
        {"a difference forces the next calls", {VIF_MISMATCH, 0}, true, 0, {2, 3}},
        {"a difference wins over the file in use", {VIF_MISMATCH | VIF_FILEINUSE, 0}, true, 0, {2, 3}},
        {"differences five times", {VIF_MISMATCH}, false, 0, {2, 3, 3, 3, 3}},
        {"file in use", {VIF_FILEINUSE}, false, IDS_FILE_IN_USE, {2}},
        {"cannot create", {VIF_CANNOTCREATE}, false, IDS_FILE_IN_USE, {2}},
        {"cannot delete", {VIF_SHARINGVIOLATION | VIF_CANNOTDELETE}, false, IDS_FILE_IN_USE, {2}},
        {"unreadable source", {VIF_CANNOTREADSRC}, false, 0, {2}},
        {"anything else", {VIF_OUTOFSPACE}, false, IDS_INSTALL_ERROR, {2}},
        {"a temporary copy alone", {VIF_TEMPFILE}, false, IDS_INSTALL_ERROR, {2}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        g_fake = [&](const Call&, LPSTR) { return c.results[std::min(g_calls.size(), c.results.size() - 1)]; };
        CSetupFile file(source.c_str(), "A.TXT");
        EXPECT_EQ(c.ok, Install(file));
        CExceptomat* error = set->pendingError;
        EXPECT_EQ(c.flags, FlagsOf(g_calls));
        EXPECT_EQ(c.error, error ? error->id : 0);
        EXPECT_EQ(c.ok ? dest : source, std::string(file.Path()));
        if (c.error == IDS_INSTALL_ERROR) {
            EXPECT_STREQ("An unhandled error occurred when installing 'A.TXT'. Terminating setup.", error->text);
        }
        EXPECT_FALSE(set->cancelled);
    }
}

// A file that stays write-protected after its attribute is cleared (Wine
// clears it for good, so the seam keeps reporting it).
TEST_F(Engine, SeamFedStillWriteProtected)
{
    for (const char* name : {"A.TXT", "B.TXT"})
        Source(name);
    MakeFolders(dest);
    g_fake = [](const Call& c, LPSTR) -> DWORD {
        if (c.name == "A.TXT")
            return VIF_WRITEPROT;
        CopyFileA((c.sourceDir + "\\" + c.name).c_str(), (c.destDir + "\\" + c.name).c_str(), FALSE);
        return 0;
    };
    struct {
        const char* name;
        bool critical;
        std::vector<int> answers;
        std::vector<UINT> asked;   // 125, 138 or 149 in order
        bool cancelled;
    } cases[] = {
        {"optional, Yes each time: five attempts, then skipped", false,
         {IDYES, IDYES, IDYES, IDYES, IDYES}, {125, 138, 138, 138, 138}, false},
        {"critical: the third attempt ends it", true, {IDYES, IDYES, IDOK}, {125, 138, 149}, true},
        {"No to trying again skips it", true, {IDYES, IDNO}, {125, 138}, false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        std::vector<Responder::Action> answers;
        for (int a : c.answers)
            answers.push_back(Answer(a));
        CSetupFile file(source.c_str(), "A.TXT");
        file.critical = c.critical;
        bool ok = true;
        auto boxes = Answered(answers, [&] { ok = Install(file); });
        EXPECT_FALSE(ok);
        EXPECT_EQ(nullptr, set->pendingError);
        EXPECT_EQ(c.cancelled, set->cancelled);
        EXPECT_EQ(c.asked.size(), g_calls.size());
        ASSERT_EQ(c.asked.size(), boxes.size());
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (c.asked[i] == 125)
                ExpectBox(boxes[i], WriteProtected("A.TXT", dest), {IDYES, IDNO, IDCANCEL});
            else if (c.asked[i] == 138)
                ExpectBox(boxes[i], StillProtected("A.TXT", dest), {IDYES, IDNO});
            else
                ExpectBox(boxes[i], Crucial("A.TXT", dest), {IDOK});
        }
    }

    // in the file list: an optional file is given up and the rest installed;
    // a critical one ends the installation as cancelled
    MakeSet(kPlayerIni, "A.TXT=314\r\nB.TXT=314\r\n");
    auto boxes = Answered({Answer(IDYES), Answer(IDYES), Answer(IDYES), Answer(IDYES), Answer(IDYES)},
                          [&] { EXPECT_TRUE(set->CopyModuleFiles()); });
    EXPECT_EQ(5u, boxes.size());
    EXPECT_EQ(std::vector<std::string>{"B.TXT"}, List(dest));

    RemoveTree(dest);
    MakeSet(kPlayerIni, "A.TXT=310\r\nB.TXT=314\r\n");
    boxes = Answered({Answer(IDYES), Answer(IDYES), Answer(IDOK)}, [&] { EXPECT_FALSE(set->CopyModuleFiles()); });
    EXPECT_EQ(3u, boxes.size());
    ASSERT_NE(nullptr, set->pendingError);
    EXPECT_STREQ(Canceled(kPlayerName).c_str(), set->pendingError->text);
    EXPECT_TRUE(List(dest).empty());
}

// Cancel pressed while a file is installed: that file completes, the next
// is not begun. The progress dialog mid-install is saved as a picture:
// build/artifacts/install.bmp.
TEST_F(Engine, CancelDuringTheInstallationAndAPictureOfIt)
{
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"})
        Source(name);
    MakeSet(kPlayerIni, "A.TXT=314\r\nB.TXT=314\r\nC.TXT=314\r\nD.TXT=314\r\n");
    set->progress = new CProgressDialog(set->cancelled);
    HWND dlg = set->progress->Handle();
    ASSERT_NE(nullptr, dlg);
    std::string picture = Built("artifacts") + "\\install.bmp";
    MakeFolders(Built("artifacts"));
    DeleteFileA(picture.c_str());

    g_before = [&](const Call& c) {
        if (c.name != "C.TXT")
            return;
        EXPECT_EQ("Installing Player/Plugin files...", ItemText(dlg, IDC_PROGRESS_STATUS));
        EXPECT_EQ(dest, ItemText(dlg, IDC_PROGRESS_FILE));
        EXPECT_STREQ("50%", set->progress->Bar().Text());
        RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(100);
        EXPECT_TRUE(SaveScreenshot(dlg, picture));
        Press(dlg, IDCANCEL);
    };
    EXPECT_FALSE(set->CopyModuleFiles());
    EXPECT_TRUE(set->cancelled);
    ASSERT_NE(nullptr, set->pendingError);
    EXPECT_EQ((UINT)IDS_CANCELED, set->pendingError->id);
    EXPECT_EQ((std::vector<std::string>{"A.TXT", "B.TXT", "C.TXT"}), List(dest));
    EXPECT_TRUE(IsWindowVisible(dlg));   // Cancel leaves the dialog open
    EXPECT_GT(ReadFile(picture).size(), 10000u);
}
