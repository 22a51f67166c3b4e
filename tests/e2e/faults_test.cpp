// Faults while the player set is installed or removed: each run ends as the
// program says, leaves no temporary file anywhere, and an install after it
// succeeds.
#include <gtest/gtest.h>

#include "bench.h"
#include "fixtures.h"
#include "quillset.h"
#include "regstate.h"
#include "walk.h"

using namespace bench;

namespace {

const char kPlayer[] = "Zyne Talkweave Player";
// the player set's files in the order of its list
const std::vector<std::string> kFiles = {"README.TXT", "SAMPLE.ZYN", "SETUP.EXE", "SETUP.INI", "VANTREL.DLL", "VANTREL.EXE"};

enum Fault { kNone, kReadOnly, kHeld, kNewer, kSourceGone, kFileForFolder };

struct Case {
    const char* name;
    Fault fault;
    const char* file;    // the file it concerns
    int answer;          // to "write-protected?" (125), 0 when not asked
    bool cancel;         // Cancel in the progress dialog while 125 is asked
    UINT message;        // what ends the run: 0 the completion message
    bool installed;      // the file is in the destination afterwards
};

const Case kInstallCases[] = {
    {"cancel at the first file", kReadOnly, "VANTREL.EXE", IDCANCEL, false, IDS_CANCELED, false},
    {"cancel at a middle file", kReadOnly, "SETUP.INI", IDYES, true, IDS_CANCELED, true},
    {"cancel at the last file", kReadOnly, "SAMPLE.ZYN", IDNO, true, IDS_CANCELED, false},
    {"read-only target overwritten", kReadOnly, "VANTREL.DLL", IDYES, false, 0, true},
    {"read-only optional target kept", kReadOnly, "README.TXT", IDNO, false, 0, false},
    {"target held open", kHeld, "VANTREL.DLL", 0, false, IDS_FILE_IN_USE, false},
    {"newer target replaced", kNewer, "VANTREL.DLL", 0, false, 0, true},
    {"optional source gone", kSourceGone, "SAMPLE.ZYN", 0, false, 0, false},
    {"critical source gone", kSourceGone, "VANTREL.DLL", 0, false, 0, false},
    {"a file in place of the destination", kFileForFolder, "", 0, false, IDS_CREATE_FAILED, false},
};

class Faults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProduct();
        base = FreshFolder(std::string("faults\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        dest = ProgramFiles() + "\\Zyne\\Talkweave";
    }
    void TearDown() override { ResetProduct(); }
    // Temporary files that appeared since before: anything named *.tmp.
    static std::vector<std::string> NewTemporaryFiles(const regstate::State& before)
    {
        std::vector<std::string> found;
        for (auto& change : regstate::Changes(before, regstate::MachineState()))
            if (change[0] == '+' && change.find(".tmp ") != std::string::npos)
                found.push_back(change);
        return found;
    }
    // An install after the fault has gone: the whole set is in place.
    void InstallsAfterwards(const std::string& set)
    {
        for (auto& file : List(dest))
            SetFileAttributesA((dest + "\\" + file).c_str(), FILE_ATTRIBUTE_NORMAL);
        InstallPlayer(set + "\\SETUP.EXE");
        EXPECT_EQ(kFiles, List(dest));
    }

    std::string base, dest;
};

}  // namespace

TEST_F(Faults, DuringTheInstall)
{
    for (auto& c : kInstallCases) {
        SCOPED_TRACE(c.name);
        ResetProduct();
        std::string set = base + "\\set";
        RemoveTree(set);
        CopySet("player", set);
        std::string target = dest + "\\" + c.file;
        Process holder;
        if (c.fault == kFileForFolder) {
            MakeFolders(ProgramFiles() + "\\Zyne");
            WriteFile(dest, "a file where the folder goes");
        } else if (c.fault != kSourceGone) {
            MakeFolders(dest);
            if (c.fault == kNewer)
                Copy(Navigator("3.0"), target);   // version 3.0 over the set's 1.95
            else
                WriteFile(target, "old");
            if (c.fault == kReadOnly)
                SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
            if (c.fault == kHeld) {
                ASSERT_TRUE(StartHolder(holder, target));
            }
        }
        regstate::State before = regstate::MachineState();

        Walk run(set + "\\SETUP.EXE", "");
        HWND page = run.Next();
        ASSERT_TRUE(page && IsPage(page, IDC_AGREEMENT_TEXT));
        run.Press(page, IDOK);
        page = run.Next();
        ASSERT_TRUE(page && IsPage(page, IDC_PLAYER_FOLDER));
        if (c.fault == kSourceGone)   // after setup has looked at its set
            DeleteFileA((set + "\\" + c.file).c_str());
        run.Press(page, IDOK, true);
        if (c.fault == kFileForFolder || c.fault == kSourceGone)
            run.Press(run.Expect(SetupText(IDS_CREATE_FOLDER, dest, kPlayer)).hwnd, IDOK);
        if (c.answer) {
            Box asked = run.Expect(SetupText(IDS_WRITE_PROTECTED, c.file, dest));
            if (c.cancel)
                PostMessageA(ProgressDialog(run.Setup().Id()), WM_COMMAND, IDCANCEL, 0);
            run.Press(asked.hwnd, c.answer);
        }
        if (c.message) {
            Box end = run.Expect(c.message == IDS_CANCELED ? SetupText(IDS_CANCELED, kPlayer)
                                 : c.message == IDS_FILE_IN_USE ? SetupText(IDS_FILE_IN_USE, c.file, dest)
                                                                 : SetupText(IDS_CREATE_FAILED, dest));
            EXPECT_STREQ("exclamation", IconName(end.icon));
            run.Press(end.hwnd, IDOK);
            if (c.fault == kFileForFolder) {   // back on the page, which the user leaves
                run.Again(page);
                run.Press(run.Next(), IDCANCEL);
            }
        } else {
            bool readme = c.fault != kSourceGone || std::string(c.file) != "README.TXT";
            run.Press(run.Expect(SetupText(IDS_INSTALLED, kPlayer, readme ? SetupText(IDS_README_OFFER) : "")).hwnd,
                      IDNO);
        }
        run.Ends();
        holder.Kill();
        EXPECT_EQ(std::vector<std::string>{}, NewTemporaryFiles(before));
        if (*c.file) {
            EXPECT_EQ(c.installed, Exists(target) && ReadFile(target) == ReadFile(SampleSet("player") + "\\" + c.file))
                << target;
        }
        if (c.fault == kFileForFolder) {
            EXPECT_FALSE(IsFolder(dest));
            DeleteFileA(dest.c_str());
        }
        if (c.fault == kSourceGone)
            CopySet("player", set);
        InstallsAfterwards(set);
    }
}

