#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "setrules.h"

namespace {

const char kIni[] =
    "; a comment before any section\n"   // 1
    "[Options]\r\n"                      // 2
    "Mode = Player.32 \r\n"              // 3
    "\n"                                 // 4
    "  [ player.32 ]  \n"                // 5
    "Module=P.EXE\n"                     // 6
    ";Subdir=Commented\n"                // 7
    "Subdir=\"Zyne\\Talkweave\"\n"       // 8
    "NoValue\n"                          // 9
    "[Files]\n"                          // 10
    "P.EXE=310\n"                        // 11
    "p.exe=314\n"                        // 12
    "[Player.32]\n"                      // 13: a second section of the name is not read
    "DisplayName=Late\n"                 // 14
    "[Broken\n"                          // 15: no "]": a key line of [Player.32]
    "Last=x";                            // 16: no line end

}  // namespace

TEST(IniLines, FindsSectionsAndKeysAsTheProfileFunctionsRead)
{
    struct { const char* section; const char* key; int nth; int line; const char* value; } cases[] = {
        {"Options", nullptr, 0, 2, nullptr},
        {"OPTIONS", "mode", 0, 3, "Player.32"},
        {"Player.32", nullptr, 0, 5, nullptr},
        {"Player.32", "Module", 0, 6, "P.EXE"},
        {"Player.32", "Subdir", 0, 8, "Zyne\\Talkweave"},   // quotes dropped, comment skipped
        {"Player.32", "NoValue", 0, 9, ""},
        {"Player.32", "DisplayName", 0, 0, ""},
        {"Files", "P.EXE", 0, 11, "310"},
        {"Files", "P.EXE", 1, 12, "314"},
        {"Files", "P.EXE", 2, 0, ""},
        {"Files", "Last", 0, 0, ""},
        {"Missing", nullptr, 0, 0, nullptr},
        {"Missing", "Mode", 0, 0, ""},
        {"", "; a comment before any section", 0, 0, ""},
    };
    size_t size = sizeof kIni - 1;
    for (auto& c : cases) {
        std::string what = std::string(c.section) + "/" + (c.key ? c.key : "") + "#" + std::to_string(c.nth);
        if (!c.key) {
            EXPECT_EQ(c.line, FindIniSection(kIni, size, c.section)) << what;
            continue;
        }
        IniKey k = FindIniKey(kIni, size, c.section, c.key, c.nth);
        EXPECT_EQ(c.line, k.line) << what;
        EXPECT_EQ(c.value, std::string(k.value, k.valueLength)) << what;
    }
    // a section's size as Windows 95 reads it: lines without their blanks, one end character each
    EXPECT_EQ(sizeof "P.EXE=310" * 2, IniSectionSize(kIni, size, "files"));
    EXPECT_EQ(sizeof "Mode = Player.32", IniSectionSize(kIni, size, "Options"));   // blanks, CR and empty line left out
    EXPECT_EQ(0u, IniSectionSize(kIni, size, "Missing"));
    // the last line needs no line end, and a text may hold NUL bytes
    const char tail[] = "[A]\nX=1\0\n[B]\nY=2";
    EXPECT_EQ(4, FindIniKey(tail, sizeof tail - 1, "B", "Y").line);
    EXPECT_EQ(2, FindIniKey(tail, sizeof tail - 1, "A", "X").line);
}

TEST(IniLines, TellsTheLengthOfALongValue)
{
    std::string ini = "[Options]\nSubdir=" + std::string(300, 'x') + "\nMode=\"" + std::string(259, 'y') + "\"\n";
    EXPECT_EQ(300u, FindIniKey(ini.data(), ini.size(), "Options", "Subdir").valueLength);
    EXPECT_EQ(259u, FindIniKey(ini.data(), ini.size(), "Options", "Mode").valueLength);
}

TEST(SetRules, FileNamesThatLeaveTheFolder)
{
    struct { const char* name; NameFault fault; const char* device; } cases[] = {
        {"VANTREL.EXE", kNameOk, ""},      {"A..B.DLL", kNameOk, ""},        {"", kNameOk, ""},
        {"CONFIG.SYS", kNameOk, ""},       {"COM0", kNameOk, ""},            {"LPT", kNameOk, ""},
        {"..", kNameParent, ""},           {"..\\X.DLL", kNameParent, ""},   {"SUB/../X.DLL", kNameParent, ""},
        {"C:X.DLL", kNameDrive, ""},       {"C:\\WIN\\X.DLL", kNameDrive, ""},
        {"SUB\\X.DLL", kNamePath, ""},     {"SUB/X.DLL", kNamePath, ""},     {"\\X.DLL", kNamePath, ""},
        {"con", kNameDevice, "CON"},       {"NUL.TXT", kNameDevice, "NUL"},  {"Aux .dat", kNameDevice, "AUX"},
        {"A*B.DLL", kNameNotPlain, ""},   {"README.TXT.", kNameNotPlain, ""}, {"...", kNameNotPlain, ""},
        {"X ", kNameNotPlain, ""},        {"A\x01", kNameNotPlain, ""},      {"\"Q\".TXT", kNameNotPlain, ""},
        {"prn", kNameDevice, "PRN"},       {"com1", kNameDevice, "COM1"},    {"LPT9.DLL", kNameDevice, "LPT9"},
    };
    for (auto& c : cases) {
        char device[8] = "";
        EXPECT_EQ(c.fault, FileNameFault(c.name, &device)) << c.name;
        EXPECT_STREQ(c.device, device) << c.name;
    }
    struct { const char* subfolder; bool inside; } folders[] = {
        {"Zyne\\Talkweave", true}, {"Zyne", true}, {"..\\Zyne", false}, {"Zyne\\..\\..", false},
        {"D:\\Zyne", false},       {"\\Zyne", false}, {"/Zyne", false},
    };
    for (auto& f : folders)
        EXPECT_EQ(f.inside, SubfolderStaysInside(f.subfolder)) << f.subfolder;
}

TEST(SetRules, FlagCharacters)
{
    struct { const char* value; FlagsFault fault; } cases[] = {
        {"310", kFlagsOk},        {"339", kFlagsOk},         {"", kFlagsOk},
        {"31x", kFlagsNotDigits}, {"a", kFlagsNotDigits},    {" 31", kFlagsNotDigits},
        {"2", kFlagsShort},       {"31", kFlagsShort},
        {"410", kFlagsBeyond},    {"390", kFlagsBeyond},     {"339", kFlagsOk},
        {"3109", kFlagsExtra},    {"310 ; main", kFlagsExtra},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.fault, FileFlagsFault(c.value)) << c.value;
}
