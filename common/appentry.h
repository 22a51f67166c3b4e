// What setup records of an installed program: its App Paths entry, the
// per-user keys of its maker and its Add/Remove Programs entry.
#pragma once
#include "setupfile.h"
#include "versioninfo.h"

// Writes the three records of `program` (installed in its folder). Without
// `info` the version resource of the program file is read; a program without
// a product name is filed under `defaultProduct`. `extra` adds a second folder
// to the per-user "Path". The entry runs this setup program's file name in
// `setupFolder` (null: the program's folder), which it names as the install
// location; it carries the version and maker, the program as its icon, and
// neither change nor repair. Over an entry of another version, that version's
// per-user keys go. Failures are silent.
void WriteUninstallEntry(CSetupFile& program, const CVersionInfo* info, const char* defaultProduct,
                         const CSetupFolder* extra, const char* setupFolder = 0);

// Removes them again; an App Paths entry that points into another folder
// stays. Failures are silent.
void RemoveUninstallEntry(CSetupFile& program, const CVersionInfo* info, const char* defaultProduct);

// The folder the App Paths entry of a program file names (the first of its
// "Path" list), when the program is really there. Caller owns; null when none.
CSetupFolder* FindAppPath(const char* fileName);

// The product's folder that the program's Add/Remove entry names (where its
// setup went), when it exists. Caller owns; null when none.
CSetupFolder* FindInstallLocation(const char* fileName);
