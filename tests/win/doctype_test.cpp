#include <gtest/gtest.h>

#include <memory>

#include "bench.h"
#include "doctype.h"
#include "quillset.h"
#include "regstate.h"

using regstate::IsString;

namespace {

const HKEY CR = HKEY_CLASSES_ROOT;
const char kExt[] = ".zyn";
const char kProgId[] = "Zyne.Pres.1.95";
const char kOther[] = "Other.Type";
const char kMime[] = "MIME\\Database\\Content Type\\application/x-zyne";
const char kUserExtensions[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Extensions";
const char kPlayer[] = "C:\\ZYNE\\VANTREL.EXE";
const char kSpaced[] = "C:\\Program Files\\Zyne\\VANTREL.EXE";

std::string Cmd(const std::string& program) { return program + " \"%1\""; }
std::string QuotedCmd(const std::string& program) { return "\"" + program + "\" \"%1\""; }

std::string WinIni()
{
    char buf[1024];
    GetProfileStringA("Extensions", "zyn", "(none)", buf, sizeof buf);
    return buf;
}

struct Counts {
    DWORD subkeys = 99, values = 99;
};
Counts CountsOf(HKEY root, const std::string& key)
{
    Counts c;
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &c.subkeys, nullptr, nullptr, &c.values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(k);
    }
    return c;
}

class DocType : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        bench::ResetDocumentType(kExt, kProgId, kMime);
        bench::DeleteKeyTree(CR, kOther);
    }
    static void Register(const char* program)
    {
        RegisterDocumentType(GetModuleHandleA(nullptr), program, IDS_EXTENSION, IDS_PROGID, IDS_DOC_DESCRIPTION,
                             IDS_MIME_TYPE, IDS_OWNER_LIST, IDS_QUICKVIEW);
    }
    static void Unregister(const char* program)
    {
        UnregisterDocumentType(GetModuleHandleA(nullptr), program, IDS_EXTENSION, IDS_PROGID, IDS_MIME_TYPE);
    }
    // Everything the registration may touch.
    static std::string State()
    {
        return regstate::Dump(CR, kExt) + regstate::Dump(CR, kProgId) + regstate::Dump(CR, kOther) +
               regstate::Dump(CR, kMime) + "WIN.INI " + WinIni() + "\n" +
               regstate::Dump(HKEY_CURRENT_USER, kUserExtensions);
    }
    static std::string Key(const char* progId, const std::string& sub) { return std::string(progId) + "\\" + sub; }
};

TEST_F(DocType, AFreshRegistrationWritesTheTenEntries)
{
    struct { const char* program; std::string command; } cases[] = {
        {kPlayer, Cmd(kPlayer)},
        // a blank in the path: the commands quote it, nothing else does
        {kSpaced, QuotedCmd(kSpaced)},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.program);
        Reset();
        Register(c.program);
        std::string owner = std::string(c.program) + " ^.zyn";
        EXPECT_TRUE(IsString(CR, kExt, nullptr, kProgId));
        EXPECT_TRUE(IsString(CR, kExt, "Content Type", "application/x-zyne"));
        EXPECT_TRUE(IsString(CR, kMime, "Extension", ".zyn"));
        EXPECT_TRUE(IsString(CR, kProgId, nullptr, "Zyne Presentation File"));
        EXPECT_TRUE(IsString(CR, Key(kProgId, "DefaultIcon"), nullptr, std::string(c.program) + ",1"));
        EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\open\\command"), nullptr, c.command));
        EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\QuickView"), nullptr, "&View Presentation"));
        EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\QuickView\\command"), nullptr, c.command));
        EXPECT_EQ(owner, WinIni());
        EXPECT_TRUE(IsString(HKEY_CURRENT_USER, kUserExtensions, "zyn", owner));

        // and nothing else
        struct { std::string key; DWORD subkeys, values; } shapes[] = {
            {kExt, 0, 2}, {kMime, 0, 1}, {kProgId, 2, 1}, {Key(kProgId, "DefaultIcon"), 0, 1},
            {Key(kProgId, "shell"), 2, 0}, {Key(kProgId, "shell\\open"), 1, 0},
            {Key(kProgId, "shell\\open\\command"), 0, 1}, {Key(kProgId, "shell\\QuickView"), 1, 1},
            {Key(kProgId, "shell\\QuickView\\command"), 0, 1},
        };
        for (auto& s : shapes) {
            Counts n = CountsOf(CR, s.key);
            EXPECT_EQ(s.subkeys, n.subkeys) << s.key;
            EXPECT_EQ(s.values, n.values) << s.key;
        }

        // twice is the same as once
        std::string once = State();
        Register(c.program);
        EXPECT_EQ(once, State());
    }
}

