#include <gtest/gtest.h>

#include <memory>

#include "bench.h"
#include "installset.h"
#include "quillset.h"

using namespace bench;

namespace {

// An install set folder with a SETUP.INI and the named files. Names ending
// in .EXE are copies of the built player, so they carry a version resource.
std::string MakeSet(const std::string& name, const std::string& ini, const std::vector<std::string>& files)
{
    std::string dir = FreshFolder("describe\\" + name);
    WriteFile(dir + "\\SETUP.INI", ini);
    for (auto& f : files) {
        if (f.size() > 4 && f.compare(f.size() - 4, 4, ".EXE") == 0)
            Copy(Built("Vantrel.exe"), dir + "\\" + f);
        else
            WriteFile(dir + "\\" + f, "file " + f);
    }
    return dir;
}

struct Reading {
    std::unique_ptr<CSetupDescription> description;
    std::unique_ptr<CInstallSet> set;
    bool ok = false;

    explicit Reading(const std::string& dir)
        : description(new CSetupDescription(dir.c_str(), "SETUP.INI")), set(new CInstallSet(description.get(), true))
    {
        ok = set->ReadDescription();
    }
    ~Reading() { set.reset(); }   // restores the current folder first
    UINT Error() const { return set->pendingError ? set->pendingError->id : 0; }
    std::string ErrorText() const { return set->pendingError ? set->pendingError->text.c_str() : ""; }
    std::string Files() const
    {
        // name:kind:critical, in list order
        std::string out;
        for (int i = 0; i < set->FileCount(); ++i) {
            CSetupFile* f = set->File(i);
            out += std::string(f->Name()) + ":" + std::to_string(f->kind) + (f->critical ? "c " : "o ");
        }
        return out;
    }
};

}  // namespace

TEST(ReadDescription, ChoosesTheVariantAndSection)
{
    struct {
        const char* name;
        const char* ini;
        std::vector<std::string> files;
        int platform;
        const char* section;
        const char* module;
        int flags;
    } cases[] = {
        {"both", "[Options]\nMode=Player\n[Player.16]\nModule=P16.EXE\n[Player.32]\nModule=P32.EXE\n",
         {"P16.EXE", "P32.EXE"}, 2, "Player.32", "P32.EXE", kPlayerSet},
        {"only16", "[Options]\nMode=Player\n[Player.16]\nModule=P16.EXE\n[Player.32]\nModule=P32.EXE\n",
         {"P16.EXE"}, 1, "Player.16", "P16.EXE", kPlayerSet},
        {"forced16", "[Options]\nMode=Player.16\n[Player.16]\nModule=P16.EXE\n[Player.32]\nModule=P32.EXE\n",
         {"P16.EXE", "P32.EXE"}, 1, "Player.16", "P16.EXE", kPlayerSet},
        {"plugin", "[Options]\nMode=plugin.32\n[plugin.32]\nModule=NP.DLL\n", {"NP.DLL"}, 2, "plugin.32", "NP.DLL",
         kPluginSet},
        {"upper", "[Options]\nMode=PLAYER.32\n[PLAYER.32]\nModule=P.EXE\n", {"P.EXE"}, 2, "PLAYER.32", "P.EXE",
         kPlayerSet},
        // another suffix: found by probing, the section keeps the suffix
        {"other", "[Options]\nMode=Player.95\n[Player.16]\nModule=P16.EXE\n[Player.95]\nModule=P95.EXE\n"
                  "[Player.32]\nModule=P32.EXE\n",
         {"P32.EXE", "P95.EXE"}, 2, "Player.95", "P95.EXE", kPlayerSet},
        // no module named: the setup program itself stands for it
        {"nomodule", "[Options]\nMode=Player.32\n", {}, 2, "Player.32", "win_setup.exe", kPlayerSet},
    };
    for (auto& c : cases) {
        Reading r(MakeSet(c.name, c.ini, c.files));
        ASSERT_TRUE(r.ok) << c.name << ": " << r.ErrorText();
        EXPECT_EQ(0u, r.Error()) << c.name;
        EXPECT_EQ(c.platform, r.set->platform) << c.name;
        EXPECT_STREQ(c.section, r.set->moduleSection) << c.name;
        EXPECT_STREQ(c.module, r.set->mainModule->Name()) << c.name;
        EXPECT_EQ(c.flags, r.set->flags) << c.name;
    }
}

