// Program paths of the registration. Input: a buffer size, then three texts.
#include "input.h"
#include "progpath.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 4);
    size_t n = SizeOf(in[0], 1100);
    const char *a = in[1], *b = in[2], *c = in[3];

    // cut in place: what is left is a piece of the command
    auto command = Copy(a);
    size_t name = ExtractProgramPath(command.get());
    CHECK(name <= strlen(command.get()) && strstr(a, command.get()));
    auto icon = Copy(a);
    int at = IconProgramPath(icon.get());
    CHECK(at == -1 || (at > 0 && (size_t)at <= strlen(icon.get()) && icon[at - 1] == '\\'));

    int index = FindInList(a, b);
    if (index >= 0) {
        // the entry at that place, counted by hand
        CHECK(strlen(a) < 260);
        std::string list = a, entry;
        size_t from = 1;
        for (int i = 0; i <= index; ++i) {
            size_t to = list.find(list[0], from);
            CHECK(to != std::string::npos);
            entry = list.substr(from, to - from);
            from = to + 1;
        }
        CHECK(EqualNoCase(entry.c_str(), b));
    }
    if (IsPathInFolder(a, b))
        CHECK(*b && EqualNoCaseN(a, b, strlen(b)));

    auto dst = Block(n);
    std::string quoted = strchr(b, ' ') ? "\"" + std::string(b) + "\"" : b;
    std::string wanted = *c ? quoted + " " + c : quoted;
    // a command written with nothing but switches reads back as its program
    // (a full path: a first quoted token that starts like a switch is one)
    bool switches = !strchr(c, '"');
    for (const char* t = c; *t; ++t)
        if (*t != ' ' && (t == c || t[-1] == ' '))
            switches = switches && strchr("%/-^", *t);
    size_t length = strlen(b);
    if (BuildCommand(dst.get(), n, b, c)) {
        CHECK(wanted == dst.get());
        auto back = Copy(dst.get());
        ExtractProgramPath(back.get());
        if (switches && length && !strchr(b, '"') && !strchr(" %/-^", b[0]) && b[length - 1] != ' ')
            CHECK(strcmp(back.get(), b) == 0);
    } else
        CHECK(wanted.size() >= n && (n == 0 || !dst[0]));

    auto profile = Block(n);
    if (ProfileFileName(profile.get(), n, b)) {
        std::string p = profile.get();
        CHECK(p.size() >= 4 && p.compare(p.size() - 4, 4, ".ini") == 0 && StartsWith(b, p.substr(0, p.size() - 4)));
    } else {
        CHECK(n == 0 || !profile[0]);
    }
    return 0;
}
