#include "versioninfo.h"

#include <windows.h>
#include <stdlib.h>

#include "syslib.h"

static void QueryString(const CVersionLibrary& version, const void* block, const char* name, CStr& out)
{
    char query[64] = "\\StringFileInfo\\040904E4\\";
    AppendText(query, name);
    char* text = 0;
    UINT len = 0;
    if (version.VerQueryValueA(block, query, (void**)&text, &len) && text)
        out = text;
}

void CVersionInfo::ReadVersionInfo(const char* path)
{
    valid = 0;
    const CVersionLibrary& version = VersionLibrary();
    if (!path || !version.GetFileVersionInfoSizeA || !version.GetFileVersionInfoA || !version.VerQueryValueA)
        return;
    DWORD handle = 0;
    DWORD size = version.GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return;
    void* block = malloc(size);
    if (!block)
        return;
    if (version.GetFileVersionInfoA(path, 0, size, block)) {
        QueryString(version, block, "ProductName", productName);
        QueryString(version, block, "CompanyName", companyName);
        VS_FIXEDFILEINFO* fixed = 0;
        UINT len = 0;
        if (version.VerQueryValueA(block, "\\", (void**)&fixed, &len) && fixed && len >= sizeof *fixed) {
            major = HIWORD(fixed->dwProductVersionMS);
            minor = LOWORD(fixed->dwProductVersionMS);
            char text[24];
            wsprintfA(text, "%u.%u", major, minor);
            versionText = text;
            isWin32 = (fixed->dwFileOS & VOS__WINDOWS32) ? 1 : 0;
            valid = 1;
        }
    }
    free(block);
}
