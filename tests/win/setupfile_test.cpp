#include <gtest/gtest.h>

#include "bench.h"
#include "setupfile.h"
#include "versioninfo.h"

using namespace bench;

TEST(SetupFile, ProbeOfAnEmptyNameIsTheRunningProgram)
{
    CSetupFile self;
    self.Probe();
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_STREQ(path, self.FullPath());
    EXPECT_STREQ("win_setup.exe", self.Name());
    EXPECT_TRUE(self.Exists());
    EXPECT_TRUE(self.IsProgram());
    EXPECT_FALSE(self.IsLibrary());
}

TEST(SetupFile, ProbeLooksAgainAfterSetPath)
{
    std::string a = FreshFolder("probe\\a"), b = FreshFolder("probe\\b");
    WriteFile(b + "\\PLUGIN.DLL", "x");
    CSetupFile f(a.c_str(), "PLUGIN.DLL");
    EXPECT_FALSE(f.Exists());
    EXPECT_TRUE(f.IsLibrary());
    EXPECT_FALSE(f.IsProgram());
    f.SetPath((b + "\\").c_str());
    EXPECT_FALSE(f.Probed());
    EXPECT_STREQ(b.c_str(), f.Path());   // normal form
    EXPECT_TRUE(f.Exists());
    EXPECT_EQ(b + "\\PLUGIN.DLL", std::string(f.FullPath()));

    CSetupFile noDot(a.c_str(), "README");
    EXPECT_FALSE(noDot.IsProgram());
    EXPECT_FALSE(noDot.IsLibrary());
    CSetupFile inRoot("C:\\", "X.EXE");
    EXPECT_STREQ("C:\\X.EXE", inRoot.FullPath());
    CSetupFile defaultFolder;
    EXPECT_STREQ("C:", defaultFolder.Path());
}

TEST(Folder, ExistingAncestor)
{
    std::string root = FreshFolder("ancestor");
    struct { std::string path, ancestor, missing; } cases[] = {
        {root + "\\B\\C", root, "B\\C"},
        {root, root, ""},
        {root + "\\B", root, "B"},
        {"C:\\", "C:\\", ""},
        {"Q:\\none\\deeper", "Q:", "none\\deeper"},   // no such drive
        {"Q:", "Q:", ""},
        {"NoBackslash", "NoBackslash", ""},
    };
    for (auto& c : cases) {
        CSetupFolder f(c.path.c_str());
        CStr missing("junk");
        EXPECT_EQ(c.ancestor, std::string(f.ExistingAncestor(missing))) << c.path;
        EXPECT_EQ(c.ancestor, std::string(f.Path())) << c.path;
        EXPECT_EQ(c.missing, std::string(missing)) << c.path;
    }
}

TEST(Folder, CreatePath)
{
    std::string root = FreshFolder("create");

    CSetupFolder existing(root.c_str());
    EXPECT_TRUE(existing.CreatePath());
    EXPECT_TRUE(List(root).empty());

    std::string deep = root + "\\B\\C";
    CSetupFolder made(deep.c_str());
    EXPECT_TRUE(made.CreatePath());
    EXPECT_TRUE(IsFolder(root + "\\B"));
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_EQ(deep, std::string(made.Path()));

    // a file in the way
    MakeFolders(root + "\\E");
    WriteFile(root + "\\E\\F", "");
    std::string blocked = root + "\\E\\F\\G";
    CSetupFolder stuck(blocked.c_str());
    EXPECT_FALSE(stuck.CreatePath());
    EXPECT_EQ(blocked, std::string(stuck.Path()));
    std::string outer = root + "\\H\\D\\X";
    WriteFile(root + "\\H", "");   // the very first level is a file
    CSetupFolder stuck2(outer.c_str());
    EXPECT_FALSE(stuck2.CreatePath());
    EXPECT_EQ(outer, std::string(stuck2.Path()));

    CSetupFolder bare("Q:");
    EXPECT_TRUE(bare.CreatePath());
    CSetupFolder noSlash("NoBackslashHere");
    EXPECT_TRUE(noSlash.CreatePath());
    EXPECT_FALSE(IsFolder("NoBackslashHere"));
}

