// Starting the removal helper, which setup carries inside itself.
#pragma once
#include "setupfile.h"

// Writes the helper to a new temporary file and starts it detached, to delete
// the setup program `self` and its emptied folder once setup has ended and,
// with reportRemoval, to tell the user that displayName was removed. True
// when the helper process was created.
bool LaunchRemovalHelper(const CSetupFile& self, const char* displayName, bool reportRemoval);
