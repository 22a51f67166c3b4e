// The engine's presentation reader. Input: the whole document.
#include "deck.h"
#include "input.h"

namespace {

bool Trimmed(const char* s)
{
    size_t n = strlen(s);
    return !n || (s[0] != ' ' && s[0] != '\t' && s[n - 1] != ' ' && s[n - 1] != '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto text = Block(size, data, size);   // unterminated, as the engine reads it
    size_t separators = 0;
    for (size_t i = 0; i + 3 <= size; ++i)
        separators += memcmp(text.get() + i, "---", 3) == 0;

    // a zero in the text cuts what the reader shows of a line: no blanks rule then
    bool plain = !memchr(data, 0, size);

    CDeck deck;
    CHECK(deck.Read(text.get(), size));
    CHECK(deck.Count() <= separators + 1 && (!plain || Trimmed(deck.Title())) && !strchr(deck.Title(), '\n'));
    for (size_t i = 0; i < deck.Count(); ++i) {
        const char *heading = deck.Heading(i), *body = deck.Body(i);
        size_t n = strlen(body);
        CHECK((!plain || (*heading && Trimmed(heading))) && !strchr(heading, '\n'));
        CHECK(!plain || (strncmp(body, "\r\n", 2) != 0 && (n < 2 || strcmp(body + n - 2, "\r\n") != 0)));
    }
    CHECK(!*deck.Heading(deck.Count()) && !*deck.Body(deck.Count()));

    // read again: the first deck goes
    CHECK(deck.Read(text.get(), size / 2) && deck.Count() <= separators + 1);
    return 0;
}
