// A record of what a run changes in the registry and WIN.INI, for setup's
// log. Silent unless a writer is set.
#pragma once
#include <windows.h>

typedef void (*JournalWriter)(const char* line);
void SetJournalWriter(JournalWriter writer);
bool JournalOn();

// Keys opened or created through CKey are named in the record by the path
// they were reached by.
void JournalKeyOpened(HKEY key, HKEY parent, const char* subkey);
void JournalKeyClosed(HKEY key);

// "<what> <key>\<subkey>", then ' "name"' and ' = "value"' when given.
void Journal(const char* what, HKEY parent, const char* subkey, const char* name = 0, const char* value = 0);
// "<what> [section] key=value in <file>" (null file: WIN.INI).
void JournalProfile(const char* what, const char* file, const char* section, const char* key, const char* value);
