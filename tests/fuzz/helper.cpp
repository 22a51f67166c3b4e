// The removal helper's rules. Input: a buffer size, then two texts.
#include "helperrules.h"
#include "input.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 3);
    size_t n = SizeOf(in[0], 600);
    const char *a = in[1], *b = in[2];
    const std::string path = a;

    if (HasReportSwitch(a)) {
        bool found = false;
        for (const char* p = a; *p && !found; ++p)
            found = EqualNoCaseN(p, "/msg", 4);
        CHECK(found);
    }

    auto folder = Copy(a);
    bool removable = true;
    const char* name = SplitAtLastBackslash(folder.get(), &removable);
    if (!name) {
        CHECK(!strchr(a, '\\') && path == folder.get());
    } else {
        CHECK(!strchr(name, '\\') && path == std::string(folder.get()) + "\\" + name);
        size_t kept = strlen(folder.get());
        CHECK(removable == (kept >= 1 && folder[kept - 1] != ':'));
    }

    // what dst held: as much of a as fits, unterminated when a is longer
    auto dst = Block(n, a, strlen(a) + 1);
    bool terminated = strlen(a) < n;
    AppendShown(dst.get(), n, b);
    if (!n || !terminated)
        return 0;
    std::string shown = dst.get(), wanted = path + b;
    CHECK(shown.size() < n && shown == wanted.substr(0, n - 1));
    return 0;
}
