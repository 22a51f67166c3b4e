#include <gtest/gtest.h>

#include <memory>

#include "appentry.h"
#include "bench.h"
#include "msgbox.h"
#include "quillset.h"
#include "regstate.h"

using regstate::IsString;

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE, CU = HKEY_CURRENT_USER;
const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kAppEntry = kAppPaths + "\\VANTREL.EXE";
const std::string kUninstallEntry = kUninstall + "\\VANTREL.EXE";
const std::string kCompany = "Software\\ZyneBench Co";
const std::string kProduct = kCompany + "\\P";

// What setup files a program without a product name under.
const char* Family()
{
    static CStr family = LoadText(IDS_PRODUCT_FAMILY);
    return family;
}

class AppEntry : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        for (const char* name : {"VANTREL.EXE", "ZYNEBNCH.EXE"})
            bench::DeleteKeyTree(LM, kAppPaths + "\\" + name);
        bench::DeleteKeyTree(LM, kUninstallEntry);
        bench::DeleteKeyTree(CU, kCompany);
        bench::DeleteKeyTree(CU, "Software\\P");
        bench::DeleteKeyTree(CU, "Software\\Zyne Systems");
        bench::RemoveTree("C:\\bench\\entry");
        bench::RemoveTree("C:\\bench\\apps");
        DeleteFileA("C:\\ZYNEBNCH.EXE");
    }
    static CVersionInfo Info(const char* company, const char* product, const char* version)
    {
        CVersionInfo info;
        info.companyName = company;
        info.productName = product;
        info.versionText = version;
        info.valid = 1;
        return info;
    }
};

TEST_F(AppEntry, LayoutWrittenBySetupAndRemovedAgain)
{
    struct { std::string folder, uninstall; } cases[] = {
        {"C:\\ZYNE", "C:\\ZYNE\\SETUP.EXE /uninstall"},
        // a blank in the path: the uninstall command quotes it, App Paths does not
        {"C:\\Program Files\\Zyne", "\"C:\\Program Files\\Zyne\\SETUP.EXE\" /uninstall"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.folder);
        std::string setup = bench::FreshFolder("entry\\set") + "\\SETUP.EXE";
        bench::Copy(bench::Built("tests\\win_regchild.exe"), setup);
        std::string args = "\"" + c.folder + "\" VANTREL.EXE \"ZyneBench Co\" P 1.95";
        ASSERT_EQ(1u, regstate::Run(setup, "write " + args) & 0xFFFF);
        EXPECT_TRUE(IsString(LM, kAppEntry, nullptr, c.folder + "\\VANTREL.EXE"));
        EXPECT_TRUE(IsString(LM, kAppEntry, "Path", c.folder));
        EXPECT_TRUE(IsString(CU, kProduct + "\\1.95", "Path", c.folder));
        EXPECT_TRUE(regstate::HasNoValuesOrSubkeys(CU, kCompany + "\\P 1.95"));
        EXPECT_TRUE(IsString(LM, kUninstallEntry, "DisplayName", "P 1.95"));
        EXPECT_TRUE(IsString(LM, kUninstallEntry, "UninstallString", c.uninstall));
        std::string quiet = c.uninstall.substr(0, c.uninstall.rfind(' ')) + " /S /uninstall";   // no window at all
        EXPECT_TRUE(IsString(LM, kUninstallEntry, "QuietUninstallString", quiet));

        bench::SetRegString(CU, kProduct + "\\1.90", "Path", "C:\\OLDER");
        ASSERT_EQ(1u, regstate::Run(setup, "remove " + args) & 0xFFFF);
        EXPECT_FALSE(bench::KeyExists(LM, kAppEntry));
        EXPECT_FALSE(bench::KeyExists(LM, kUninstallEntry));
        EXPECT_FALSE(bench::KeyExists(CU, kProduct + "\\1.95"));
        EXPECT_FALSE(bench::KeyExists(CU, kCompany + "\\P 1.95"));
        EXPECT_EQ("C:\\OLDER", bench::RegString(CU, kProduct + "\\1.90", "Path"));   // the product key stays
        Reset();
    }
}

