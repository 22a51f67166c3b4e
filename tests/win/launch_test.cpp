// The helper's launch, run in this program, which carries the probe as its
// resource 143: the probe writes down how it was started.
#include <gtest/gtest.h>

#include <sstream>

#include "bench.h"
#include "driver.h"
#include "launch.h"

using namespace bench;

namespace {

class Launch : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof was, was);
        GetEnvironmentVariableA("TMP", tmp, sizeof tmp);
        base = FreshFolder("launch");
        set = base + "\\Set";
        MakeFolders(set);
        SetCurrentDirectoryA(set.c_str());   // setup's current folder
        for (auto& v : vars)
            SetEnvironmentVariableA(v.first, v.second);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(was);
        SetEnvironmentVariableA("TMP", tmp[0] ? tmp : nullptr);
        for (auto& v : vars)
            SetEnvironmentVariableA(v.first, nullptr);
    }
    // The temporary folder, base\<name>.
    std::string Temp(const std::string& name)
    {
        MakeFolders(base + "\\" + name);
        SetEnvironmentVariableA("TMP", (base + "\\" + name).c_str());
        return base + "\\" + name;
    }
    bool Start(const char* displayName, bool report)
    {
        return LaunchRemovalHelper(CSetupFile(set.c_str(), "SETUP.EXE"), displayName, report);
    }

    char was[MAX_PATH], tmp[MAX_PATH] = "";
    std::string base, set;
    // setup's environment: two drives' folders, and what must stay behind
    std::pair<const char*, const char*> vars[4] = {
        {"=C:", "C:\\bench\\launch"}, {"=E:", "E:\\Data"}, {"=ExitCode", "00000001"},
        {"SETUPMODULE", "C:\\stale\\SETUP.EXE"}};
};

}  // namespace

TEST_F(Launch, TheHelperSeesOnlyTheProtocol)
{
    struct { const char* temp; const char* name; bool report; } cases[] = {
        {"Temp", "Zyne Talkweave Player", false},
        {"My Temp", "", true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.temp);
        std::string temp = Temp(c.temp);
        ASSERT_TRUE(Start(c.name, c.report));
        std::vector<std::string> names;
        for (DWORD t = GetTickCount(); (names = List(temp)).size() < 2 && GetTickCount() - t < 5000;)
            Sleep(50);
        ASSERT_EQ(2u, names.size());
        std::string helper = temp + "\\" + names[0];
        EXPECT_EQ(names[0] + ".out", names[1]);
        EXPECT_EQ(0u, names[0].find("ZUB")) << names[0];
        EXPECT_EQ(0, lstrcmpiA(".tmp", names[0].substr(names[0].size() - 4).c_str())) << names[0];
        EXPECT_EQ(ReadFile(Built("tests\\fixtures\\PROBE.EXE")), ReadFile(helper));

        // command line, folder, standard handles, then the environment but
        // for what Wine adds to every one
        std::istringstream out(ReadFile(helper + ".out"));
        std::vector<std::string> seen;
        for (std::string line; std::getline(out, line);)
            if (line.rfind("WINE", 0) && line.rfind("SystemDrive=", 0) && line.rfind("SystemRoot=", 0))
                seen.push_back(line);
        // it starts in its own folder, holding none of setup's
        EXPECT_EQ((std::vector<std::string>{c.report ? "\"" + helper + "\" /msg" : helper, temp, "none none none ",
                                            "=C:=C:\\bench\\launch", "=E:=E:\\Data", "SETUPMODULE=" + set + "\\SETUP.EXE",
                                            std::string("SETUPAPPDISPLAYNAME=") + c.name}),
                  seen);
    }
}

TEST_F(Launch, FailuresLeaveNoFile)
{
    std::string temp = Temp("Temp");
    // the helper's bytes cannot be read to their end: the write fails
    HRSRC helper = FindResourceA(nullptr, MAKEINTRESOURCEA(143), "FILE");
    auto page = (BYTE*)(((UINT_PTR)LockResource(LoadResource(nullptr, helper)) + 8192) & ~(UINT_PTR)4095);
    DWORD was;
    ASSERT_TRUE(VirtualProtect(page, 4096, PAGE_NOACCESS, &was));
    EXPECT_FALSE(Start("Zyne Talkweave Player", true));
    VirtualProtect(page, 4096, was, &was);
    EXPECT_TRUE(List(temp).empty());

    // a program without resource 143 writes nothing and starts nothing
    Process bare;
    ASSERT_TRUE(bare.Start(Built("tests\\LaunchBare.exe"), "", set));
    EXPECT_EQ(0, bare.Wait(10000));
    EXPECT_TRUE(List(temp).empty());
}