TEST(Folder, CreatePathKeepsOuterLevelsMadeBeforeAFailure)
{
    std::string root = FreshFolder("create2");
    // X is made, then X\Y fails because the name is too long for a path
    std::string longName(300, 'y');
    std::string path = root + "\\X\\" + longName;
    CSetupFolder f(path.c_str());
    EXPECT_FALSE(f.CreatePath());
    EXPECT_TRUE(IsFolder(root + "\\X"));
    EXPECT_EQ(path, std::string(f.Path()));
}

TEST(SetupFile, DeleteFrom)
{
    std::string a = FreshFolder("delete\\a"), b = FreshFolder("delete\\b");
    WriteFile(a + "\\X.DLL", "a");
    WriteFile(b + "\\X.DLL", "b");
    SetFileAttributesA((b + "\\X.DLL").c_str(), FILE_ATTRIBUTE_READONLY);

    CSetupFile f(a.c_str(), "X.DLL");
    CSetupFolder other(b.c_str());
    EXPECT_TRUE(f.DeleteFrom(&other));   // read-only: cleared, then deleted
    EXPECT_FALSE(Exists(b + "\\X.DLL"));
    EXPECT_TRUE(Exists(a + "\\X.DLL"));
    EXPECT_FALSE(f.DeleteFrom(&other));  // gone already
    EXPECT_TRUE(f.DeleteFrom());
    EXPECT_FALSE(Exists(a + "\\X.DLL"));
    EXPECT_FALSE(f.DeleteFrom());
}

TEST(VersionInfo, ReadsTheProgramsResources)
{
    CVersionInfo player;
    player.ReadVersionInfo(Built("Vantrel.exe").c_str());
    EXPECT_EQ(1u, player.valid);
    EXPECT_EQ(1u, player.major);
    EXPECT_EQ(95u, player.minor);
    EXPECT_STREQ("1.95", player.versionText);
    EXPECT_STREQ("Zyne Talkweave Player", player.productName);
    EXPECT_STREQ("Zyne Systems", player.companyName);
    EXPECT_EQ(1u, player.isWin32);

    CVersionInfo other;
    other.ReadVersionInfo(Built("tests\\nostrings.dll").c_str());
    EXPECT_EQ(1u, other.valid);
    EXPECT_STREQ("2.5", other.versionText);
    EXPECT_EQ(0u, other.isWin32);
    EXPECT_TRUE(other.productName.IsEmpty());
    EXPECT_TRUE(other.companyName.IsEmpty());

    std::string dir = FreshFolder("version");
    WriteFile(dir + "\\plain.txt", "no resource here");
    CVersionInfo none;
    none.ReadVersionInfo((dir + "\\plain.txt").c_str());
    EXPECT_EQ(0u, none.valid);
    EXPECT_TRUE(none.productName.IsEmpty());
    EXPECT_TRUE(none.companyName.IsEmpty());
    none.ReadVersionInfo((dir + "\\missing.exe").c_str());
    EXPECT_EQ(0u, none.valid);
    none.ReadVersionInfo(nullptr);
    EXPECT_EQ(0u, none.valid);
}

TEST(DefaultProgramFolder, FromTheRegistryOrC)
{
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion";
    bool had = false;
    std::string saved = RegString(HKEY_LOCAL_MACHINE, key, "ProgramFilesDir", &had);
    ASSERT_TRUE(had);
    EXPECT_STREQ("C:\\Program Files", CDefaultProgramFolder().Path());

    SetRegString(HKEY_LOCAL_MACHINE, key, "ProgramFilesDir", "D:\\Apps\\");
    EXPECT_STREQ("D:\\Apps", CDefaultProgramFolder().Path());
    SetRegString(HKEY_LOCAL_MACHINE, key, "ProgramFilesDir", std::string(300, 'x'));
    EXPECT_STREQ("C:", CDefaultProgramFolder().Path());   // does not fit: absent
    DeleteRegValue(HKEY_LOCAL_MACHINE, key, "ProgramFilesDir");
    EXPECT_STREQ("C:", CDefaultProgramFolder().Path());

    SetRegString(HKEY_LOCAL_MACHINE, key, "ProgramFilesDir", saved);
}
