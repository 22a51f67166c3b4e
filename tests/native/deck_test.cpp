#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deck.h"

namespace {

// A deck as "title|heading:body|heading:body".
std::string Shape(const std::string& text)
{
    CDeck deck;
    EXPECT_TRUE(deck.Read(text.data(), text.size()));
    std::string s = deck.Title();
    for (size_t i = 0; i < deck.Count(); ++i)
        s += std::string("|") + deck.Heading(i) + ":" + deck.Body(i);
    return s;
}

}  // namespace

TEST(Deck, TitleAndSlides)
{
    struct {
        const char* text;
        const char* shape;
    } cases[] = {
        {"", ""},
        {"Sales", "Sales"},
        {"Sales\n---\nQ1\nup\ndown\n---\nQ2\n", "Sales|Q1:up\r\ndown|Q2:"},
        {"Sales\r\n---\r\nQ1\r\nup\r\n", "Sales|Q1:up"},
        // text right after the title is the first slide
        {"Sales\nQ1\nup", "Sales|Q1:up"},
        // separators may carry blanks; other dashes are text
        {"T\n  ---  \nA\n----\n-- -\n", "T|A:----\r\n-- -"},
        // empty slides are skipped
        {"T\n---\n---\n  \n---\nA\n---\n", "T|A:"},
        // blank lines: dropped around a slide, kept inside its body
        {"T\n---\n\n  A  \n\nline 1\n\n\nline 2\n\n", "T|A:line 1\r\n\r\n\r\nline 2"},
        // indentation of body lines stays, trailing blanks go
        {"T\n---\nA\n  - point \t\n", "T|A:  - point"},
        // title trimmed; a file without a title line has an empty title
        {"  Sales \t\n---\nA", "Sales|A:"},
        {"\n---\nA", "|A:"},
        {"T\n---\nA\n---", "T|A:"},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.shape, Shape(c.text)) << c.text;
}

TEST(Deck, ReadsOnlyTheGivenLengthAndCanBeReread)
{
    const char text[] = "T\n---\nA\n---\nB";
    CDeck deck;
    EXPECT_TRUE(deck.Read(text, 7));   // "T\n---\nA"
    EXPECT_EQ(1u, deck.Count());
    EXPECT_TRUE(deck.Read(text, sizeof text - 1));
    EXPECT_EQ(2u, deck.Count());
    EXPECT_STREQ("B", deck.Heading(1));
    EXPECT_STREQ("", deck.Heading(2));   // out of range reads empty

    std::string many = "T\n";
    for (int i = 0; i < 5000; ++i)
        many += "---\nS" + std::to_string(i) + "\n";
    EXPECT_TRUE(deck.Read(many.data(), many.size()));
    EXPECT_EQ(5000u, deck.Count());
    EXPECT_STREQ("S4999", deck.Heading(4999));
}