TEST_F(AppEntry, ProductNameFallsBackToTheFamilyName)
{
    CSetupFile program("C:\\ZYNE", "VANTREL.EXE");
    CVersionInfo info = Info("ZyneBench Co", "", "1.95");
    CSetupFolder extra("C:\\PLUGINS\\");
    WriteUninstallEntry(program, &info, Family(), &extra);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_TRUE(IsString(LM, kUninstallEntry, "DisplayName", "Zyne Player/Plugin 1.95"));
    EXPECT_TRUE(IsString(LM, kUninstallEntry, "UninstallString",
                         std::string("C:\\ZYNE\\") + (strrchr(self, '\\') + 1) + " /uninstall"));
    EXPECT_TRUE(IsString(CU, kCompany + "\\Zyne Player/Plugin\\1.95", "Path", "C:\\ZYNE;C:\\PLUGINS"));
    EXPECT_TRUE(bench::KeyExists(CU, kCompany + "\\Zyne Player/Plugin 1.95"));

    RemoveUninstallEntry(program, &info, Family());
    EXPECT_FALSE(bench::KeyExists(CU, kCompany + "\\Zyne Player/Plugin\\1.95"));
    EXPECT_FALSE(bench::KeyExists(CU, kCompany + "\\Zyne Player/Plugin 1.95"));
    EXPECT_TRUE(bench::KeyExists(CU, kCompany + "\\Zyne Player/Plugin"));
    EXPECT_FALSE(bench::KeyExists(LM, kUninstallEntry));
}

TEST_F(AppEntry, WithoutVersionRecordTheProgramFileIsRead)
{
    std::string folder = bench::FreshFolder("entry\\player");
    bench::Copy(bench::Built("Vantrel.exe"), folder + "\\VANTREL.EXE");
    CSetupFile program(folder.c_str(), "VANTREL.EXE");
    WriteUninstallEntry(program, nullptr, Family(), nullptr);
    EXPECT_TRUE(IsString(CU, "Software\\Zyne Systems\\Zyne Talkweave Player\\1.95", "Path", folder));
    EXPECT_TRUE(IsString(LM, kUninstallEntry, "DisplayName", "Zyne Talkweave Player 1.95"));
    EXPECT_TRUE(IsString(LM, kAppEntry, nullptr, folder + "\\VANTREL.EXE"));

    RemoveUninstallEntry(program, nullptr, Family());
    EXPECT_FALSE(bench::KeyExists(CU, "Software\\Zyne Systems\\Zyne Talkweave Player\\1.95"));
    EXPECT_FALSE(bench::KeyExists(CU, "Software\\Zyne Systems\\Zyne Talkweave Player 1.95"));
    EXPECT_FALSE(bench::KeyExists(LM, kAppEntry));
    EXPECT_FALSE(bench::KeyExists(LM, kUninstallEntry));
}

