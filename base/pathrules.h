// Path forms of setup's folder and file records. No Windows headers.
#pragma once
#include "text.h"

// The folder every record starts in when it is given none.
extern const char kDefaultFolder[];   // "C:"

// Normal form of a folder path: a path longer than 2 characters that ends in
// "\" loses that one backslash, unless the character before it is ":".
// C:\DATA\ -> C:\DATA; C:\, D: and A\ stay as they are.
void NormalizeFolder(CStr& path);

// A bare drive ("A:") as its root ("A:\"): alone it would name that drive's
// current folder. Other paths stay as they are.
void RootBareDrive(CStr& path);

// The folder of a path that ends in `name`: the text in front of the first
// `name`, without the one "\" before it unless that follows ":"
// (C:\A\X -> C:\A, C:\X -> C:\). Empty when `name` is not there.
CStr FolderInFrontOf(const char* path, const char* name);

// Splits a folder path at its deepest folder that `exists` accepts, walking
// up one "\" at a time: `ancestor` receives that folder and `missing` the
// levels cut off, without a leading "\". The walk stops at an empty text,
// "\", a bare drive ("Q:", not looked up) or a text without a "\".
void ExistingAncestor(const char* path, bool (*exists)(const char* folder, void* context), void* context,
                      CStr& ancestor, CStr& missing);

// A name placed in a folder: folder + "\" + name; folder + name when the folder
// already ends in "\"; the name alone for an empty or absent folder.
CStr JoinPath(const char* folder, const char* name);

// The text after the last backslash (the whole text when there is none).
const char* AfterLastBackslash(const char* path);

// The text from the last "." equals ext, ignoring case (".exe", ".dll").
bool HasExtension(const char* name, const char* ext);

// A file name without its extension (cut at the last "."): SETUP.EXE -> SETUP.
CStr FileTitle(const char* name);

// The setup description that belongs to a setup program file name:
// SETUP32.EXE -> SETUP32.INI.
CStr DescriptionName(const char* programName);

// The second name tried for a description: the first "32" of the name removed
// when it stands after the first character (SETUP32.INI -> SETUP.INI).
// False when the name has no such "32".
bool SecondDescriptionName(const char* name, CStr& second);
