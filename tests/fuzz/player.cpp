// The player's command line and caption. Input: caption size, program,
// title, then the command line.
#include "caption.h"
#include "cmdline.h"
#include "input.h"

namespace {

// Every option a trimmed, non-empty part of the line.
struct Sink : COptionSink {
    const char* line;
    void OnOption(const char* name, const char* value) override
    {
        for (const char* part : {name, value}) {
            size_t n = strlen(part);
            CHECK(n && part[0] != ' ' && part[n - 1] != ' ' && strstr(line, part));
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 4);
    const char* line = in[3];
    Sink sink;
    sink.line = line;
    CStr document("junk");
    if (ReadCommandLine(line, sink, document))
        CHECK(!document.IsEmpty() && strstr(line, document));
    else
        CHECK(document.IsEmpty());

    CStr name, value;
    if (SplitOption(line, strlen(line), name, value))
        CHECK(!strchr(name, '=') && !name.IsEmpty() && !value.IsEmpty());

    // the caption in a buffer of exactly its size
    size_t n = SizeOf(in[0], 600);
    const char *program = in[1], *title = in[2];
    bool titleFirst = TitleFirst(n & 7, n >> 3);
    auto out = Block(n);
    MakeCaption(out.get(), n, program, title, titleFirst);
    if (n == 0)
        return 0;
    CHECK(memchr(out.get(), 0, n));
    std::string caption = out.get(), whole = titleFirst ? std::string(title) + " - " + program
                                                       : std::string(program) + " - " + title;
    if (whole.size() < n)
        CHECK(caption == whole);
    else if (strlen(program) >= n)
        CHECK(caption.empty());
    else if (caption != program)   // cut: the whole room used, the program name whole
        CHECK(caption.size() == n - 1 && caption.find(program) != std::string::npos &&
              caption.find("...") != std::string::npos);
    return 0;
}
