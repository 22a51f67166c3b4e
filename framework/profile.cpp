#include "profile.h"

#include "text.h"

bool ReadProfileText(const char* file, const char* section, const char* key, const char* def,
                     char (&value)[MAX_PATH])
{
    // read into more room than the value may take, to tell a cut one
    char buf[MAX_PATH + 2];
    DWORD n = file ? GetPrivateProfileStringA(section, key, def ? def : "", buf, sizeof buf, file)
                   : GetProfileStringA(section, key, def ? def : "", buf, sizeof buf);
    value[0] = 0;
    return n > 0 && n < MAX_PATH && CopyText(value, buf);
}
