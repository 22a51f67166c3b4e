#include <gtest/gtest.h>

#include "bench.h"
#include "quillset.h"

using namespace bench;

// Setup carries the built removal helper byte for byte.
TEST(Programs, SetupCarriesTheHelper)
{
    HMODULE setup = LoadLibraryExA(Built("Quillset.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup);
    HRSRC res = FindResourceA(setup, MAKEINTRESOURCEA(IDR_HELPER), "FILE");
    ASSERT_NE(nullptr, res);
    DWORD size = SizeofResource(setup, res);
    const char* bytes = (const char*)LockResource(LoadResource(setup, res));
    std::string helper = ReadFile(Built("Clearoot.exe"));
    EXPECT_EQ(helper.size(), size);
    EXPECT_TRUE(bytes && helper == std::string(bytes, size));
    FreeLibrary(setup);
}

// Line breaks in the texts are single line feeds.
TEST(Programs, TextsBreakLinesWithLineFeeds)
{
    HMODULE setup = LoadLibraryExA(Built("Quillset.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup);
    char text[1024];
    ASSERT_GT(LoadStringA(setup, IDS_CLEANUP_OFFER, text, sizeof text), 0);
    EXPECT_STREQ("Would you like to clean up the install-set? \n(This would erase the set of files from which you "
                 "installed Netrama.)", text);
    ASSERT_GT(LoadStringA(setup, IDS_RESTART_NAVIGATOR, text, sizeof text), 0);
    EXPECT_EQ('\n', text[0]);
    FreeLibrary(setup);

    HMODULE helper = LoadLibraryExA(Built("Clearoot.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, helper);
    ASSERT_GT(LoadStringA(helper, 1, text, sizeof text), 0);
    EXPECT_STREQ(" has been removed successfully \nfrom ", text);
    FreeLibrary(helper);
}
