#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>

#include "progpath.h"

static std::string Extract(const std::string& command, size_t* nameAt = nullptr)
{
    // an exact-size heap copy, so that ASan sees any read or write past it
    char* buf = (char*)malloc(command.size() + 1);
    memcpy(buf, command.c_str(), command.size() + 1);
    size_t at = ExtractProgramPath(buf);
    std::string out = buf;
    free(buf);
    EXPECT_LE(at, out.size()) << command;
    if (nameAt)
        *nameAt = at;
    return out;
}

TEST(ProgramPath, Commands)
{
    struct { const char* command; const char* path; size_t nameAt; } cases[] = {
        {"C:\\ZYNE\\VANTREL.EXE \"%1\"", "C:\\ZYNE\\VANTREL.EXE", 8},
        {"\"C:\\Program Files\\Z\\V.EXE\" \"%1\"", "C:\\Program Files\\Z\\V.EXE", 19},
        {"C:\\Program Files\\Z\\V.EXE", "C:\\Program Files\\Z\\V.EXE", 19},
        {"C:\\ZYNE\\VANTREL.EXE ^.zyn", "C:\\ZYNE\\VANTREL.EXE", 8},
        {"C:\\SETUP.EXE /uninstall", "C:\\SETUP.EXE", 3},
        {"\"C:\\Program Files\\Z\\SETUP.EXE\" /uninstall", "C:\\Program Files\\Z\\SETUP.EXE", 19},
        {"  C:\\A\\B.EXE -x /y %1   ", "C:\\A\\B.EXE", 5},
        {"notepad.exe %1", "notepad.exe", 0},
        {"notepad", "notepad", 0},
        {"C:\\A B\\X.EXE other", "C:\\A B\\X.EXE", 7},   // an unquoted path with a blank stays whole
        {"", "", 0},
        {"\"", "\"", 0},
        {"\"\"\"", "\"", 0},
        {"\" ", "", 0},
        {"    ", "", 0},
        {"\"\"", "", 0},
        {" \"%1\"", "", 0},
        {"%1", "%1", 0},
        {"\\", "\\", 1},
        {"a \"b", "a", 0},
    };
    for (auto& c : cases) {
        size_t at = 99;
        EXPECT_EQ(c.path, Extract(c.command, &at)) << c.command;
        EXPECT_EQ(c.nameAt, at) << c.command;
    }
}

TEST(ProgramPath, LongAndHostileCommands)
{
    std::string path = "C:\\" + std::string(250, 'D') + "\\P.EXE";
    EXPECT_EQ(path, Extract(path + " \"%1\"" + std::string(40, ' ')));
    EXPECT_EQ(path, Extract("\"" + path + "\" /a /b -c ^d %1"));
    EXPECT_EQ("", Extract(std::string(300, ' ')));
    Extract(std::string(300, '"'));
    Extract(std::string(300, '%'));
    Extract(std::string(150, ' ') + std::string(150, '"'));

    // whatever the bytes, the result is a prefix-free cut that stays in bounds
    srand(7);
    const char alphabet[] = " \"\\.%/-^aZ:,";
    for (int i = 0; i < 5000; ++i) {
        std::string s(rand() % 40, ' ');
        for (auto& ch : s)
            ch = alphabet[rand() % (sizeof alphabet - 1)];
        std::string out = Extract(s);
        EXPECT_LE(out.size(), s.size()) << s;
    }
}

TEST(OwnerList, Entries)
{
    const char* list = "|zyne.exe|zyne195.exe|zyne195b.exe|";
    struct { const char* list; const char* name; int at; } cases[] = {
        {list, "ZYNE.EXE", 0}, {list, "zyne195.exe", 1}, {list, "zyne195b.exe", 2}, {list, "Zyne195B.Exe", 2},
        {list, "zyne", -1}, {list, "", -1}, {list, "vantrel.exe", -1},
        {"$zyne.exe$zyne195.exe$zyne195b.exe$", "ZYNE195.EXE", 1},
        {"|zyne.exe|zyne195.exe", "zyne195.exe", -1},   // no closing separator
        {"|zyne.exe|zyne195.exe", "zyne.exe", 0},
        {"", "", -1}, {"|", "", -1}, {"||", "", 0}, {"|a||b|", "", 1},
        {"zyne.exe", "yne.exe", -1},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.at, FindInList(c.list, c.name)) << c.list << " / " << c.name;

    std::string tooLong = "|" + std::string(300, 'x') + "|zyne.exe|";
    EXPECT_EQ(-1, FindInList(tooLong.c_str(), "zyne.exe"));
    std::string fits = "|" + std::string(248, 'x') + "|zyne.exe|";   // 259 characters
    ASSERT_EQ(259u, fits.size());
    EXPECT_EQ(1, FindInList(fits.c_str(), "zyne.exe"));
    EXPECT_EQ(-1, FindInList(nullptr, "x"));
}

