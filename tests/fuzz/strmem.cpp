// The shipped programs' own C routines against the C library's on the same
// inputs. Input: a length, then two texts.
#include "input.h"

namespace own {
#include "strmem.c"
}

static int Sign(int v) { return (v > 0) - (v < 0); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 3);
    const char *a = in[1], *b = in[2];
    size_t la = strlen(a), lb = strlen(b), n = SizeOf(in[0], la + lb + 2);
    size_t common = n < la + 1 ? n : la + 1;
    common = common < lb + 1 ? common : lb + 1;
    int c = *b ? (unsigned char)*b : (unsigned char)*in[0];
    CHECK(own::strlen(a) == la);
    CHECK(Sign(own::strcmp(a, b)) == Sign(strcmp(a, b)));
    CHECK(Sign(own::strncmp(a, b, n)) == Sign(strncmp(a, b, n)));
    CHECK(Sign(own::memcmp(a, b, common)) == Sign(memcmp(a, b, common)));
    CHECK(own::strchr(a, c) == strchr(a, c) && own::strrchr(a, c) == strrchr(a, c));
    CHECK(own::memchr(a, c, common) == memchr(a, c, common));
    CHECK(own::strspn(a, b) == strspn(a, b) && own::strpbrk(a, b) == strpbrk(a, b));
    CHECK(own::strstr(a, b) == strstr(a, b));

    // copies and fills in blocks of their exact size, overlapping or not
    auto mine = Copy(a), theirs = Copy(a);
    size_t from = n % (la + 1), to = lb % (la + 1), count = la + 1 - (from > to ? from : to);
    CHECK(own::memmove(mine.get() + to, mine.get() + from, count) == mine.get() + to);
    memmove(theirs.get() + to, theirs.get() + from, count);
    CHECK(memcmp(mine.get(), theirs.get(), la + 1) == 0);
    CHECK(own::memset(mine.get() + from, c, la + 1 - from) == mine.get() + from);
    memset(theirs.get() + from, c, la + 1 - from);
    CHECK(memcmp(mine.get(), theirs.get(), la + 1) == 0);
    auto copy = Block(la + 1);
    CHECK(own::strcpy(copy.get(), a) == copy.get() && memcmp(copy.get(), a, la + 1) == 0);
    CHECK(own::memcpy(copy.get(), b, common) == copy.get() && memcmp(copy.get(), b, common) == 0);
    return 0;
}
