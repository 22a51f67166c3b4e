// Setup started from broken and sound install sets: what the user sees.
#include <gtest/gtest.h>

#include "bench.h"
#include "driver.h"
#include "quillset.h"

using namespace bench;

namespace {

const char kMunged[] = " The file-set may have been munged. If you can, re-extract the files from their source.";

std::string Missing(const std::string& name)
{
    return "Setup cannot find the file '" + name + "', which is necessary for a successful installation." + kMunged;
}

const char kPlayerIni[] =
    "[Options]\r\nMode=Player\r\nSubdir=Zyne\\Talkweave\r\n\r\n"
    "[Player.32]\r\nModule=VANTREL.EXE\r\n\r\n"
    "[Files]\r\nVANTREL.EXE=310\r\nSETUP.INI=310\r\n";

class Startup : public ::testing::Test {
protected:
    // An install set folder holding the setup program under `program` and a
    // copy of the built player.
    void MakeSet(const char* program = "SETUP.EXE", bool player = true)
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = FreshFolder(std::string("startup\\") + info->name());
        this->program = program;
        Copy(Built("Quillset.exe"), dir + "\\" + program);
        if (player)
            Copy(Built("Vantrel.exe"), dir + "\\VANTREL.EXE");
    }
    void Ini(const std::string& text, const char* name = "SETUP.INI") { WriteFile(dir + "\\" + name, text); }

    // Starts setup and reports the first message it shows, or its exit.
    Outcome Run(const std::string& args = "")
    {
        EXPECT_TRUE(setup.Start(dir + "\\" + program, args, dir));
        return NextBoxOrExit(setup, 10000);
    }

    // A start-up failure: one box with the stop icon and OK only; OK ends setup with 0.
    void ExpectStop(const Outcome& o, const std::string& text, const std::string& caption = "SETUP")
    {
        ASSERT_TRUE(o.shown) << "setup showed nothing, exit code " << o.exitCode;
        EXPECT_EQ(caption, o.box.caption);
        EXPECT_EQ(text, o.box.text);
        EXPECT_EQ(std::vector<int>{IDOK}, o.box.buttons);
        EXPECT_STREQ("stop", IconName(o.box.icon));
        EXPECT_TRUE(Press(o.box.hwnd, IDOK));
        EXPECT_EQ(0, setup.Wait(10000));
    }

    // A sound set: setup goes on to its agreement page; rejected, it ends with 0.
    void ExpectAgreement(const Outcome& o)
    {
        ASSERT_TRUE(o.shown) << "setup showed nothing, exit code " << o.exitCode;
        EXPECT_TRUE(GetDlgItem(o.box.hwnd, IDC_AGREEMENT_TEXT)) << "setup showed: " << o.box.text;
        EXPECT_TRUE(Press(o.box.hwnd, IDCANCEL));
        EXPECT_EQ(0, setup.Wait(10000));
    }

    std::string dir, program;
    Process setup;
};

}  // namespace

TEST_F(Startup, WithoutDescriptionNamesTheLastNameTried)
{
    MakeSet();
    ExpectStop(Run(), Missing("SETUP.INI"));

    MakeSet("SETUP32.EXE");
    ExpectStop(Run(), Missing("SETUP.INI"), "SETUP32");

    MakeSet("INSTALL.EXE");
    ExpectStop(Run("/uninstall"), Missing("INSTALL.INI"), "INSTALL");
}

TEST_F(Startup, SoundSetsGoOnToTheAgreement)
{
    MakeSet("SETUP32.EXE");   // found under the second name
    Ini(kPlayerIni);
    ExpectAgreement(Run());

    MakeSet();
    Ini(std::string(kPlayerIni) + "SETUP.EXE=310\r\n");
    ExpectAgreement(Run());

    // what follows the quoted program name is read as given: a bad unattended line ends at once
    Outcome bad = Run("/S /X");
    EXPECT_FALSE(bad.shown) << bad.box.text;
    EXPECT_EQ(1, bad.exitCode);
}