TEST_F(DocType, WithoutAPathTheModuleRegistersItself)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    Register(nullptr);
    EXPECT_TRUE(IsString(CR, Key(kProgId, "DefaultIcon"), nullptr, std::string(self) + ",1"));
    std::string command = strchr(self, ' ') ? QuotedCmd(self) : Cmd(self);
    EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\open\\command"), nullptr, command));
    Unregister(nullptr);
    EXPECT_FALSE(bench::KeyExists(CR, kExt));
}

TEST_F(DocType, AnotherProgIdReceivesTheVerbs)
{
    bench::SetRegString(CR, kExt, nullptr, kOther);
    bench::SetRegString(CR, kOther, nullptr, "Their type");
    Register(kPlayer);
    EXPECT_TRUE(IsString(CR, kExt, nullptr, kOther));
    EXPECT_TRUE(IsString(CR, kExt, "Content Type", "application/x-zyne"));
    EXPECT_TRUE(IsString(CR, kOther, nullptr, "Their type"));
    EXPECT_TRUE(IsString(CR, Key(kOther, "DefaultIcon"), nullptr, std::string(kPlayer) + ",1"));
    EXPECT_TRUE(IsString(CR, Key(kOther, "shell\\open\\command"), nullptr, Cmd(kPlayer)));
    EXPECT_TRUE(IsString(CR, Key(kOther, "shell\\QuickView\\command"), nullptr, Cmd(kPlayer)));
    EXPECT_FALSE(bench::KeyExists(CR, kProgId));
}

TEST_F(DocType, TakeOverRule)
{
    const std::string listed = "c:\\old\\Zyne195.exe";
    const std::string spacedListed = "C:\\Program Files\\Old\\ZYNE.EXE";
    const std::string longIcon = "C:\\" + std::string(280, 'x') + "\\ZYNE195.EXE,0";
    struct Case {
        const char* name;
        DWORD iconType;         // 0: no icon value
        std::string icon;
        std::string open;       // empty: no open command
        std::string owner;      // the program that keeps the type, empty: ours
        std::string openAfter;
    } cases[] = {
        {"listed icon keeps icon and open", REG_SZ, listed + ",0", "C:\\OLD\\ZYNE195.EXE /play \"%1\"", listed,
         "C:\\OLD\\ZYNE195.EXE /play \"%1\""},
        {"listed icon, open missing", REG_SZ, listed + ",0", "", listed, Cmd(listed)},
        {"listed icon in a quoted path", REG_SZ, "\"" + spacedListed + "\",0", "", spacedListed,
         QuotedCmd(spacedListed)},
        {"unlisted program is replaced", REG_SZ, "C:\\VIEWER\\OLDVIEW.EXE,0", "C:\\VIEWER\\OLDVIEW.EXE \"%1\"", "",
         Cmd(kPlayer)},
        {"listed name without a backslash is replaced", REG_SZ, "ZYNE195.EXE,0", "ZYNE195.EXE \"%1\"", "",
         Cmd(kPlayer)},
        {"icon too long for its buffer is replaced", REG_SZ, longIcon, "C:\\OLD\\ZYNE195.EXE \"%1\"", "",
         Cmd(kPlayer)},
        {"icon that is no string is replaced", REG_DWORD, std::string("\1\0\0\0", 4), "", "", Cmd(kPlayer)},
        {"no icon", 0, "", "C:\\OTHER\\OTHER.EXE \"%1\"", "", Cmd(kPlayer)},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        if (c.iconType)
            regstate::Set(CR, Key(kProgId, "DefaultIcon"), nullptr, c.iconType,
                          c.iconType == REG_SZ ? c.icon + '\0' : c.icon);
        if (!c.open.empty())
            bench::SetRegString(CR, Key(kProgId, "shell\\open\\command"), nullptr, c.open);
        regstate::Value iconBefore = regstate::Read(CR, Key(kProgId, "DefaultIcon"), nullptr);

        Register(kPlayer);
        std::string owner = c.owner.empty() ? kPlayer : c.owner;
        if (c.owner.empty())
            EXPECT_TRUE(IsString(CR, Key(kProgId, "DefaultIcon"), nullptr, std::string(kPlayer) + ",1"));
        else
            EXPECT_EQ(iconBefore.bytes, regstate::Read(CR, Key(kProgId, "DefaultIcon"), nullptr).bytes);
        EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\open\\command"), nullptr, c.openAfter));
        EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\QuickView"), nullptr, "&View Presentation"));
        EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\QuickView\\command"), nullptr, Cmd(kPlayer)));
        EXPECT_EQ(owner + " ^.zyn", WinIni());
        EXPECT_TRUE(IsString(HKEY_CURRENT_USER, kUserExtensions, "zyn", owner + " ^.zyn"));
    }
}

