// Reading WIN.INI and private profile files.
#pragma once
#include <windows.h>

// The value of key in section of `file` (null: WIN.INI), or `def` when it is
// missing, into a 260-character buffer. False, with the buffer empty, when
// nothing was read or the value does not fit (the profile functions would cut it).
bool ReadProfileText(const char* file, const char* section, const char* key, const char* def,
                     char (&value)[MAX_PATH]);
