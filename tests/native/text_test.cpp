#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>

#include "text.h"

namespace own {   // the shipped programs' routines beside the C library's
#include "strmem.c"
}

TEST(CStr, GrowsCopiesAndCuts)
{
    CStr s("C:\\ZYNE");
    s.AppendChar('\\');
    s.Append("VANTREL.EXE");
    EXPECT_STREQ("C:\\ZYNE\\VANTREL.EXE", s);
    EXPECT_EQ(19u, s.Length());

    CStr copy = s;
    s.Truncate(7);
    EXPECT_STREQ("C:\\ZYNE", s);
    EXPECT_STREQ("C:\\ZYNE\\VANTREL.EXE", copy);

    s.Set(s.c_str() + 3);   // from its own characters
    EXPECT_STREQ("ZYNE", s);

    CStr empty;
    EXPECT_STREQ("", empty.c_str());
    EXPECT_EQ(nullptr, empty.Data());
    empty = (const char*)nullptr;
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(BoundedCopy, RefusesWhatDoesNotFitAndNeverCuts)
{
    char buf[8];
    EXPECT_TRUE(CopyText(buf, "1234567"));   // 7 characters and the zero
    EXPECT_STREQ("1234567", buf);
    EXPECT_FALSE(CopyText(buf, "12345678"));
    EXPECT_STREQ("", buf);

    EXPECT_TRUE(CopyText(buf, "C:\\A"));
    EXPECT_TRUE(AppendText(buf, "\\B"));
    EXPECT_FALSE(AppendText(buf, "\\CD"));   // would need 9
    EXPECT_STREQ("C:\\A\\B", buf);

    char guard[12];
    memset(guard, 'x', sizeof guard);
    EXPECT_FALSE(CopyText(guard, 4, "abcdef"));
    EXPECT_EQ('x', guard[4]);   // nothing written past the given size
}

TEST(Compare, FoldsOnlyLetters)
{
    EXPECT_TRUE(EqualNoCase("SETUP.EXE", "setup.exe"));
    EXPECT_TRUE(EqualNoCase("", ""));
    EXPECT_FALSE(EqualNoCase("setup.ex", "setup.exe"));
    EXPECT_FALSE(EqualNoCase("[", "{"));   // 0x5B and 0x7B differ by 0x20 but are not letters
    EXPECT_TRUE(EqualNoCaseN("/MSGS", "/msg", 4));
    EXPECT_FALSE(EqualNoCaseN("/ms", "/msg", 4));
}

TEST(LeadingNumber, ReadsLikeTheRuntime)
{
    struct { const char* text; long n; } cases[] = {
        {"1", 1}, {"  1", 1}, {"+1", 1}, {"-3", -3}, {"12abc", 12}, {"yes", 0}, {"", 0},
        {" - 4", 0}, {"0x10", 0}, {"01", 1}, {"99999999999999999999", 0x7FFFFFFFL},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.n, LeadingNumber(c.text)) << c.text;
    EXPECT_EQ(0, LeadingNumber(nullptr));
}

TEST(ReplaceArgs, OnePassOverBothMarks)
{
    EXPECT_STREQ("Setup cannot find 'A.DLL'.", ReplaceArgs("Setup cannot find '%1'.", "A.DLL", 0));
    EXPECT_STREQ("x in C:\\ - x", ReplaceArgs("%1 in %2 - %1", "x", "C:\\"));
    EXPECT_STREQ("has been installed correctly. ", ReplaceArgs("%1has been installed correctly. %2", 0, ""));
    // a replacement holding a mark is not expanded again
    EXPECT_STREQ("C:\\100%2 and B", ReplaceArgs("%1 and %2", "C:\\100%2", "B"));
    EXPECT_STREQ("50%% %3 %", ReplaceArgs("50%% %3 %", "a", "b"));
    EXPECT_STREQ("", ReplaceArgs(nullptr, "a", "b"));
}

// The programs' own C routines against the C library's (the fuzz target
// strmem compares them on any input): compares by sign, searches by place.
TEST(OwnCRoutines, AnswerAsTheCLibrary)
{
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    struct { const char *a, *b; size_t n; } cases[] = {
        {"", "a", 1}, {"a", "", 1}, {"ab", "abc", 3}, {"abc", "ab", 2}, {"abc", "abd", 9}, {"\x80", "\x7f", 1},
        {"axa", "a", 5}, {"xxyx", "xy", 4}, {"abcabc", "cab", 6},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + "|" + c.b);
        size_t m = std::min(c.n, 1 + std::min(strlen(c.a), strlen(c.b)));
        EXPECT_EQ(sign(strcmp(c.a, c.b)), sign(own::strcmp(c.a, c.b)));
        EXPECT_EQ(sign(strncmp(c.a, c.b, c.n)), sign(own::strncmp(c.a, c.b, c.n)));
        EXPECT_EQ(sign(memcmp(c.a, c.b, m)), sign(own::memcmp(c.a, c.b, m)));
        EXPECT_EQ(strstr(c.a, c.b), own::strstr(c.a, c.b));
        EXPECT_EQ(strrchr(c.a, c.b[0]), own::strrchr(c.a, c.b[0]));
    }
    char mine[] = "0123456789", theirs[] = "0123456789";   // a copy onto itself, backwards
    own::memmove(mine + 1, mine, 8);
    memmove(theirs + 1, theirs, 8);
    EXPECT_STREQ(theirs, mine);
}