TEST_F(DocType, UnregistrationRemovesOnlyWhatIsOurs)
{
    // a fresh registration goes whole; [Extensions] stays
    for (const char* program : {kPlayer, kSpaced}) {
        SCOPED_TRACE(program);
        Reset();
        Register(program);
        Unregister(program);
        EXPECT_FALSE(bench::KeyExists(CR, kExt));
        EXPECT_FALSE(bench::KeyExists(CR, kProgId));
        EXPECT_FALSE(bench::KeyExists(CR, kMime));
        EXPECT_EQ(std::string(program) + " ^.zyn", WinIni());
        EXPECT_TRUE(IsString(HKEY_CURRENT_USER, kUserExtensions, "zyn", std::string(program) + " ^.zyn"));
    }

    // paths compare without regard to case
    Reset();
    Register(kPlayer);
    Unregister("c:\\zyne\\vantrel.exe");
    EXPECT_FALSE(bench::KeyExists(CR, kExt));

    // one verb another program's: only ours goes, and the type stays
    struct { const char* theirs; const char* ours; } verbs[] = {{"open", "QuickView"}, {"QuickView", "open"}};
    for (auto& v : verbs) {
        SCOPED_TRACE(std::string("their ") + v.theirs);
        Reset();
        Register(kPlayer);
        std::string theirs = Key(kProgId, std::string("shell\\") + v.theirs + "\\command");
        bench::SetRegString(CR, theirs, nullptr, "C:\\OTHER\\OTHER.EXE \"%1\"");
        Unregister(kPlayer);
        EXPECT_FALSE(bench::KeyExists(CR, Key(kProgId, std::string("shell\\") + v.ours)));
        EXPECT_TRUE(IsString(CR, theirs, nullptr, "C:\\OTHER\\OTHER.EXE \"%1\""));
        EXPECT_TRUE(IsString(CR, kExt, nullptr, kProgId));
        EXPECT_TRUE(bench::KeyExists(CR, kMime));
        EXPECT_TRUE(bench::KeyExists(CR, Key(kProgId, "DefaultIcon")));
    }

    // registered beside a listed owner: the owner keeps everything but our verb
    Reset();
    bench::SetRegString(CR, Key(kProgId, "DefaultIcon"), nullptr, "C:\\OLD\\ZYNE195.EXE,0");
    bench::SetRegString(CR, Key(kProgId, "shell\\open\\command"), nullptr, "C:\\OLD\\ZYNE195.EXE \"%1\"");
    Register(kPlayer);
    Unregister(kPlayer);
    EXPECT_FALSE(bench::KeyExists(CR, Key(kProgId, "shell\\QuickView")));
    EXPECT_TRUE(IsString(CR, Key(kProgId, "shell\\open\\command"), nullptr, "C:\\OLD\\ZYNE195.EXE \"%1\""));
    EXPECT_TRUE(IsString(CR, kExt, nullptr, kProgId));

    // nothing registered: nothing made
    Reset();
    Unregister(kPlayer);
    EXPECT_FALSE(bench::KeyExists(CR, kExt));
    EXPECT_FALSE(bench::KeyExists(CR, kProgId));
}

TEST_F(DocType, UnreadableValuesAreNeverOurs)
{
    const std::string ours = kPlayer;
    struct { const char* name; DWORD type; std::string bytes; } cases[] = {
        {"command too long for its buffer", REG_SZ, Cmd(ours) + std::string(300, ' ') + "/x" + '\0'},
        {"command that is a number", REG_DWORD, std::string("\1\0\0\0", 4)},
        {"command without a zero, as binary", REG_BINARY, Cmd(ours)},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        bench::SetRegString(CR, kExt, nullptr, kOther);
        regstate::Set(CR, Key(kOther, "shell\\open\\command"), nullptr, c.type, c.bytes);
        regstate::Set(CR, Key(kOther, "shell\\QuickView\\command"), nullptr, c.type, c.bytes);
        bench::SetRegString(CR, kMime, "Extension", ".zyn");
        std::string before = State();
        Unregister(kPlayer);
        EXPECT_EQ(before, State());
    }

    // a ProgID that does not fit reads as absent: our own ProgID is looked at
    Reset();
    Register(kPlayer);
    bench::SetRegString(CR, kExt, nullptr, std::string(70, 'p'));
    bench::SetRegString(CR, Key(kProgId, "shell\\open\\command"), nullptr, "C:\\OTHER\\OTHER.EXE \"%1\"");
    Unregister(kPlayer);
    EXPECT_FALSE(bench::KeyExists(CR, Key(kProgId, "shell\\QuickView")));
    EXPECT_TRUE(bench::KeyExists(CR, kExt));

    // a type without a shell key is left alone
    Reset();
    bench::SetRegString(CR, kExt, nullptr, kProgId);
    bench::SetRegString(CR, kProgId, nullptr, "x");
    std::string before = State();
    Unregister(kPlayer);
    EXPECT_EQ(before, State());
}

