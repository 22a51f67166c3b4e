// Numbered texts and message boxes: the one place that sets owner and caption.
#pragma once
#include <windows.h>

#include "text.h"

// String `id` of the program's string table; empty when it is not there.
CStr LoadText(UINT id);
// String `id` of `module`'s table (the program's when null) into a fixed
// buffer. False, with buf empty, when it is missing, empty or does not fit.
bool LoadTextInto(HINSTANCE module, UINT id, char* buf, size_t size);
template <size_t N> inline bool LoadTextInto(HINSTANCE module, UINT id, char (&buf)[N])
{
    return LoadTextInto(module, id, buf, N);
}
// String `id` with "%1" and "%2" replaced.
CStr FormatText(UINT id, const char* arg1 = 0, const char* arg2 = 0);

// A message box owned by the active window, captioned with the program's
// title. Returns the button pressed. `id` is the message's number, 0 when
// it has none.
int MsgBoxText(const char* text, UINT style, UINT id = 0);
int MsgBox(UINT id, UINT style, const char* arg1 = 0, const char* arg2 = 0);

// While set, every message goes to `answer` instead of the screen, and its
// result stands for the button pressed (a run without windows).
typedef int (*MessageAnswer)(UINT id, const char* text, UINT style);
void SetMessageAnswer(MessageAnswer answer);
