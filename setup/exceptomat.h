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

// Puts a new record of message `id` into an error slot, replacing what was
// there. Out of memory the slot stays empty.
inline void RecordError(CExceptomat*& slot, UINT id, const char* arg1 = 0, const char* arg2 = 0)
{
    delete slot;
    slot = new CExceptomat(id, arg1, arg2);
}

inline void ClearError(CExceptomat*& slot)
{
    delete slot;
    slot = 0;
}
