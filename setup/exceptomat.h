// Setup's error record: the text of a numbered message and its number.
#pragma once
#include <windows.h>

#include "msgbox.h"

class CExceptomat {
public:
    CExceptomat(UINT id, const char* arg1 = 0, const char* arg2 = 0) : text(FormatText(id, arg1, arg2)), id(id) {}

    CStr text;
    UINT id;
};
