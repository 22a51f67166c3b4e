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

// The profile function as measured: a list that does not fit (an exact fit
// included) comes back cut at size - 2, without its closing double NUL; the
// rest of the buffer keeps what was there.
static unsigned long ProfileKeys(char* buf, unsigned long size, void* context)
{
    auto* list = (std::pair<std::string, int>*)context;   // names with their NULs; reads
    ++list->second;
    unsigned long n = (unsigned long)list->first.size();
    if (n + 1 >= size)
        buf[n = size - 2] = 0;
    else
        buf[n] = 0;   // the closing second NUL
    memcpy(buf, list->first.data(), n);
    return n;
}

TEST(KeyList, GrowsUntilTheWholeListIsRead)
{
    for (int count : {103, 104, 105, 10000}) {   // 104 names of 9 fill 1040 characters with their NULs
        std::vector<std::string> names;
        std::pair<std::string, int> list;
        for (int i = 0; i < count; ++i) {
            char name[16];
            snprintf(name, sizeof name, "F%08d", i * 7919 % 100003);   // not in sorted order
            names.push_back(name);
            list.first += names.back() + '\0';
        }
        char* block = nullptr;
        const char* keys = ReadWholeKeyList(ProfileKeys, &list, 1040, &block);
        std::vector<std::string> read;
        for (const char* k = keys; k && *k; k += strlen(k) + 1)
            read.push_back(k);
        EXPECT_EQ(names, read) << count;
        EXPECT_EQ(block, keys) << count;
        EXPECT_EQ(count < 104 ? 1 : count == 10000 ? 8 : 2, list.second) << count;
        free(block);
    }
}
