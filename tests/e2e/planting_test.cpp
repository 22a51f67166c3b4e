// Libraries planted beside the programs under the names of those that setup
// loads and Windows does not always take from its system folder: none may
// run. Wine takes its own libraries whatever lies beside a program, so for
// the programs started here each planted name is made native-first (what
// Windows does for a library it does not protect); else the test could not
// fail.
#include <gtest/gtest.h>

#include "bench.h"
#include "walk.h"

using namespace bench;

namespace {

// Setup's imports beyond the known DLLs (kept so by build.imports; once
// VERSION.DLL) and what it loads at run time.
const char* const kPlanted[] = {"VERSION.DLL", "CTL3D32.DLL"};
// The programs started beside them.
const char* const kPrograms[] = {"SETUP.EXE", "ZUB1.tmp", "SEARCH.EXE"};
const std::string kAppDefaults = "Software\\Wine\\AppDefaults\\";

class Planting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProduct();
        base = FreshFolder("planting");
        for (const char* program : kPrograms)
            for (const char* name : kPlanted)
                SetRegString(HKEY_CURRENT_USER, kAppDefaults + program + "\\DllOverrides",
                             std::string(name, strlen(name) - 4).c_str(), "native,builtin");
    }
    void TearDown() override
    {
        for (const char* program : kPrograms)
            DeleteKeyTree(HKEY_CURRENT_USER, kAppDefaults + program + "\\DllOverrides");
        ResetProduct();
    }
    // Puts the marker under every planted name into folder.
    static void Plant(const std::string& folder)
    {
        MakeFolders(folder);
        for (const char* name : kPlanted)
            Copy(Built("tests\\fixtures\\MARKER.DLL"), folder + "\\" + name);
    }
    // What the markers in folder wrote, "name how" a line. A marker that the
    // system loaded while starting the process for one of its own libraries
    // ("static": Wine's user32 imports VERSION.DLL, Windows takes it from its
    // system folder) is not the program's doing.
    static std::string Ran(const std::string& folder)
    {
        std::string out;
        for (const char* name : kPlanted) {
            std::string how = Exists(folder + "\\" + name + ".ran") ? ReadFile(folder + "\\" + name + ".ran") : "";
            if (!how.empty() && how != "static")
                out += std::string(name) + " " + how + "\n";
        }
        return out;
    }

    std::string base;
};

}  // namespace

TEST_F(Planting, SetupAndTheHelperRunNoneOfThem)
{
    // an install from a planted set, its removal from a planted folder
    std::string set = base + "\\set", dest = ProgramFiles() + "\\Zyne\\Talkweave";
    CopySet("player", set);
    Plant(set);
    Plant(dest);
    InstallPlayer(set + "\\SETUP.EXE");
    Uninstall(dest);

    // the helper, from its temporary copy beside planted libraries
    std::string temp = base + "\\temp";
    Plant(temp);
    Copy(Built("Clearoot.exe"), temp + "\\ZUB1.tmp");
    MakeFolders(base + "\\removed");
    WriteFile(base + "\\removed\\SETUP.EXE", "setup");
    std::string env = "SETUPMODULE=" + base + "\\removed\\SETUP.EXE" + '\0' + '\0';
    Process helper;
    ASSERT_TRUE(helper.Start(temp + "\\ZUB1.tmp", "/msg", temp, env.c_str())) << "error " << GetLastError();
    Outcome report = NextBoxOrExit(helper, 10000);
    ASSERT_TRUE(report.shown);
    Press(report.box.hwnd, IDOK);
    EXPECT_EQ(0, helper.Wait(5000));
    EXPECT_FALSE(Exists(base + "\\removed"));

    for (const std::string& folder : {set, dest, temp}) {
        SCOPED_TRACE(folder);
        EXPECT_EQ("", Ran(folder));
    }
}

// The library search that setup restricts first: a library loaded by its bare
// name then comes from the system folder. Unrestricted, the planted one runs.
TEST_F(Planting, TheRestrictedSearchTakesTheSystemsLibrary)
{
    for (bool restricted : {true, false}) {
        SCOPED_TRACE(restricted ? "restricted" : "open");
        std::string folder = base + (restricted ? "\\restricted" : "\\open");
        Plant(folder);
        Copy(Built("tests\\LibrarySearch.exe"), folder + "\\SEARCH.EXE");
        Process search;
        ASSERT_TRUE(search.Start(folder + "\\SEARCH.EXE", restricted ? "CTL3D32.DLL" : "open CTL3D32.DLL", folder));
        EXPECT_EQ(0, search.Wait(10000));
        EXPECT_EQ(restricted ? "" : "CTL3D32.DLL dynamic\n", Ran(folder));
    }
}
