#include <gtest/gtest.h>

#include "bench.h"
#include "regstate.h"
#include "settings.h"

namespace {

const char kCompany[] = "ZyneBench";
const char kRoot[] = "Software\\ZyneBench";
const char kStore[] = "Software\\ZyneBench\\Store";

class Settings : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        CloseSettingsStore();
        Reset();
    }
    void Reset()
    {
        bench::DeleteKeyTree(HKEY_CURRENT_USER, kRoot);
        bench::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ZyneBench");
        DeleteFileA(ProfilePath().c_str());
    }
    static std::string ProfilePath()
    {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        return std::string(windows) + "\\VANTREL.ini";
    }
    // A three-level tree: three subkeys, each with subkeys and values of its own.
    static void MakeTree(const std::string& key)
    {
        for (const char* a : {"Alpha", "Beta", "Gamma"}) {
            bench::SetRegString(HKEY_CURRENT_USER, key + "\\" + a, "v", "1");
            for (const char* b : {"One", "Two"})
                bench::SetRegString(HKEY_CURRENT_USER, key + "\\" + a + "\\" + b + "\\Deep", nullptr, "x");
        }
        bench::SetRegString(HKEY_CURRENT_USER, key, "top", "t");
    }
};

TEST_F(Settings, RegistryRootAndSlot)
{
    EXPECT_EQ(nullptr, SettingsStore());
    EXPECT_EQ(nullptr, SettingsRootKey());

    bench::SetRegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ZyneBench", "v", "found");
    OpenSettingsStore("Microsoft\\Windows", "CurrentVersion");
    ASSERT_NE(nullptr, SettingsStore());
    EXPECT_NE(nullptr, SettingsRootKey());
    EXPECT_STREQ("found", SettingsStore()->GetString("ZyneBench", "v", nullptr));
    EXPECT_TRUE(SettingsStore()->WriteString("ZyneBench", nullptr, nullptr));
    EXPECT_FALSE(bench::KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ZyneBench"));
    EXPECT_TRUE(bench::KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion"));

    // opening creates the root; a null product roots at the company
    OpenSettingsStore(kCompany, "Store");
    EXPECT_TRUE(regstate::HasNoValuesOrSubkeys(HKEY_CURRENT_USER, kStore));
    EXPECT_TRUE(SettingsStore()->WriteString("S", "v", "in product"));
    OpenSettingsStore(kCompany, nullptr);
    EXPECT_STREQ("in product", SettingsStore()->GetString("Store\\S", "v", nullptr));

    CloseSettingsStore();
    EXPECT_EQ(nullptr, SettingsStore());
    EXPECT_EQ(nullptr, SettingsRootKey());

    // a profile store has no root key
    OpenSettingsStore(nullptr, "VANTREL.EXE");
    EXPECT_NE(nullptr, SettingsStore());
    EXPECT_EQ(nullptr, SettingsRootKey());
}

TEST_F(Settings, GetIntReadsFourBytesOfAnyType)
{
    OpenSettingsStore(kCompany, "Store");
    CSettingsStore* store = SettingsStore();

    // a missing value gives the default and leaves an empty section behind
    EXPECT_EQ(-7, store->GetInt("Fresh", "n", -7));
    EXPECT_TRUE(regstate::HasNoValuesOrSubkeys(HKEY_CURRENT_USER, std::string(kStore) + "\\Fresh"));

    const std::string key = std::string(kStore) + "\\Ints";
    struct { DWORD type; std::string bytes; int expected; } cases[] = {
        {REG_DWORD, std::string("\x78\x56\x34\x12", 4), 0x12345678},
        {REG_DWORD, std::string("\xff\xff\xff\xff", 4), -1},
        {REG_BINARY, std::string("\x01\x00\x00\x00", 4), 1},
        {REG_SZ, std::string("abc\0", 4), 0x00636261},
        {REG_DWORD_BIG_ENDIAN, std::string("\x00\x00\x00\x02", 4), 0x02000000},
        {REG_BINARY, std::string("\x05\x00", 2), 5},                  // shorter: the missing bytes are zero
        {REG_BINARY, std::string("\x01\x00\x00\x00\x00", 5), 99},     // longer: the default
        {REG_QWORD, std::string(8, '\0'), 99},
        {REG_SZ, std::string("1234\0", 5), 99},
    };
    for (auto& c : cases) {
        regstate::Set(HKEY_CURRENT_USER, key, "n", c.type, c.bytes);
        EXPECT_EQ(c.expected, store->GetInt("Ints", "n", 99)) << "type " << c.type << ", " << c.bytes.size() << " bytes";
    }
    // no section: a value of the root itself
    regstate::SetDword(HKEY_CURRENT_USER, kStore, "atRoot", 42);
    EXPECT_EQ(42, store->GetInt(nullptr, "atRoot", 0));
}

TEST_F(Settings, GetStringReadsStringsThatFit)
{
    OpenSettingsStore(kCompany, "Store");
    CSettingsStore* store = SettingsStore();
    const std::string key = std::string(kStore) + "\\Strings";
    const char* fallback = "fallback";

    std::string fits(259, 'f'), tooLong(260, 'l');
    struct { DWORD type; std::string bytes; const char* expected; } cases[] = {
        {REG_SZ, fits + '\0', nullptr},               // 259 characters and the zero: fits
        {REG_SZ, fits, nullptr},                      // stored without a zero, still fits with one
        {REG_SZ, tooLong + '\0', fallback},
        {REG_SZ, tooLong, fallback},
        {REG_EXPAND_SZ, std::string("%x%\0", 4), "%x%"},
        {REG_SZ, std::string("\0", 1), ""},
        {REG_DWORD, std::string("abc\0", 4), fallback},
        {REG_BINARY, std::string("abcdef"), fallback},
        {REG_MULTI_SZ, std::string("a\0b\0\0", 5), fallback},
    };
    for (auto& c : cases) {
        regstate::Set(HKEY_CURRENT_USER, key, "s", c.type, c.bytes);
        const char* got = store->GetString("Strings", "s", fallback);
        ASSERT_NE(nullptr, got);
        EXPECT_EQ(c.expected ? std::string(c.expected) : fits, std::string(got)) << "type " << c.type;
        if (c.expected == fallback) {
            EXPECT_EQ(fallback, got);   // the caller's own pointer
        }
    }
    EXPECT_EQ(fallback, store->GetString("Strings", "missing", fallback));
    EXPECT_EQ(nullptr, store->GetString("Strings", "missing", nullptr));

    // one buffer: the second result overwrites the first
    bench::SetRegString(HKEY_CURRENT_USER, key, "a", "first");
    bench::SetRegString(HKEY_CURRENT_USER, key, "b", "second");
    const char* a = store->GetString("Strings", "a", nullptr);
    const char* b = store->GetString("Strings", "b", nullptr);
    EXPECT_EQ(a, b);
    EXPECT_STREQ("second", a);
}

TEST_F(Settings, WriteStringWritesAndDeletes)
{
    OpenSettingsStore(kCompany, "Store");
    CSettingsStore* store = SettingsStore();
    const std::string key = std::string(kStore) + "\\W";

    EXPECT_TRUE(store->WriteString("W", "a", "value a"));
    EXPECT_TRUE(store->WriteString("W", "b", ""));
    EXPECT_TRUE(regstate::IsString(HKEY_CURRENT_USER, key, "a", "value a"));
    EXPECT_TRUE(regstate::IsString(HKEY_CURRENT_USER, key, "b", ""));

    // a null string deletes just that value
    EXPECT_TRUE(store->WriteString("W", "a", nullptr));
    EXPECT_FALSE(regstate::Read(HKEY_CURRENT_USER, key, "a").found);
    EXPECT_TRUE(regstate::Read(HKEY_CURRENT_USER, key, "b").found);
    EXPECT_FALSE(store->WriteString("W", "a", nullptr));          // gone already
    EXPECT_FALSE(store->WriteString("Nowhere", "a", nullptr));    // no such section
    EXPECT_FALSE(bench::KeyExists(HKEY_CURRENT_USER, std::string(kStore) + "\\Nowhere"));

    // a null value name deletes the section with its whole tree
    MakeTree(key);
    EXPECT_TRUE(store->WriteString("W", nullptr, nullptr));
    EXPECT_FALSE(bench::KeyExists(HKEY_CURRENT_USER, key));
    EXPECT_FALSE(store->WriteString("W", nullptr, nullptr));

    // a null section does nothing; an empty one never names the root
    EXPECT_TRUE(store->WriteString(nullptr, "a", "x"));
    EXPECT_TRUE(regstate::HasNoValuesOrSubkeys(HKEY_CURRENT_USER, kStore));
    bench::SetRegString(HKEY_CURRENT_USER, std::string(kStore) + "\\Keep", "k", "kept");
    EXPECT_FALSE(store->WriteString("", nullptr, nullptr));
    EXPECT_EQ("kept", bench::RegString(HKEY_CURRENT_USER, std::string(kStore) + "\\Keep", "k"));
}

TEST_F(Settings, ARootThatCannotBeMadeReadsDefaultsAndRefusesWrites)
{
    std::string company(300, 'c');   // does not fit the key name
    OpenSettingsStore(company.c_str(), "Store");
    CSettingsStore* store = SettingsStore();
    ASSERT_NE(nullptr, store);
    EXPECT_EQ(nullptr, SettingsRootKey());
    EXPECT_EQ(5, store->GetInt("S", "n", 5));
    EXPECT_STREQ("d", store->GetString("S", "n", "d"));
    EXPECT_FALSE(store->WriteString("S", "n", "x"));
    EXPECT_FALSE(store->WriteString("S", nullptr, nullptr));
    EXPECT_TRUE(store->WriteString(nullptr, "n", "x"));
}

TEST_F(Settings, ProfileStoreUsesTheIniInTheWindowsFolder)
{
    OpenSettingsStore(nullptr, "VANTREL.EXE");
    CSettingsStore* store = SettingsStore();
    ASSERT_NE(nullptr, store);
    EXPECT_TRUE(store->WriteString("Player", "Name", "value one"));
    EXPECT_TRUE(store->WriteString("Player", "Count", "42"));
    EXPECT_TRUE(store->WriteString("Other", "x", "y"));
    std::string text = bench::ReadFile(ProfilePath());
    EXPECT_NE(std::string::npos, text.find("[Player]")) << text;
    EXPECT_NE(std::string::npos, text.find("Name=value one")) << text;

    EXPECT_STREQ("value one", store->GetString("Player", "Name", nullptr));
    EXPECT_EQ(42, store->GetInt("Player", "Count", 0));
    EXPECT_EQ(7, store->GetInt("Player", "Missing", 7));
    const char* fallback = "dflt";
    const char* got = store->GetString("Player", "Missing", fallback);
    EXPECT_STREQ("dflt", got);
    EXPECT_NE(fallback, got);   // a copy in the store's buffer
    EXPECT_EQ(nullptr, store->GetString("Player", "Missing", nullptr));
    EXPECT_EQ(nullptr, store->GetString("Player", "Missing", ""));

    // a value that does not fit the buffer reads as absent
    EXPECT_TRUE(store->WriteString("Player", "Long", std::string(300, 'l').c_str()));
    EXPECT_EQ(nullptr, store->GetString("Player", "Long", nullptr));
    EXPECT_TRUE(store->WriteString("Player", "Fits", std::string(259, 'f').c_str()));
    ASSERT_NE(nullptr, store->GetString("Player", "Fits", nullptr));
    EXPECT_EQ(std::string(259, 'f'), store->GetString("Player", "Fits", nullptr));

    // null string: one key; null name: the section
    EXPECT_TRUE(store->WriteString("Player", "Name", nullptr));
    EXPECT_EQ(nullptr, store->GetString("Player", "Name", nullptr));
    EXPECT_STREQ("42", store->GetString("Player", "Count", nullptr));
    EXPECT_TRUE(store->WriteString("Player", nullptr, nullptr));
    EXPECT_EQ(nullptr, store->GetString("Player", "Count", nullptr));
    EXPECT_STREQ("y", store->GetString("Other", "x", nullptr));
    CloseSettingsStore();
    text = bench::ReadFile(ProfilePath());
    EXPECT_EQ(std::string::npos, text.find("[Player]")) << text;

    // without a name the store exists but holds nothing
    OpenSettingsStore(nullptr, nullptr);
    ASSERT_NE(nullptr, SettingsStore());
    EXPECT_EQ(3, SettingsStore()->GetInt("Other", "x", 3));
    EXPECT_EQ(nullptr, SettingsStore()->GetString("Other", "x", "d"));
    EXPECT_FALSE(SettingsStore()->WriteString("Other", "x", "z"));
}

// DeleteKeyTree under the Windows versions Wine can pretend to be. The
// version is read when a process starts, so a child runs the deletion.
TEST_F(Settings, DeleteKeyTreeRemovesAWholeTreeOnEveryWindows)
{
    const std::string key = std::string(kRoot) + "\\Tree";
    MakeTree(key);
    EXPECT_EQ(ERROR_SUCCESS, DeleteKeyTree(HKEY_CURRENT_USER, key.c_str()));
    EXPECT_FALSE(bench::KeyExists(HKEY_CURRENT_USER, key));
    EXPECT_TRUE(bench::KeyExists(HKEY_CURRENT_USER, kRoot));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteKeyTree(HKEY_CURRENT_USER, key.c_str()));

    // the empty name would be the parent itself
    MakeTree(key);
    EXPECT_NE(ERROR_SUCCESS, DeleteKeyTree(HKEY_CURRENT_USER, ""));
    EXPECT_NE(ERROR_SUCCESS, DeleteKeyTree(HKEY_CURRENT_USER, nullptr));
    HKEY tree;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_CURRENT_USER, key.c_str(), &tree));
    EXPECT_NE(ERROR_SUCCESS, DeleteKeyTree(tree, ""));
    RegCloseKey(tree);
    EXPECT_TRUE(bench::KeyExists(HKEY_CURRENT_USER, key + "\\Beta\\Two\\Deep"));

    const std::string child = bench::Built("tests\\win_regchild.exe");
    struct { const char* version; DWORD major; bool win95; } modes[] = {
        {nullptr, 6, false}, {"win95", 4, true}, {"nt351", 3, false}, {"nt40", 4, false},
    };
    for (auto& m : modes) {
        MakeTree(key);
        bench::SetWindowsVersion("win_regchild.exe", m.version);
        DWORD code = regstate::Run(child, "deltree \"" + key + "\"");
        bench::SetWindowsVersion("win_regchild.exe", nullptr);
        const char* name = m.version ? m.version : "default";
        ASSERT_NE((DWORD)-1, code) << name;
        EXPECT_EQ(m.major, (code >> 16) & 0xFF) << name;
        EXPECT_EQ(m.win95, (code >> 24) & 1) << name;
        EXPECT_EQ(0u, code & 0xFFFF) << name;
        EXPECT_FALSE(bench::KeyExists(HKEY_CURRENT_USER, key)) << name;
        EXPECT_TRUE(bench::KeyExists(HKEY_CURRENT_USER, kRoot)) << name;
    }
}

}  // namespace
