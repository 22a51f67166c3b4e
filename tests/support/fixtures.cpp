#include "fixtures.h"

#include "bench.h"
#include "standin.h"

namespace bench {

std::string Navigator(const std::string& version)
{
    return Built("tests\\fixtures\\navigator-" + (version == "none" ? std::string("noversion") : version) +
                 "\\NETSCAPE.EXE");
}

std::string PluginLibrary() { return Built("tests\\fixtures\\NPZYNE32.DLL"); }

std::string SampleSet(const std::string& name) { return Built("dist\\" + name); }

bool StartStandIn(Process& p, const std::string& exe, const std::string& library)
{
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    if (!p.Start(exe, library.empty() ? "" : "\"" + library + "\"", folder))
        return false;
    // the window shows only after the library is in; a failed load ends it
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
        if (WaitForWindow(p.Id(), STANDIN_WINDOW_CLASS, 50))
            return true;
        if (!p.Running())
            return false;
    }
    return false;
}

}  // namespace bench
