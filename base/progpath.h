// Text rules of the registration: command lines, owner lists, icon values and
// profile names. No Windows headers: these build and are tested natively.
#pragma once
#include <stddef.h>

// Cuts a command line in place down to the path of the program it starts
// (quoted or not, arguments starting with % / - ^ dropped). Returns the
// offset of the file name (after the last backslash), or 0.
size_t ExtractProgramPath(char* command);

// 0-based position of `name` in a separator list such as
// "|zyne.exe|zyne195.exe|" (the first character is the separator), compared
// without regard to case; -1 when absent. Text after the last separator is
// not an entry; a list longer than 259 characters is no list.
int FindInList(const char* list, const char* name);

// A command line: the program path, in double quotes when it holds a blank
// (unquoted, Windows may start C:\Program.exe), then one space and the
// arguments when there are any. False, with dst empty, when it does not fit.
bool BuildCommand(char* dst, size_t size, const char* program, const char* args);

// The program named by a DefaultIcon value ("C:\X\ZYNE195.EXE,0"): cut in
// place at the last comma, enclosing quotes dropped. Returns the offset of
// the file name, or -1 when the path has no backslash.
int IconProgramPath(char* icon);

// The profile file of a store name: ".ini" in place of the extension, or
// appended when there is none (SETUP -> SETUP.ini, C:\A.B\SETUP ->
// C:\A.B\SETUP.ini, PLAYER.EXE -> PLAYER.ini). False when it does not fit.
bool ProfileFileName(char* dst, size_t size, const char* name);

// The path lies in the folder (or below it): the folder, compared without
// regard to case, followed by a backslash. C:\ZYNE holds C:\ZYNE\V.EXE but
// not C:\ZYNE2\V.EXE; C:\ and C: hold C:\V.EXE.
bool IsPathInFolder(const char* path, const char* folder);