TEST_F(AppEntry, RemovalKeepsAnAppPathsEntryOfAnotherFolder)
{
    struct { const char* name; DWORD type; std::string value; bool removed; } cases[] = {
        {"ours", REG_SZ, "C:\\ZYNE\\VANTREL.EXE", true},
        {"ours in another case", REG_SZ, "c:\\zyne\\vantrel.exe", true},
        {"another folder", REG_SZ, "C:\\OTHER\\VANTREL.EXE", false},
        {"a folder that merely starts alike", REG_SZ, "C:\\ZYNE2\\VANTREL.EXE", false},
        {"empty", REG_SZ, "", false},
        {"a number", REG_DWORD, "C:\\Z", false},
        {"too long for its buffer", REG_SZ, "C:\\ZYNE\\" + std::string(300, 'v'), false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSetupFile program("C:\\ZYNE", "VANTREL.EXE");
        CVersionInfo info = Info("ZyneBench Co", "P", "1.95");
        WriteUninstallEntry(program, &info, Family(), nullptr);
        regstate::Set(LM, kAppEntry, nullptr, c.type, c.type == REG_SZ ? c.value + '\0' : c.value);
        RemoveUninstallEntry(program, &info, Family());
        EXPECT_EQ(!c.removed, bench::KeyExists(LM, kAppEntry));
        EXPECT_FALSE(bench::KeyExists(LM, kUninstallEntry));   // no ownership test
        EXPECT_FALSE(bench::KeyExists(CU, kProduct + "\\1.95"));
        EXPECT_TRUE(bench::KeyExists(CU, kProduct));
        Reset();
    }
}

TEST_F(AppEntry, IncompleteRecordsTouchNothingElse)
{
    // an empty file name would make the tables' own keys the program's
    bench::SetRegString(LM, kAppPaths + "\\ZYNEBNCH.EXE", nullptr, "C:\\ZYNEBNCH.EXE");
    std::string tables = regstate::Dump(LM, kAppPaths) + regstate::Dump(LM, kUninstall);
    CSetupFile nameless("C:\\ZYNE", "");
    CVersionInfo info = Info("ZyneBench Co", "P", "1.95");
    WriteUninstallEntry(nameless, &info, Family(), nullptr);
    RemoveUninstallEntry(nameless, &info, Family());
    EXPECT_EQ(tables, regstate::Dump(LM, kAppPaths) + regstate::Dump(LM, kUninstall));

    // without a version the per-user keys are neither made nor deleted
    CSetupFile program("C:\\ZYNE", "VANTREL.EXE");
    CVersionInfo noVersion = Info("ZyneBench Co", "P", "");
    WriteUninstallEntry(program, &noVersion, Family(), nullptr);
    EXPECT_FALSE(bench::KeyExists(CU, kCompany));
    bool found = true;   // and the entry names no empty version, nor an empty maker below
    bench::RegString(LM, kUninstallEntry, "DisplayVersion", &found);
    EXPECT_FALSE(found);
    EXPECT_TRUE(IsString(LM, kUninstallEntry, "Publisher", "ZyneBench Co"));
    bench::SetRegString(CU, kProduct + "\\1.95", "Path", "C:\\ZYNE");
    RemoveUninstallEntry(program, &noVersion, Family());
    EXPECT_EQ("C:\\ZYNE", bench::RegString(CU, kProduct + "\\1.95", "Path"));
    EXPECT_FALSE(bench::KeyExists(LM, kUninstallEntry));

    // without a company they would land directly below Software
    CVersionInfo noCompany = Info("", "P", "1.95");
    WriteUninstallEntry(program, &noCompany, Family(), nullptr);
    EXPECT_FALSE(bench::KeyExists(CU, "Software\\P"));
    EXPECT_TRUE(IsString(LM, kUninstallEntry, "DisplayName", "P 1.95"));
    bench::RegString(LM, kUninstallEntry, "Publisher", &found);
    EXPECT_FALSE(found);
    EXPECT_TRUE(IsString(LM, kUninstallEntry, "DisplayVersion", "1.95"));
    RemoveUninstallEntry(program, &noCompany, Family());
    EXPECT_FALSE(bench::KeyExists(LM, kUninstallEntry));
}

TEST_F(AppEntry, FindAppPath)
{
    std::string apps = bench::FreshFolder("apps");
    std::string zyne = apps + "\\ZYNE", other = apps + "\\OTHER", empty = apps + "\\EMPTY";
    for (auto& f : {zyne, other, empty})
        bench::MakeFolders(f);
    bench::WriteFile(zyne + "\\VANTREL.EXE", "x");
    bench::WriteFile(other + "\\VANTREL.EXE", "x");
    bench::WriteFile("C:\\ZYNEBNCH.EXE", "x");

    struct { const char* name; const char* file; DWORD type; std::string path; const char* folder; } cases[] = {
        {"first of a list", "VANTREL.EXE", REG_SZ, zyne + ";" + other, zyne.c_str()},
        {"trailing backslash", "VANTREL.EXE", REG_SZ, zyne + "\\", zyne.c_str()},
        {"root folder", "ZYNEBNCH.EXE", REG_SZ, "C:\\", "C:"},
        {"program not in the first folder", "VANTREL.EXE", REG_SZ, empty + ";" + other, nullptr},
        {"first folder missing", "VANTREL.EXE", REG_SZ, apps + "\\GONE;" + zyne, nullptr},
        {"a file, not a folder", "VANTREL.EXE", REG_SZ, zyne + "\\VANTREL.EXE", nullptr},
        {"empty", "VANTREL.EXE", REG_SZ, "", nullptr},
        {"a number", "VANTREL.EXE", REG_DWORD, "C:\\Z", nullptr},
        {"too long for its buffer", "VANTREL.EXE", REG_SZ, zyne + ";" + std::string(300, 'o'), nullptr},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string key = kAppPaths + "\\" + c.file;
        bench::DeleteKeyTree(LM, key);
        regstate::Set(LM, key, "Path", c.type, c.type == REG_SZ ? c.path + '\0' : c.path);
        std::unique_ptr<CSetupFolder> found(FindAppPath(c.file));
        if (c.folder) {
            ASSERT_NE(nullptr, found.get());
            EXPECT_STREQ(c.folder, found->Path());
        } else {
            EXPECT_EQ(nullptr, found.get());
        }
    }

    // the program file deleted, the folder still there
    bench::SetRegString(LM, kAppEntry, "Path", zyne);
    EXPECT_NE(nullptr, std::unique_ptr<CSetupFolder>(FindAppPath("VANTREL.EXE")).get());
    DeleteFileA((zyne + "\\VANTREL.EXE").c_str());
    EXPECT_EQ(nullptr, FindAppPath("VANTREL.EXE"));
    // no Path value, no key
    bench::DeleteRegValue(LM, kAppEntry, "Path");
    EXPECT_EQ(nullptr, FindAppPath("VANTREL.EXE"));
    bench::DeleteKeyTree(LM, kAppEntry);
    EXPECT_EQ(nullptr, FindAppPath("VANTREL.EXE"));
    EXPECT_EQ(nullptr, FindAppPath(""));
}

}  // namespace
