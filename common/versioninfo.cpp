#include "versioninfo.h"

#include <windows.h>
#include <stdlib.h>

static void QueryString(const void* block, const char* name, CStr& out)
{
    char query[64] = "\\StringFileInfo\\040904E4\\";
    AppendText(query, name);
    char* text = 0;
    UINT len = 0;
    if (VerQueryValueA(block, query, (void**)&text, &len) && text)
        out = text;
}

void CVersionInfo::ReadVersionInfo(const char* path)
{
    valid = 0;
    if (!path)
        return;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return;
    void* block = malloc(size);
    if (!block)
        return;
    if (GetFileVersionInfoA(path, 0, size, block)) {
        QueryString(block, "ProductName", productName);
        QueryString(block, "CompanyName", companyName);
        VS_FIXEDFILEINFO* fixed = 0;
        UINT len = 0;
        if (VerQueryValueA(block, "\\", (void**)&fixed, &len) && fixed && len >= sizeof *fixed) {
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
