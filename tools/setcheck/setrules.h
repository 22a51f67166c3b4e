// Text rules of the set checker: where a section or key stands in a setup
// description's text, and which names and flags would go wrong. No Windows
// headers.
#pragma once
#include <stddef.h>

// A key as the profile functions find it: the first section of that name
// (names compared without regard to case, blanks around them dropped), and
// in it the key's occurrence `nth` (0: the first). line 0: not there.
struct IniKey {
    int line;             // 1-based
    const char* value;    // after "=", blanks dropped (not terminated)
    size_t valueLength;   // as the read returns it: one pair of enclosing quotes dropped
};
IniKey FindIniKey(const char* text, size_t size, const char* section, const char* key, int nth = 0);
// The line of the first [section]; 0 when there is none.
int FindIniSection(const char* text, size_t size, const char* section);
// The size of the first [section]'s body as a profile function holds it:
// each line that is not empty, without its blanks, with one end character.
size_t IniSectionSize(const char* text, size_t size, const char* section);

// What is wrong with a file name of the install set: it must name a file in
// the set's own folder.
enum NameFault {
    kNameOk,
    kNameParent,   // a ".." step
    kNameDrive,    // a ":"
    kNamePath,     // a "\" or "/"
    kNameDevice,   // a device (CON, NUL, COM1, ...), with or without extension
    kNameNotPlain, // another name setup refuses: wildcards, quotes, "<>|", control
                   // characters, dots alone, a trailing dot or blank
};
// device, when given, receives the device's name (upper case) for kNameDevice.
NameFault FileNameFault(const char* name, char (*device)[8] = 0);

// An install sub-folder must stay below the program-files folder: no drive,
// no leading "\", no ".." step.
bool SubfolderStaysInside(const char* subfolder);

// The three flag characters of a [Files] value (an empty value is left to
// the variant rule).
enum FlagsFault {
    kFlagsOk,
    kFlagsNotDigits,   // one of the first three characters is no digit
    kFlagsShort,       // fewer than three (the missing ones read as 0)
    kFlagsBeyond,      // the first or second digit above 3 (only its low two bits count)
    kFlagsExtra,       // characters after the third (ignored)
};
FlagsFault FileFlagsFault(const char* value);
