// The removal helper's text rules. No Windows headers and no C runtime (the
// helper has none): these build and are tested natively as well.
#pragma once
#include <stddef.h>

// Report mode: the argument text (what follows the program name, quoted or
// not, and the blanks after it) begins with "/msg", compared without regard
// to case over exactly four characters.
bool HasReportSwitch(const char* commandLine);

// Splits a full path in place at its last backslash: the path keeps the
// folder, and the file name after it is returned; null when the path has no
// backslash (then nothing is cut). removable: the folder may be removed,
// being neither empty nor the root of a drive.
char* SplitAtLastBackslash(char* path, bool* removable);

// Appends as much of src as fits, for display only.
void AppendShown(char* dst, size_t size, const char* src);
