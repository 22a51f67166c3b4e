// The removal helper, started as setup starts it: from a temporary file, in
// setup's folder, with a drive's folder entry and the two variables as its
// whole environment.
#include <gtest/gtest.h>

#include "bench.h"
#include "driver.h"
#include "fixtures.h"

using namespace bench;

namespace {

const char kName[] = "Zyne Talkweave Player";

class Helper : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = FreshFolder(std::string("helper\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        set = base + "\\Set";
        Copy(Built("Clearoot.exe"), base + "\\ZUB1.tmp");
        HMODULE texts = LoadLibraryExA(Built("Clearoot.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        char text[2][MAX_PATH] = {};
        for (int id : {1, 2})
            EXPECT_GT(LoadStringA(texts, id, text[id - 1], MAX_PATH), 0);
        FreeLibrary(texts);
        removed = text[0];
        product = text[1];
    }
    // A folder holding the setup program; returns the program's path.
    std::string Setup(const std::string& folder, const std::string& program = "SETUP.EXE")
    {
        MakeFolders(folder);
        WriteFile(folder + "\\" + program, "setup");
        return folder + "\\" + program;
    }
    // Runs the helper (a null variable left unset) to its end, answering its
    // message, and returns what it showed.
    Outcome Run(const std::string& args, const char* module, const char* name = kName)
    {
        std::string env = "=C:=" + base + '\0';
        if (module)
            env += "SETUPMODULE=" + std::string(module) + '\0';
        if (name)
            env += "SETUPAPPDISPLAYNAME=" + std::string(name) + '\0';
        EXPECT_TRUE(helper.Start(base + "\\ZUB1.tmp", args, IsFolder(set) ? set : base, (env + '\0').c_str()));
        Outcome o = NextBoxOrExit(helper, 10000);
        if (o.shown) {
            EXPECT_EQ(std::vector<int>{IDOK}, o.box.buttons);
            EXPECT_STREQ("information", IconName(o.box.icon));
            EXPECT_EQ("SETUP", o.box.caption);
            Press(o.box.hwnd, IDOK);
        }
        EXPECT_EQ(0, helper.Wait(5000));
        return o;
    }

    std::string base, set, removed, product;
    Process helper;
};

}  // namespace

TEST_F(Helper, TheSwitchAsksForTheMessage)
{
    struct { const char* args; bool shows; } cases[] = {
        {"", false}, {"/msg", true}, {"/MSG", true}, {"/msg2", true}, {"  /Msg", true},
        {"msg", false}, {"-msg", false}, {"/ms", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.args);
        std::string module = Setup(set);
        EXPECT_EQ(c.shows ? kName + removed + set + "." : "", Run(c.args, module.c_str()).box.text);
        EXPECT_FALSE(Exists(module));
        EXPECT_FALSE(IsFolder(set));
    }
}

TEST_F(Helper, MessageForms)
{
    std::string fits, tooLong(260, 'N');
    while (fits.size() < 250)
        fits += "Zyne Talkweave Player ";
    fits.resize(250);
    struct { const char* what; std::string folder, program; const char* name; bool other; std::string text; } cases[] = {
        {"other files stay", set, "SETUP.EXE", kName, true, kName + removed + set + "."},
        {"a drive root stays", "C:", "SETUP.EXE", kName, false, kName + removed + "C:."},
        {"empty name", set, "setup.new.exe", "", false, product + removed + set + "."},
        {"no name", set, "SETUP.EXE", nullptr, false, product + removed + set + "."},
        {"name too long", set, "SETUP.EXE", tooLong.c_str(), false, product + removed + set + "."},
        {"shortened to fit", set, "SETUP.EXE", fits.c_str(), false, (fits + removed + set + ".").substr(0, 259)},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string module = Setup(c.folder, c.program);
        if (c.other)
            WriteFile(c.folder + "\\README.TXT", "stays");
        EXPECT_EQ(c.text, Run("/msg", module.c_str(), c.name).box.text);
        EXPECT_FALSE(Exists(module));
        EXPECT_EQ(c.other || c.folder == "C:", IsFolder(c.folder + "\\"));
        RemoveTree(c.folder == "C:" ? module : set);
    }
}

TEST_F(Helper, WithoutAFullModulePathNothingIsTouched)
{
    // a path of 259 characters, which a cut value would name
    std::string cut = Setup(set, std::string(258 - set.size(), 'L')), tooLong = cut + ".EXE";
    std::string stays[] = {cut, Setup(base), Setup(set)};
    for (const char* module : {(const char*)nullptr, "", tooLong.c_str(), "SETUP.EXE"}) {
        SCOPED_TRACE(module ? module : "unset");
        EXPECT_FALSE(Run("/msg", module).shown);
        for (auto& file : stays)
            EXPECT_TRUE(Exists(file)) << file;
    }
}

TEST_F(Helper, WaitsWhileSetupRuns)
{
    // a stand-in runs as the setup program, and so holds its file
    std::string module = set + "\\SETUP.EXE";
    Process setup;
    auto startSetup = [&] {
        MakeFolders(set);
        Copy(Navigator("3.0"), module);
        return StartStandIn(setup, module);
    };
    ASSERT_TRUE(startSetup());
    ASSERT_TRUE(helper.Start(base + "\\ZUB1.tmp", "", set, (std::string("SETUPMODULE=") + module + '\0' + '\0').c_str()));
    Sleep(1500);
    ASSERT_TRUE(Exists(module));
    setup.Kill();
    DWORD ended = GetTickCount();
    while (Exists(module) && GetTickCount() - ended < 3000)
        Sleep(10);
    EXPECT_LT(GetTickCount() - ended, 1000u);
    EXPECT_EQ(0, helper.Wait(5000));
    EXPECT_FALSE(IsFolder(set));

    // setup that never ends keeps its file; the message comes all the same
    ASSERT_TRUE(startSetup());
    DWORD start = GetTickCount();
    EXPECT_EQ(kName + removed + set + ".", Run("/msg", module.c_str()).box.text);
    EXPECT_GE(GetTickCount() - start, 2500u);   // five waits and the last
    EXPECT_TRUE(Exists(module));
}
