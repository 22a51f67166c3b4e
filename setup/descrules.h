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

// The key list of a profile section as the profile function returns it into a
// zero-filled buffer of `size` characters. It is complete only when the count
// returned is below size - 2: at size - 2 the last name has been cut.
bool KeyListComplete(unsigned long returned, unsigned long size);

// Reads a key list whole. `read` fills a buffer of `size` characters as the
// profile function does and returns its count. The list is read into a heap
// block of `size` characters and, while it comes back cut, again into one of
// twice the size. *block (freed first: null or a block of an earlier call) is
// the caller's to free. The list, or null when memory runs out.
typedef unsigned long (*KeyListReader)(char* buf, unsigned long size, void* context);
const char* ReadWholeKeyList(KeyListReader read, void* context, unsigned long size, char** block);
