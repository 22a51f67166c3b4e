// Setup's command line: interactive, or an unattended run for administrators.
// No Windows headers.
#pragma once
#include "text.h"

enum SetupLineKind { kInteractiveLine, kUnattendedLine, kBadLine };

struct UnattendedSwitches {
    UnattendedSwitches() : uninstall(false), noOther(false) {}
    bool uninstall;
    bool noOther;
    CStr log;         // empty: no log
    CStr navigator;   // empty: Navigator as located
    CStr folder;      // empty: the folder setup proposes
};

// Interactive unless the first token is "/S" (any case). After it, in any
// order and each once: "/uninstall", "/NOOTHER", "/LOG=FILE" and
// "/NAVIGATOR=FOLDER" (values in double quotes when they hold blanks), then
// last "/D=FOLDER", the rest of the line. Anything else is a bad line, as is
// an empty value, one of 260 characters or more, one with a double quote in
// it, or "/D=" given with "/uninstall". `out` is filled only for an
// unattended line.
SetupLineKind ReadSetupLine(const char* line, UnattendedSwitches& out);