TEST(ReadDescription, ReportsWhatIsMissing)
{
    struct {
        const char* name;
        const char* ini;
        std::vector<std::string> files;
        UINT error;
        const char* text;
    } cases[] = {
        {"novariant", "[Options]\nMode=Player\n[Player.16]\nModule=P16.EXE\n[Player.32]\nModule=P32.EXE\n", {},
         IDS_NO_VARIANT, "Setup does not have proper files for installing the Player. The file-set may have been "
                         "munged. If you can, re-extract the files from their source."},
        // sections that name no module, or are not there, hold no variant
        {"nosections", "[Options]\nMode=Viewer\n[Viewer.32]\nDisplayName=V\n", {}, IDS_NO_VARIANT,
         "Setup does not have proper files for installing the Viewer. The file-set may have been "
         "munged. If you can, re-extract the files from their source."},
        {"nomain16", "[Options]\nMode=Player.16\n[Player.16]\nModule=p16.exe\n[Player.32]\nModule=P32.EXE\n",
         {"P32.EXE"}, IDS_FILE_MISSING,
         "Setup cannot find the file 'p16.exe', which is necessary for a successful installation. The file-set may "
         "have been munged. If you can, re-extract the files from their source."},
        {"critical", "[Options]\nMode=Player.32\n[Player.32]\nModule=P.EXE\n[Files]\nP.EXE=310\nplayer.dll=310\n",
         {"P.EXE"}, IDS_FILE_MISSING,
         "Setup cannot find the file 'PLAYER.DLL', which is necessary for a successful installation. The file-set "
         "may have been munged. If you can, re-extract the files from their source."},
    };
    for (auto& c : cases) {
        Reading r(MakeSet(c.name, c.ini, c.files));
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(c.error, r.Error()) << c.name;
        EXPECT_EQ(c.text, r.ErrorText()) << c.name;
    }
}

TEST(ReadDescription, NoModeFailsWithoutARecordedError)
{
    std::string longMode = "[Options]\nMode=" + std::string(300, 'P') + "\n";
    struct { const char* name; std::string ini; } cases[] = {
        {"empty", ""},
        {"blankmode", "[Options]\nMode=\n"},
        {"nobrackets", "Options\nMode=Player.32\nPlayer.32\nModule=P.EXE\n"},
        {"garbage", std::string("\x00\x01\xFF\xFE[\x80\x81]=\x00\n\x7F", 12)},
        {"longmode", longMode},
    };
    for (auto& c : cases) {
        Reading r(MakeSet(c.name, c.ini, {"P.EXE"}));
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(nullptr, r.set->pendingError) << c.name;
    }
}

TEST(ReadDescription, FileListAndItsFlags)
{
    Reading r(MakeSet("files",
                      "[Options]\nMode=Player.32\n[Player.32]\nModule=P.EXE\n[Files]\n"
                      "A.DLL=2\n"          // one character: kind 0, critical
                      "p.exe=331\n"        // the main module, whatever its case
                      "S16.DLL=110\n"      // 16-bit only: not part of the set
                      "OPT.TXT=324\n"      // optional and missing: stays listed
                      "NONE.DLL=\n"        // part of no variant
                      "B.DLL=339\n",
                      {"P.EXE", "A.DLL", "B.DLL"}));
    ASSERT_TRUE(r.ok) << r.ErrorText();
    EXPECT_EQ("A.DLL:0c P.EXE:3c OPT.TXT:2o B.DLL:3o ", r.Files());
    EXPECT_EQ(r.set->mainModule, r.set->File(1));   // the same record, held once
}

