// The main window's caption for a document title. No Windows headers.
#pragma once
#include <stddef.h>

// Whether a platform of that version puts the title before the program name:
// 4.0 and later, and any minor version from 95 on (3.95 is how Windows 95
// shows itself to older programs).
bool TitleFirst(unsigned major, unsigned minor);

// "title - program" or "program - title" in `size` characters. The title is
// read no further than the caption can hold; one that does not fit is
// shortened and ends in "..." so that the program name always shows.
void MakeCaption(char* out, size_t size, const char* program, const char* title, bool titleFirst);
