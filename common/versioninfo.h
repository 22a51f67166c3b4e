// What setup keeps of a program file's version resource.
#pragma once
#include "text.h"

class CVersionInfo {
public:
    CVersionInfo() : major(0), minor(0), isWin32(0), valid(0) {}

    // Fills the record from the file at `path`; `valid` tells whether the
    // fixed part could be read. Strings come from the U.S. English / 1252 block.
    void ReadVersionInfo(const char* path);

    unsigned major;       // high word of the product version's first half
    unsigned minor;       // its low word
    unsigned isWin32;     // the file's OS flags hold VOS__WINDOWS32
    unsigned valid;
    CStr productName;
    CStr versionText;     // "%u.%u"
    CStr companyName;
};
