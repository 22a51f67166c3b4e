#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "descrules.h"

TEST(Mode, SplitsAtTheFirstDot)
{
    struct { const char* mode; const char* base; const char* suffix; int platform; } cases[] = {
        {"Player", "Player", "", 0}, {"Player.32", "Player", ".32", 2}, {"plugin.16", "plugin", ".16", 1},
        {"Player.32.x", "Player", ".32.x", 0}, {".32", ".32", "", 0}, {"Player.", "Player", ".", 0},
        {"Player.64", "Player", ".64", 0},
    };
    for (auto& c : cases) {
        CStr base, suffix;
        SplitMode(c.mode, base, suffix);
        EXPECT_STREQ(c.base, base) << c.mode;
        EXPECT_STREQ(c.suffix, suffix) << c.mode;
        EXPECT_EQ(c.platform, PlatformOfSuffix(suffix)) << c.mode;
    }
}

TEST(FileFlags, ReadThroughCharacterCodes)
{
    struct { const char* value; int variants, kind; bool critical; } cases[] = {
        {"311", 3, 1, true},    // both variants, destination, critical
        {"224", 2, 2, false},   // 32-bit, plug-in folder, optional
        {"2", 2, 0, true},      // missing characters count as code 0
        {"", 0, 0, true},       // part of no variant
        {"13", 1, 3, true},
        {"339xyz", 3, 3, false},
        {"10\x80", 1, 0, true},  // 0x80 & 12 == 0
        {"A\xFF\x0C", 1, 3, false},
    };
    for (auto& c : cases) {
        FileFlags f = ParseFileFlags(c.value);
        EXPECT_EQ(c.variants, f.variants) << c.value;
        EXPECT_EQ(c.kind, f.kind) << c.value;
        EXPECT_EQ(c.critical, f.critical) << c.value;
    }
}

TEST(FileNames, OnlyPlainNamesInTheSetsFolder)
{
    struct { const char* name; bool plain; } cases[] = {
        {"VANTREL.EXE", true}, {"readme", true}, {"A B.TXT", true}, {".profile", true}, {"CONFIG.SYS", true},
        {"COM10", true}, {"LPT0.TXT", true}, {"CONSOLE.TXT", true}, {"NULL", true}, {"COM", true},
        {"", false}, {".", false}, {"..", false}, {"...", false},
        {"..\\OUTSIDE.TXT", false}, {"SUB\\FILE.TXT", false}, {"SUB/FILE.TXT", false}, {"\\\\SERVER\\X", false},
        {"C:\\AUTOEXEC.BAT", false}, {"C:FILE.TXT", false}, {"*.TXT", false}, {"A?.TXT", false},
        {"A\"B", false}, {"A<B", false}, {"A>B", false}, {"A|B", false}, {"A\tB", false},
        {"README.TXT.", false}, {"README.TXT ", false},
        {"CON", false}, {"con", false}, {"NUL.TXT", false}, {"nul.dat.old", false}, {"PRN", false}, {"AUX.H", false},
        {"COM1", false}, {"lpt9.dat", false}, {"CON .TXT", false}, {"CLOCK$", false}, {"CONOUT$", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.plain, IsPlainFileName(c.name)) << c.name;
}

TEST(CommandLine, OnlyTheWholeUninstallSwitch)
{
    EXPECT_TRUE(IsUninstallSwitch("/uninstall"));
    EXPECT_TRUE(IsUninstallSwitch("/UNINSTALL"));
    EXPECT_FALSE(IsUninstallSwitch("/uninstall "));
    EXPECT_FALSE(IsUninstallSwitch("/uninstall now"));
    EXPECT_FALSE(IsUninstallSwitch("-uninstall"));
    EXPECT_FALSE(IsUninstallSwitch(""));
}

TEST(KeyList, CompleteOnlyBelowSizeMinusTwo)
{
    EXPECT_TRUE(KeyListComplete(0, 1040));
    EXPECT_TRUE(KeyListComplete(1037, 1040));
    EXPECT_FALSE(KeyListComplete(1038, 1040));   // cut, and an exact fit looks the same
    EXPECT_FALSE(KeyListComplete(0, 2));
}

// The section as the profile function returns it, and what reading each key
// alone gives under Wine (measured): blanks around names and values and
// comment lines are gone before either; a line without "=" is in the section.
TEST(SectionKeys, ReadAsEachKeyAlone)
{
    std::string v259(259, 'v'), v260(260, 'v');
    struct { std::string section, keys; } cases[] = {
        {"A=1|B=x y", "A:1 B:x y "},
        {"C=\"quoted\"|D='single'|H=\" spaced \"", "C:quoted D:single H: spaced  "},
        {"E=\"mixed'|F=\"|G=\"\"|Q=''", "E:\"mixed' F:\" G: Q: "},
        {"Q1=\"a\"b\"|Q2=x\"y\"|Q4=a=b", "Q1:a\"b Q2:x\"y\" Q4:a=b "},
        {"JUST A LINE|J=", "J: "},                               // no "=": no key
        {"dup=first|Dup=second|o=1", "dup:first Dup:first o:1 "},   // the first counts
        {"A=1|=310|K=2", "A:1 "},                                // an empty name ends the list
        {"L=" + v259 + "|M=" + v260, "L:" + v259 + " M: "},
        {"L=\"" + v259 + "\"|M='" + v260 + "'", "L:" + v259 + " M: "},
        {"", ""},
    };
    for (auto& c : cases) {
        std::string block = c.section + '\0' + '\0';
        for (char& ch : block)
            ch = ch == '|' ? 0 : ch;
        SectionKey* keys = nullptr;
        std::string read;
        for (int i = 0, n = SplitSectionKeys(&block[0], (unsigned long)block.size() - 1, &keys); i < n; ++i)
            read += std::string(keys[i].name) + ":" + keys[i].value + " ";
        EXPECT_EQ(c.keys, read) << c.section;
        free(keys);
    }
}

// A section as the profile function returns it into `size` characters
// (measured): when it does not fit, an exact fit included, it comes back cut
// at size - 2 and closed by two NULs.
static unsigned long ProfileSection(const std::string& section, std::vector<char>& buf)
{
    unsigned long size = (unsigned long)buf.size(), n = (unsigned long)section.size();
    if (n + 1 >= size)
        n = size - 2;
    memcpy(buf.data(), section.data(), n);
    buf[n] = buf[n + 1] = 0;
    return n;
}

TEST(SectionKeys, ExactlyFillingTheFirstBufferAndOneMore)
{
    // entries with their NULs: 1037 fit 1040 characters; 1038 come back as a
    // cut section would, 1039 (filling them exactly with the closing NUL) and
    // 1040 cut: all three are read again
    for (size_t total : {1037u, 1038u, 1039u, 1040u}) {
        std::string section = "A=" + std::string(total - 16, '1') + '\0' + "LAST.DAT=314" + '\0';
        std::vector<char> buf(1040);
        unsigned long n = ProfileSection(section, buf);
        EXPECT_EQ(total == 1037, KeyListComplete(n, 1040)) << total;
        SectionKey* keys = nullptr;
        ASSERT_EQ(2, SplitSectionKeys(buf.data(), n, &keys)) << total;
        EXPECT_STREQ("", keys[0].value) << total;   // 1021 characters and more: too long
        EXPECT_STREQ(total == 1040 ? "31" : "314", keys[1].value) << total;
        free(keys);
    }
}
