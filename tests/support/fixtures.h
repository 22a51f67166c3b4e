// The stand-ins built for the tests (tests/fixtures/) and the sample sets
// (dist/), by their Windows paths in the build tree.
#pragma once
#include <string>

#include "driver.h"

namespace bench {

// Stand-in Netscape Navigator programs, each named NETSCAPE.EXE: product
// version "3.0", "1.22", or "none" for one without a version resource.
std::string Navigator(const std::string& version);
// The stand-in plug-in library NPZYNE32.DLL (version 1.95).
std::string PluginLibrary();
// A sample install set folder: "player" or "plugin".
std::string SampleSet(const std::string& name);

// Starts a stand-in Navigator (or a copy of one under another name, such as a
// player VANTREL.EXE) that loads `library` when one is given, and waits until
// it has loaded it and shows its window. False when it did not get there.
bool StartStandIn(Process& p, const std::string& exe, const std::string& library = "");

}  // namespace bench
