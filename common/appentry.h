// What setup records of an installed program: its App Paths entry, the
// per-user keys of its maker and its Add/Remove Programs entry.
#pragma once
#include "setupfile.h"
#include "versioninfo.h"

// Writes the three records of `program` (installed in its folder). Without
// `info` the version resource of the program file is read; `extra` adds a
// second folder to the per-user "Path". Returns 1.
int WriteUninstallEntry(CSetupFile& program, const CVersionInfo* info, const CSetupFolder* extra);

// Removes them again; an App Paths entry that points into another folder
// stays. Returns 1.
int RemoveUninstallEntry(CSetupFile& program, const CVersionInfo* info);

// The folder the App Paths entry of a program file names (the first of its
// "Path" list), when the program is really there. Caller owns; null when none.
CSetupFolder* FindAppPath(const char* fileName);
