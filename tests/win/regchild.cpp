// A second program for the registration tests: runs one routine in a process
// of its own, so that it can run under another Windows version or another
// file name (copied as SETUP.EXE).
//   regchild deltree KEY                                      DeleteKeyTree below HKCU
//   regchild write|remove FOLDER NAME COMPANY PRODUCT VERSION  the uninstall entry
// Exit code: the routine's status in the low word (1 for the entry), the major Windows version
// in bits 16 to 23, bit 24 set on the Windows 95 family.
#include <windows.h>
#include <string.h>

#include "appentry.h"
#include "settings.h"

int main(int argc, char** argv)
{
    DWORD version = GetVersion();
    DWORD code = (DWORD)LOBYTE(LOWORD(version)) << 16 | ((version & 0x80000000) ? 1u << 24 : 0);
    DWORD status = 0xFFFF;
    if (argc == 3 && strcmp(argv[1], "deltree") == 0) {
        status = (DWORD)DeleteKeyTree(HKEY_CURRENT_USER, argv[2]) & 0xFFFF;
    } else if (argc == 7 && (strcmp(argv[1], "write") == 0 || strcmp(argv[1], "remove") == 0)) {
        CSetupFile program(argv[2], argv[3]);
        CVersionInfo info;
        info.companyName = argv[4];
        info.productName = argv[5];
        info.versionText = argv[6];
        info.valid = 1;
        if (argv[1][0] == 'w')
            WriteUninstallEntry(program, &info, "", 0);
        else
            RemoveUninstallEntry(program, &info, "");
        status = 1;
    }
    return (int)(code | status);
}
