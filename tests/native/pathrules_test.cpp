#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "pathrules.h"

TEST(PathRules, NormalForm)
{
    struct { const char* path; const char* normal; } cases[] = {
        {"C:\\Program Files\\", "C:\\Program Files"}, {"C:\\DATA\\", "C:\\DATA"}, {"C:\\", "C:\\"},
        {"D:", "D:"}, {"AB\\", "AB"}, {"A\\", "A\\"}, {"\\", "\\"}, {"", ""},
        {"C:\\A\\\\", "C:\\A\\"},   // only one backslash goes
        {"X:\\Y:\\", "X:\\Y:\\"},  // the character before it is ":"
    };
    for (auto& c : cases) {
        CStr p(c.path);
        NormalizeFolder(p);
        EXPECT_STREQ(c.normal, p) << c.path;
    }
}

TEST(PathRules, BareDrivesAndPickedFolders)
{
    struct { const char* path; const char* rooted; } drives[] = {
        {"A:", "A:\\"}, {"C:\\", "C:\\"}, {"C:\\A", "C:\\A"}, {"AB", "AB"}, {"", ""}};
    for (auto& d : drives) {
        CStr p(d.path);
        RootBareDrive(p);
        EXPECT_STREQ(d.rooted, p) << d.path;
    }
    // the folder in front of the name the old-style picker is given
    struct { const char* path; const char* folder; } picks[] = {
        {"c:\\apps\\$___$___.$$$", "c:\\apps"}, {"c:\\$___$___.$$$", "c:\\"}, {"x\\$___$___.$$$", "x"},
        {"$___$___.$$$", ""}, {"c:\\apps\\other.txt", ""}, {"c:\\a\\$___$___.$$$\\$___$___.$$$", "c:\\a"}};
    for (auto& p : picks)
        EXPECT_STREQ(p.folder, FolderInFrontOf(p.path, "$___$___.$$$")) << p.path;
}

TEST(PathRules, NamesInFolders)
{
    struct { const char* folder; const char* name; const char* path; } cases[] = {
        {"C:\\", "X.EXE", "C:\\X.EXE"}, {"C:\\A", "X.EXE", "C:\\A\\X.EXE"}, {"", "X.EXE", "X.EXE"},
        {nullptr, "X.EXE", "X.EXE"}, {"C:", "X.EXE", "C:\\X.EXE"}, {"C:\\A", "", "C:\\A\\"},
    };
    for (auto& c : cases)
        EXPECT_STREQ(c.path, JoinPath(c.folder, c.name)) << (c.folder ? c.folder : "(none)");

    EXPECT_STREQ("VANTREL.EXE", AfterLastBackslash("C:\\ZYNE\\VANTREL.EXE"));
    EXPECT_STREQ("", AfterLastBackslash("C:\\ZYNE\\"));
    EXPECT_STREQ("X.EXE", AfterLastBackslash("X.EXE"));
}

TEST(PathRules, Extensions)
{
    EXPECT_TRUE(HasExtension("VANTREL.EXE", ".exe"));
    EXPECT_TRUE(HasExtension("a.b.Dll", ".dll"));
    EXPECT_FALSE(HasExtension("vantrel.exe.txt", ".exe"));
    EXPECT_FALSE(HasExtension("EXE", ".exe"));
    EXPECT_FALSE(HasExtension("x.exe2", ".exe"));

    EXPECT_STREQ("SETUP", FileTitle("SETUP.EXE"));
    EXPECT_STREQ("setup.new", FileTitle("setup.new.exe"));
    EXPECT_STREQ("SETUP", FileTitle("SETUP"));
}

TEST(PathRules, DescriptionNames)
{
    EXPECT_STREQ("SETUP.INI", DescriptionName("SETUP.EXE"));
    EXPECT_STREQ("SETUP32.INI", DescriptionName("SETUP32.EXE"));
    EXPECT_STREQ("INSTALL.INI", DescriptionName("INSTALL"));

    struct { const char* name; const char* second; } cases[] = {
        {"SETUP32.INI", "SETUP.INI"}, {"S32ETUP32.INI", "SETUP32.INI"}, {"X32.INI", "X.INI"},
        {"32SETUP.INI", nullptr},   // the first "32" stands at the start
        {"SETUP.INI", nullptr}, {"SETUP3.INI", nullptr},
    };
    for (auto& c : cases) {
        CStr second;
        EXPECT_EQ(c.second != nullptr, SecondDescriptionName(c.name, second)) << c.name;
        if (c.second) {
            EXPECT_STREQ(c.second, second);
        }
    }
}

TEST(PathRules, ExistingAncestorWalk)
{
    // the folders that exist; the walk must not ask about a bare drive
    static const char* const folders[] = {"C:\\", "C:\\A", "\\\\srv\\share"};
    auto exists = [](const char* folder, void* asked) {
        ((std::string*)asked)->append(folder).append("|");
        for (const char* f : folders)
            if (strcmp(f, folder) == 0)
                return true;
        return false;
    };
    struct { const char* path; const char* ancestor; const char* missing; const char* asked; } cases[] = {
        {"C:\\A\\B\\C", "C:\\A", "B\\C", "C:\\A\\B\\C|C:\\A\\B|C:\\A|"},
        {"C:\\", "C:\\", "", "C:\\|"},
        {"Q:\\X", "Q:", "X", "Q:\\X|Q:|"},
        {"Q:", "Q:", "", ""},
        {"\\X\\Y", "", "X\\Y", "\\X\\Y|\\X|"},
        {"\\\\srv\\share\\D", "\\\\srv\\share", "D", "\\\\srv\\share\\D|\\\\srv\\share|"},
        {"\\\\none\\share", "\\", "none\\share", "\\\\none\\share|\\\\none|"},
        {"NoBackslash", "NoBackslash", "", "NoBackslash|"},
        {"", "", "", ""},
    };
    for (auto& c : cases) {
        std::string asked;
        CStr ancestor("junk"), missing("junk");
        ExistingAncestor(c.path, exists, &asked, ancestor, missing);
        EXPECT_STREQ(c.ancestor, ancestor) << c.path;
        EXPECT_STREQ(c.missing, missing) << c.path;
        EXPECT_EQ(c.asked, asked) << c.path;
    }
}
