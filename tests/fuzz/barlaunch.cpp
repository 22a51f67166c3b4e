// The percentage bar and the helper's environment block. Input: the stored
// percentage, the bar's text, the module, the display name, then setup's
// environment, one entry a line.
#include "barrules.h"
#include "input.h"
#include "launchrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 5);
    long stored = LeadingNumber(in[0]);
    BarChange c = ChangeBarText(in[1], stored);
    CHECK(c.percent == LeadingNumber(in[1]));
    if (c.repaint == kBarKeep)
        CHECK(c.percent == stored && c.percent != 0);
    if (c.repaint == kBarPaint)
        CHECK(c.percent > stored);

    // setup's block: entries ended by zeros, one zero more at the end
    std::string setup = in[4];
    for (char& ch : setup)
        ch = ch == '\n' ? 0 : ch;
    setup.append(2, '\0');
    auto block = Block(setup.size(), setup.data(), setup.size());
    CStr env;
    CHECK(HelperEnvironment(env, block.get(), in[2], in[3]));

    // the drive folders among setup's entries, in order, then the two names
    std::string wanted;
    for (const char* e = block.get(); *e; e += strlen(e) + 1)
        if (e[0] == '=' && UpperAscii(e[1]) >= 'A' && UpperAscii(e[1]) <= 'Z' && e[2] == ':' && e[3] == '=')
            wanted += std::string(e) + '\0';
    wanted += std::string("SETUPMODULE=") + in[2] + '\0' + "SETUPAPPDISPLAYNAME=" + in[3] + '\0' + '\0';
    CHECK(std::string(env.c_str(), env.Length()) == wanted);
    return 0;
}
