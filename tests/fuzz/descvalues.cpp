// The description's value rules and the bounded copies. Input: a buffer
// size, then three texts.
#include <algorithm>

#include "descrules.h"
#include "input.h"
#include "setupline.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 4);
    size_t n = SizeOf(in[0], 1100);
    const char *a = in[1], *b = in[2], *c = in[3];

    CStr base, suffix;
    SplitMode(a, base, suffix);
    CHECK(std::string(base) + suffix.c_str() == a && (suffix.IsEmpty() || (suffix[0] == '.' && !strchr(base, '.'))));
    int platform = PlatformOfSuffix(suffix);
    CHECK(platform >= 0 && platform <= 2 && (!platform || suffix.Length() == 3));
    if (IsUninstallSwitch(a))
        CHECK(strlen(a) == 10 && EqualNoCase(a, "/UNINSTALL"));
    CHECK(EqualNoCase(a, b) == EqualNoCase(b, a));
    // an unattended line reads only values that fit and hold no quote
    UnattendedSwitches switches;
    if (ReadSetupLine(a, switches) == kUnattendedLine)
        for (const CStr* v : {&switches.log, &switches.navigator, &switches.folder})
            CHECK(v->Length() < 260 && !strchr(*v, '"'));

    // below ten digits the number is what strtol reads
    long number = LeadingNumber(a);
    CHECK(number >= -0x7FFFFFFFL && number <= 0x7FFFFFFFL);
    const char* s = a + strspn(a, " \t");
    size_t sign = *s == '+' || *s == '-', digits = strspn(s + sign, "0123456789");
    if (digits < 10)
        CHECK(number == (digits ? strtol(std::string(s, sign + digits).c_str(), 0, 10) : 0));

    std::string text = ReplaceArgs(a, b, c).c_str();
    if (!strstr(a, "%1") && !strstr(a, "%2"))
        CHECK(text == a);
    CHECK(text.size() <= strlen(a) + strlen(a) / 2 * std::max(strlen(b), strlen(c)));

    auto dst = Block(n);
    if (CopyText(dst.get(), n, b))
        CHECK(std::string(dst.get()) == b);   // the whole text
    else
        CHECK(strlen(b) >= n && (n == 0 || !dst[0]));
    if (n == 0 || !CopyText(dst.get(), n, b))
        return 0;
    if (AppendText(dst.get(), n, c))
        CHECK(std::string(dst.get()) == std::string(b) + c);
    else
        CHECK(std::string(dst.get()) == b && strlen(b) + strlen(c) >= n);
    return 0;
}
