#include "launchrules.h"

#include <string.h>

// "=X:=..." as the system keeps a drive's current folder (entry not empty).
static bool IsDriveFolderEntry(const char* entry)
{
    char letter = UpperAscii(entry[1]);
    return entry[0] == '=' && letter >= 'A' && letter <= 'Z' && entry[2] == ':' && entry[3] == '=';
}

static bool AppendEntry(CStr& block, const char* name, const char* value)
{
    return block.Append(name) && block.Append(value) && block.AppendChar(0);
}

bool HelperEnvironment(CStr& block, const char* setupBlock, const char* module, const char* displayName)
{
    block.Clear();
    bool ok = true;
    for (const char* entry = setupBlock; entry && *entry; entry += strlen(entry) + 1)
        if (IsDriveFolderEntry(entry))
            ok = ok && AppendEntry(block, entry, "");
    return ok && AppendEntry(block, "SETUPMODULE=", module) &&
           AppendEntry(block, "SETUPAPPDISPLAYNAME=", displayName) && block.AppendChar(0);
}
