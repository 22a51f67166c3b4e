// The set checker's reading of a description and its name and flag faults.
// Input: a section name, a key name, then the description's text.
#include "descrules.h"
#include "input.h"
#include "setrules.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 3);
    const char *section = in[0], *key = in[1];
    // the text unterminated, as the checker holds it
    size_t n = strlen(in[2]);
    auto text = Block(n, in[2], n);
    const char* end = text.get() + n;
    int lines = 1;
    for (const char* p = text.get(); p < end; ++p)
        lines += *p == '\n';

    int at = FindIniSection(text.get(), n, section);
    CHECK(at >= 0 && at <= lines);
    for (int nth = 0; nth < 2; ++nth) {
        IniKey found = FindIniKey(text.get(), n, section, key, nth);
        CHECK(found.line == 0 || (at && found.line > at && found.line <= lines));
        CHECK(found.value >= text.get() || !found.valueLength);
        if (!found.valueLength)
            continue;
        CHECK(found.value + found.valueLength <= end);
        std::string value(found.value, found.valueLength);
        auto flags = Copy(value.c_str());
        FlagsFault fault = FileFlagsFault(flags.get());
        size_t length = strlen(flags.get());
        CHECK(fault != kFlagsOk || length == 0 || (length == 3 && flags[0] <= '3' && flags[1] <= '3'));
        FileFlags f = ParseFileFlags(flags.get());   // what setup reads: as they look
        if (fault == kFlagsOk && length == 3)
            CHECK(f.variants == flags[0] - '0' && f.kind == flags[1] - '0' && f.critical == (flags[2] <= '3'));
        if (SubfolderStaysInside(flags.get()))
            CHECK(!strchr(flags.get(), ':') && flags[0] != '\\' && flags[0] != '/');
    }

    char device[8];
    memset(device, 0x7f, sizeof device);
    auto name = Copy(key);
    NameFault fault = FileNameFault(name.get(), &device);
    if (fault == kNameOk)   // no name that setup would refuse passes
        CHECK(!strpbrk(key, ":\\/") && (!*key || IsPlainFileName(key)));
    if (fault == kNameDevice)
        CHECK(memchr(device, 0, sizeof device) && EqualNoCaseN(device, key, strlen(device)));
    return 0;
}
