// Text rules of the removal helper's launch. No Windows headers: these build
// natively as well.
#pragma once
#include "text.h"

// The helper's environment block: the per-drive current folders of setup's
// own block ("=C:=C:\SET", in its order), then SETUPMODULE and
// SETUPAPPDISPLAYNAME; every entry ends in a zero, the block in one more.
// False when memory ran out.
bool HelperEnvironment(CStr& block, const char* setupBlock, const char* module, const char* displayName);
