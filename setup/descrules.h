// Text rules of the setup description and of setup's command line.
// No Windows headers.
#pragma once
#include "text.h"

// "Mode" = base, optionally followed by a suffix such as ".32": split at the
// first "." when it is not the first character.
void SplitMode(const char* mode, CStr& base, CStr& suffix);

// ".16" -> 1, ".32" -> 2 (exact), anything else -> 0 (find out by probing).
int PlatformOfSuffix(const char* suffix);

// The three flag characters of a [Files] value, read through their codes.
struct FileFlags {
    int variants;   // bit 0: 16-bit variant, bit 1: 32-bit variant
    int kind;       // bit 0: destination folder, bit 1: plug-in folder
    bool critical;
};
FileFlags ParseFileFlags(const char* value);

// A name the description may give for a file of the install set: a plain
// file name in the set's folder. Not one with a folder or drive in it ("\",
// "/", ":"), dots alone ("..") or wildcards, not one that Windows would read
// as another name (a trailing dot or blank) or as a device (CON, NUL.TXT,
// COM1); such a name would reach outside the set and the destination.
bool IsPlainFileName(const char* name);
// The length of the Windows device name ("CON", "COM1", "CONOUT$") that a file
// name stands for with any extension; 0 when it names no device.
size_t DeviceNameLength(const char* name);

// The whole command line is "/uninstall", in any case.
bool IsUninstallSwitch(const char* commandLine);

// A list of a profile section (its key names, or the section itself) as the
// profile function returns it into a zero-filled buffer of `size` characters.
// It is complete only when the count returned is below size - 2: at size - 2
// the last entry has been cut (an exact fit looks the same).
bool KeyListComplete(unsigned long returned, unsigned long size);

// A key of a section read whole, its value as the profile function reads
// that key alone.
struct SectionKey {
    const char* name;
    const char* value;
};

// Splits a section as the profile function returns it ("name=value" entries,
// each ended by a NUL, the last by a second; `length` characters before that)
// in place into its keys, in file order, a name given twice listed twice.
// What reading each key alone gives: a line without "=" is no key, and one
// with an empty name ends the list (as it ends the list of key names); a
// value loses one pair of matching quotes (' or ") around it, and reads as
// empty when what is left takes 260 characters or more (it would not fit the
// value buffer); a name given again, in any letter case, reads the value of
// its first line. *keys (freed first: null or the array of an earlier call)
// is the caller's to free. The count of keys, or -1 when memory runs out.
int SplitSectionKeys(char* section, unsigned long length, SectionKey** keys);