// Removal: a file held open or made read-only in the installed folder.
TEST_F(Faults, DuringTheRemoval)
{
    for (Fault fault : {kHeld, kReadOnly}) {
        SCOPED_TRACE(fault == kHeld ? "held open" : "read-only");
        ResetProduct();
        std::string set = base + "\\set";
        RemoveTree(set);
        InstallPlayer(CopySet("player", set));
        std::string target = dest + "\\VANTREL.DLL";
        Process holder;
        if (fault == kHeld)
            ASSERT_TRUE(StartHolder(holder, target));
        else
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        regstate::State before = regstate::MachineState();
        Uninstall(dest);
        holder.Kill();
        // the helper's own temporary copy stays, as the helper cannot delete itself
        std::vector<std::string> temporary;
        for (auto& file : NewTemporaryFiles(before))
            if (file.find("\\ZUB") == std::string::npos)
                temporary.push_back(file);
        EXPECT_EQ(std::vector<std::string>{}, temporary);
        // a held file stays, and with it the folder; the read-only one goes
        EXPECT_EQ(fault == kHeld ? std::vector<std::string>{"VANTREL.DLL"} : std::vector<std::string>{}, List(dest));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zyn"));
        InstallsAfterwards(set);
    }
}

// A destination drive without room: the bench's small drive F:, filled but
// for the list's first two files. The setup program after them ends the run
// as the install function's unknown finding; freed, the same install succeeds.
TEST_F(Faults, OnAFullDrive)
{
    if (GetDriveTypeA("F:\\") == DRIVE_NO_ROOT_DIR)
        GTEST_SKIP() << "no small drive F: on this machine (mounting one needs its administrator)";
    std::string set = base + "\\set";
    CopySet("player", set);
    dest = "F:\\Talkweave";
    RemoveTree(dest);
    DeleteFileA("F:\\filler");
    ULARGE_INTEGER room = {};
    GetDiskFreeSpaceExA("F:\\", &room, nullptr, nullptr);
    size_t fits = 16 * 1024;
    for (const char* name : {"VANTREL.EXE", "VANTREL.DLL"})
        fits += ReadFile(set + "\\" + name).size();
    WriteFile("F:\\filler", std::string((size_t)room.QuadPart - fits, 'x'));
    regstate::State before = regstate::MachineState();
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "full" : "freed");
        Walk run(set + "\\SETUP.EXE", "");
        run.Press(run.Next(), IDOK);
        HWND page = run.Next();
        ASSERT_TRUE(page && IsPage(page, IDC_PLAYER_FOLDER));
        Ask(GetDlgItem(page, IDC_PLAYER_FOLDER), WM_SETTEXT, 0, (LPARAM)dest.c_str());
        run.Press(page, IDOK, true);
        if (full)
            run.Press(run.Expect(SetupText(IDS_CREATE_FOLDER, dest, kPlayer)).hwnd, IDOK);
        HWND h = run.Next();
        ASSERT_TRUE(h);
        Box end = ReadBox(h);
        EXPECT_EQ(full ? SetupText(IDS_INSTALL_ERROR, "SETUP.EXE") : SetupText(IDS_INSTALLED, kPlayer, SetupText(IDS_README_OFFER)),
                  end.text);
        run.Press(h, full ? IDOK : IDNO);
        run.Ends();
        std::vector<std::string> temporary = NewTemporaryFiles(before);
        for (auto& name : List(dest))
            if (name.find(".tmp") != std::string::npos || name.find(".TMP") != std::string::npos)
                temporary.push_back(dest + "\\" + name);
        EXPECT_EQ(std::vector<std::string>{}, temporary);
        DeleteFileA("F:\\filler");
    }
    EXPECT_EQ(kFiles, List(dest));
    RemoveTree(dest);
}