TEST(ProgramPath, CommandsQuoteBlanks)
{
    struct { const char* program; const char* args; const char* command; } cases[] = {
        {"C:\\ZYNE\\VANTREL.EXE", "\"%1\"", "C:\\ZYNE\\VANTREL.EXE \"%1\""},
        {"C:\\Program Files\\Z\\VANTREL.EXE", "\"%1\"", "\"C:\\Program Files\\Z\\VANTREL.EXE\" \"%1\""},
        {"C:\\ZYNE\\SETUP.EXE", "/uninstall", "C:\\ZYNE\\SETUP.EXE /uninstall"},
        {"C:\\Program Files\\SETUP.EXE", "/uninstall", "\"C:\\Program Files\\SETUP.EXE\" /uninstall"},
        {"C:\\TEMP\\ZUB1.TMP", "", "C:\\TEMP\\ZUB1.TMP"},   // no blank after a bare program
        {"C:\\My Temp\\ZUB1.TMP", "", "\"C:\\My Temp\\ZUB1.TMP\""},
    };
    for (auto& c : cases) {
        char buf[260];
        ASSERT_TRUE(BuildCommand(buf, sizeof buf, c.program, c.args));
        EXPECT_STREQ(c.command, buf);
        // and the command reads back as the program
        EXPECT_EQ(std::string(c.program), Extract(buf));
    }
    char small[19] = "junk";
    EXPECT_FALSE(BuildCommand(small, sizeof small, "C:\\A B\\C.EXE", "\"%1\""));   // 19 characters
    EXPECT_STREQ("", small);
    EXPECT_TRUE(BuildCommand(small, sizeof small, "C:\\AB\\C.EXE", "\"%1\""));    // 16 characters
    EXPECT_STREQ("C:\\AB\\C.EXE \"%1\"", small);
}

TEST(ProgramPath, IconValues)
{
    struct { const char* icon; const char* path; int nameAt; } cases[] = {
        {"C:\\OLD\\ZYNE195.EXE,0", "C:\\OLD\\ZYNE195.EXE", 7},
        {"C:\\A,B\\X.EXE,1", "C:\\A,B\\X.EXE", 7},
        {"C:\\X.EXE", "C:\\X.EXE", 3},
        {"\"C:\\Program Files\\ZYNE.EXE\",0", "C:\\Program Files\\ZYNE.EXE", 17},
        {"ZYNE195.EXE,0", "ZYNE195.EXE", -1},
        {"", "", -1}, {",", "", -1}, {"\",", "\"", -1}, {"\"\"", "", -1},
    };
    for (auto& c : cases) {
        std::string s = c.icon;
        std::vector<char> buf(s.begin(), s.end());
        buf.push_back(0);
        EXPECT_EQ(c.nameAt, IconProgramPath(buf.data())) << c.icon;
        EXPECT_STREQ(c.path, buf.data()) << c.icon;
    }
}

TEST(ProgramPath, ProfileNames)
{
    struct { const char* name; const char* file; } cases[] = {
        {"SETUP", "SETUP.ini"}, {"C:\\A.B\\SETUP", "C:\\A.B\\SETUP.ini"}, {"PLAYER.EXE", "PLAYER.ini"},
        {"VANTREL.EXE", "VANTREL.ini"}, {"a.b.c", "a.b.ini"}, {".x", ".ini"}, {"", ".ini"},
    };
    for (auto& c : cases) {
        char buf[260];
        ASSERT_TRUE(ProfileFileName(buf, sizeof buf, c.name)) << c.name;
        EXPECT_STREQ(c.file, buf);
    }
    char buf[12] = "junk";
    EXPECT_FALSE(ProfileFileName(buf, sizeof buf, "ABCDEFGH"));   // ABCDEFGH.ini needs 13
    EXPECT_STREQ("", buf);
    EXPECT_TRUE(ProfileFileName(buf, sizeof buf, "ABCDEFG.EXE"));
    EXPECT_STREQ("ABCDEFG.ini", buf);
    EXPECT_FALSE(ProfileFileName(buf, sizeof buf, std::string(300, 'x').c_str()));
}

TEST(ProgramPath, PathsInFolders)
{
    struct { const char* path; const char* folder; bool in; } cases[] = {
        {"C:\\ZYNE\\VANTREL.EXE", "C:\\ZYNE", true}, {"c:\\zyne\\VANTREL.EXE", "C:\\ZYNE", true},
        {"C:\\ZYNE\\SUB\\VANTREL.EXE", "C:\\ZYNE", true}, {"C:\\ZYNE2\\VANTREL.EXE", "C:\\ZYNE", false},
        {"C:\\ZYN", "C:\\ZYNE", false}, {"C:\\ZYNE", "C:\\ZYNE", false},
        {"C:\\VANTREL.EXE", "C:\\", true}, {"C:\\VANTREL.EXE", "C:", true}, {"D:\\VANTREL.EXE", "C:", false},
        {"C:\\OTHER\\VANTREL.EXE", "C:\\ZYNE", false}, {"", "C:\\ZYNE", false}, {"C:\\X", "", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.in, IsPathInFolder(c.path, c.folder)) << c.path << " in " << c.folder;
}