TEST_F(DocType, FindRegisteredOpener)
{
    struct Case {
        const char* name;
        void (*prepare)();
        const char* folder;     // null: none found
        const char* file;
        const char* progId;
    } cases[] = {
        {"registry", [] { Register(kPlayer); }, "C:\\ZYNE", "VANTREL.EXE", kProgId},
        {"registry, quoted path", [] { Register(kSpaced); }, "C:\\Program Files\\Zyne", "VANTREL.EXE", kProgId},
        {"WIN.INI only",
         [] { WriteProfileStringA("Extensions", "zyn", "C:\\ZYNE\\VANTREL.EXE ^.zyn"); }, "C:\\ZYNE", "VANTREL.EXE",
         ""},
        {"ProgID without a command, then WIN.INI",
         [] {
             bench::SetRegString(CR, kExt, nullptr, kOther);
             WriteProfileStringA("Extensions", "zyn", "C:\\A\\B.EXE ^.zyn");
         },
         "C:\\A", "B.EXE", kOther},
        {"ProgID without a command, nothing else", [] { bench::SetRegString(CR, kExt, nullptr, kOther); }, nullptr,
         nullptr, ""},
        {"nothing", [] {}, nullptr, nullptr, ""},
        {"no folder", [] { WriteProfileStringA("Extensions", "zyn", "viewer.exe ^.zyn"); }, "", "viewer.exe", ""},
        {"root folder", [] { WriteProfileStringA("Extensions", "zyn", "C:\\V.EXE ^.zyn"); }, "C:", "V.EXE", ""},
        {"ProgID too long, then WIN.INI",
         [] {
             bench::SetRegString(CR, kExt, nullptr, std::string(300, 'p'));
             WriteProfileStringA("Extensions", "zyn", "C:\\ZYNE\\VANTREL.EXE ^.zyn");
         },
         "C:\\ZYNE", "VANTREL.EXE", ""},
        {"command that is a number, then WIN.INI",
         [] {
             bench::SetRegString(CR, kExt, nullptr, kOther);
             regstate::SetDword(CR, Key(kOther, "shell\\open\\command"), nullptr, 1);
             WriteProfileStringA("Extensions", "zyn", "C:\\ZYNE\\VANTREL.EXE ^.zyn");
         },
         "C:\\ZYNE", "VANTREL.EXE", kOther},
        {"WIN.INI value too long",
         [] { WriteProfileStringA("Extensions", "zyn", ("C:\\" + std::string(300, 'z') + "\\V.EXE").c_str()); },
         nullptr, nullptr, ""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        c.prepare();
        CStr progId("junk");
        std::unique_ptr<CSetupFile> file(FindRegisteredOpener(kExt, &progId));
        if (!c.folder) {
            EXPECT_EQ(nullptr, file.get());
        } else {
            ASSERT_NE(nullptr, file.get());
            EXPECT_STREQ(c.folder, file->Path());
            EXPECT_STREQ(c.file, file->Name());
            EXPECT_FALSE(file->Probed());
        }
        EXPECT_STREQ(c.progId, progId);
        std::unique_ptr<CSetupFile> again(FindRegisteredOpener(kExt, nullptr));
        EXPECT_EQ(c.folder != nullptr, again != nullptr);
    }
}

TEST_F(DocType, ReadOpenCommandProgram)
{
    Register(kSpaced);
    char buf[MAX_PATH];
    EXPECT_EQ(22, ReadOpenCommandProgram(kProgId, buf, sizeof buf));
    EXPECT_STREQ(kSpaced, buf);
    char small[20];
    EXPECT_EQ(-1, ReadOpenCommandProgram(kProgId, small, sizeof small));   // does not fit: absent
    EXPECT_EQ(-1, ReadOpenCommandProgram(kOther, buf, sizeof buf));
    EXPECT_EQ(-1, ReadOpenCommandProgram("", buf, sizeof buf));
    EXPECT_EQ(-1, ReadOpenCommandProgram(std::string(300, 'p').c_str(), buf, sizeof buf));
    bench::SetRegString(CR, Key(kProgId, "shell\\open\\command"), nullptr, "  \"%1\"");
    EXPECT_EQ(-1, ReadOpenCommandProgram(kProgId, buf, sizeof buf));   // names no program
}

}  // namespace