TEST_F(Startup, MissingMainModule)
{
    // the variant named outright: its module is not probed first
    MakeSet("SETUP.EXE", false);
    std::string ini = kPlayerIni;
    ini.replace(ini.find("Mode=Player"), 11, "Mode=Player.32");
    Ini(ini);
    ExpectStop(Run(), Missing("VANTREL.EXE"));
}

TEST_F(Startup, MissingCriticalFileIsNamedInCapitals)
{
    MakeSet();
    Ini(std::string(kPlayerIni) + "vantrel.dll=310\r\nreadme.txt=314\r\n");
    ExpectStop(Run(), Missing("VANTREL.DLL"));
}

TEST_F(Startup, NoVariantPresent)
{
    MakeSet();
    Ini("[Options]\r\nMode=Player\r\n[Player.16]\r\nModule=VANTR16.EXE\r\n[Player.32]\r\nModule=VANTR32.EXE\r\n");
    ExpectStop(Run(), std::string("Setup does not have proper files for installing the Player.") + kMunged);
}

TEST_F(Startup, DescriptionThatSaysNothing)
{
    const std::string noMode = std::string("The setup description 'SETUP.INI' does not say what to install.") + kMunged;
    struct { const char* name; std::string ini; } cases[] = {
        {"no Mode", "[Options]\r\nSubdir=Zyne\r\n[Player.32]\r\nModule=VANTREL.EXE\r\n"},
        {"empty file", ""},
        {"no brackets", "Options\r\nMode=Player\r\n"},
        {"garbage", std::string("MZ\x90\x00\x03\x00\x00\x00\x04\x00\xFF\xFF[\x01\x02]\r\n=\x80", 20)},
        {"Mode too long", "[Options]\r\nMode=Player" + std::string(300, '2') + "\r\n"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        MakeSet();
        Ini(c.ini);
        ExpectStop(Run(), noMode);
        // nothing was written: the set holds what it held
        EXPECT_EQ((std::vector<std::string>{"SETUP.EXE", "SETUP.INI", "VANTREL.EXE"}), List(dir));
    }
}

// A list past the first read's 1,040 characters is read again, whole.
TEST_F(Startup, LongFileListGoesOn)
{
    MakeSet();
    std::string ini = kPlayerIni;
    for (int i = 0; i < 60; ++i)
        ini += "SOME_RATHER_LONG_FILE_NAME_" + std::to_string(i) + ".DAT=314\r\n";
    Ini(ini);
    ExpectAgreement(Run());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zyn"));
}

// Locating runs at start-up: App Paths entries that lead to missing folders
// and [Netscape] keys that are missing or empty do not stop setup.
TEST_F(Startup, LocatingThroughBrokenEntriesGoesOn)
{
    const std::string appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    const char* names[] = {"VANTREL.EXE", "NPZYNE32.DLL", "NETSCAPE.EXE"};
    for (const char* name : names)
        SetRegString(HKEY_LOCAL_MACHINE, appPaths + name, "Path", "C:\\bench\\startup\\gone");
    struct { const char* mode; const char* netscape; } cases[] = {
        {"Plugin", ""},
        {"Plugin", "[Netscape]\r\nModule=\r\nExt=\r\nUndir.32=\r\nSubdir=\r\n"},
        {"Player.16", "[Netscape]\r\nModule=NETSCAPE.EXE\r\nExt=.zbh\r\n"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.netscape);
        MakeSet();
        Copy(Built("tests\\fixtures\\NPZYNE32.DLL"), dir + "\\NPZYNE32.DLL");
        Ini(std::string("[Options]\r\nMode=") + c.mode + "\r\n[Plugin.32]\r\nModule=NPZYNE32.DLL\r\n" +
            "[Player.16]\r\nModule=VANTREL.EXE\r\n" + c.netscape + "[Files]\r\nNPZYNE32.DLL=230\r\n");
        ExpectAgreement(Run());
    }
    for (const char* name : names)
        DeleteKeyTree(HKEY_LOCAL_MACHINE, appPaths + name);
}