TEST(ReadDescription, MainModuleListedTwiceIsHeldOnce)
{
    Reading r(MakeSet("twice", "[Options]\nMode=Player.32\n[Player.32]\nModule=P.EXE\n[Files]\nP.EXE=310\np.exe=310\n",
                      {"P.EXE"}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(1, r.set->FileCount());
}

TEST(ReadDescription, NamesAndFolders)
{
    std::string dir = MakeSet("names",
                              "[Options]\nMode=Player\n[Player.32]\nModule=P.EXE\nSubdir=Zyne\\Player\n"
                              "DisplayName=Shown Only Without Version\nOtherModule=NP.DLL\n",
                              {"P.EXE"});
    {
        Reading r(dir);
        ASSERT_TRUE(r.ok);
        EXPECT_STREQ("Zyne\\Player", r.set->subfolder);
        EXPECT_STREQ("Zyne Talkweave Player", r.set->displayName);   // the version resource wins
        ASSERT_NE(nullptr, r.set->versionInfo);
        EXPECT_STREQ("1.95", r.set->versionInfo->versionText);
        EXPECT_FALSE(r.set->otherModulePresent);
        char cwd[MAX_PATH];
        GetCurrentDirectoryA(sizeof cwd, cwd);
        EXPECT_STREQ(dir.c_str(), cwd);
    }
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    EXPECT_STRNE(dir.c_str(), cwd);   // restored

    // [Options] Subdir wins; a value too long for its buffer reads as absent
    std::string ini = "[Options]\nMode=Player.32\nSubdir=Options\\Sub\n[Player.32]\nModule=P.DAT\nSubdir=Module\n"
                      "DisplayName=Named Player\nOtherModule=NP.DLL\n";
    dir = MakeSet("names2", ini, {"P.DAT", "NP.DLL"});
    {
        Reading r(dir);
        ASSERT_TRUE(r.ok);
        EXPECT_STREQ("Options\\Sub", r.set->subfolder);
        EXPECT_STREQ("Named Player", r.set->displayName);
        EXPECT_TRUE(r.set->otherModulePresent);
        EXPECT_EQ(0u, r.set->versionInfo->valid);
    }
    // 259 characters fit the buffer with its terminator; 260 and more do not
    for (size_t length : {259, 260, 300}) {
        SCOPED_TRACE(length);
        std::string subdir(length, 's');
        ini = "[Options]\nMode=Player.32\nSubdir=" + subdir + "\n[Player.32]\nModule=P.DAT\nSubdir=M\n";
        dir = MakeSet("names3", ini, {"P.DAT"});
        Reading r(dir);
        ASSERT_TRUE(r.ok);
        EXPECT_STREQ(length < MAX_PATH ? subdir.c_str() : "M", r.set->subfolder);
        EXPECT_TRUE(r.set->otherModulePresent);   // no OtherModule: the setup program itself
    }
}

TEST(ReadDescription, ReadsAFileListPastItsFirstBuffer)
{
    std::string ini = "[Options]\nMode=Player.32\n[Player.32]\nModule=P.EXE\n[Files]\n";
    std::vector<std::string> files = {"P.EXE"};
    // 40 names of 30 characters: 1240 characters with their NULs
    for (int i = 0; i < 40; ++i) {
        char name[40];
        wsprintfA(name, "FILE%02d_ABCDEFGHIJKLMNOPQR.DLL", 39 - i);
        ini += std::string(name) + "=314\n";
    }
    Reading r(MakeSet("toolong", ini, files));
    ASSERT_TRUE(r.ok) << r.ErrorText();
    ASSERT_EQ(40, r.set->FileCount());
    EXPECT_STREQ("FILE39_ABCDEFGHIJKLMNOPQR.DLL", r.set->File(0)->Name());
    EXPECT_STREQ("FILE00_ABCDEFGHIJKLMNOPQR.DLL", r.set->File(39)->Name());

    // within the first buffer: 33 names of 30 characters
    ini = "[Options]\nMode=Player.32\n[Player.32]\nModule=P.EXE\n[Files]\n";
    for (int i = 0; i < 33; ++i) {
        char name[40];
        wsprintfA(name, "FILE%02d_ABCDEFGHIJKLMNOPQR.DLL", i);
        ini += std::string(name) + "=314\n";
    }
    Reading fits(MakeSet("fits", ini, files));
    EXPECT_TRUE(fits.ok) << fits.ErrorText();
    EXPECT_EQ(33, fits.set->FileCount());
}

// The section read whole gives the names of the key list and the values of
// each key read alone, whatever the lines hold.
TEST(ReadDescription, SectionKeysReadAsEachKeyAlone)
{
    std::string dir = MakeSet("section",
                              "[Files]\r\nA=1\r\n  B  =  2  \r\n; C=3\r\nC=\"quoted\"\r\nD='single'\r\nE=\"mixed'\r\n"
                              "F=\"\r\nG=\"\"\r\nH= \" spaced \" \r\nJUST A LINE\r\nJ=\r\ndup=first\r\nDUP=second\r\n"
                              "Q1=\"a\"b\"\r\nQ4=a=b\r\nL=\"" + std::string(259, 'v') + "\"\r\nM=" +
                                  std::string(260, 'v') + "\r\n=310\r\nK=after\r\n[Files]\r\nlower=2\r\n",
                              {});
    CSetupDescription description(dir.c_str(), "SETUP.INI");
    char list[2048] = {};
    GetPrivateProfileStringA("Files", nullptr, "", list, sizeof list, (dir + "\\SETUP.INI").c_str());
    const SectionKey* keys;
    int count = description.ReadSectionKeys("Files", &keys);
    std::string names, expected;
    for (const char* n = list; *n; n += strlen(n) + 1)
        expected += std::string(n) + "=" + description.ReadSetting("Files", n) + "|";
    for (int i = 0; i < count; ++i)
        names += std::string(keys[i].name) + "=" + keys[i].value + "|";
    EXPECT_EQ(expected, names);
    EXPECT_EQ(15, count);   // the empty name ends both lists
}
