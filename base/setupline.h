// Setup's command line: interactive, or an unattended run for administrators.
// No Windows headers.
#pragma once
#include "text.h"

enum SetupLineKind { kInteractiveLine, kUnattendedLine, kBadLine };

struct UnattendedSwitches {
    UnattendedSwitches() : uninstall(false), noOther(false), progress(false) {}
    bool uninstall;
    bool noOther;
    bool progress;    // the progress dialog, and no other window
    CStr log;         // empty: no log
    CStr navigator;   // empty: Navigator as located
    CStr folder;      // empty: the folder setup proposes
};

// Interactive unless the first token is "/S" (any case). After it, in any
// order and each once: "/uninstall", "/NOOTHER", "/PROGRESS", "/LOG=FILE",
// "/NAVIGATOR=FOLDER" and "/D=FOLDER", read as the system splits a command
// line into arguments (quoted as a whole or in part). "/D=" with no quote in
// the rest of the line takes all of it. Anything else is a bad line, as is
// an empty value, one of 260 characters or more, one with a double quote in
// it, a quote left open, or "/D=" given with "/uninstall". `out`, fresh,
// holds the switches of an unattended line (of a bad one, what was read).
SetupLineKind ReadSetupLine(const char* line, UnattendedSwitches& out);
