// Numbered texts and message boxes: the one place that sets owner and caption.
#pragma once
#include <windows.h>

#include "text.h"

// String `id` of the program's string table; empty when it is not there.
CStr LoadText(UINT id);
// String `id` with "%1" and "%2" replaced.
CStr FormatText(UINT id, const char* arg1 = 0, const char* arg2 = 0);

// A message box owned by the active window, captioned with the program's
// title. Returns the button pressed.
int MsgBoxText(const char* text, UINT style);
int MsgBox(UINT id, UINT style, const char* arg1 = 0, const char* arg2 = 0);
