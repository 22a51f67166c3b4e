// Picking a folder: the shell's folder browser where the system has the new
// shell, else the old-style common open dialog.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "dialog.h"

class CInstallSet;

// Whether the system has the new shell: not Windows NT and at least version
// `minimum` (4 for 0), or a minor version of 95 or more.
bool IsNewShell(unsigned minimum);

// The shell browser's callbacks: they start it at the folder given and
// allow OK only for a file-system folder; the Navigator's only where
// IsPluginFolder agrees. Their status line shows the folder or why not.
int CALLBACK PlayerBrowseCallback(HWND browser, UINT msg, LPARAM lp, LPARAM data);
int CALLBACK NavigatorBrowseCallback(HWND browser, UINT msg, LPARAM lp, LPARAM data);

// Lets the user pick a folder for edit `id` of `dialog`, starting at the
// deepest existing folder of its text; the part below that which did not
// exist is put back under the choice and selected. With a callback the shell
// browser is used, titled with string `titleId` ("%1": the set's display
// name); without one, or where the system's shell library lacks the
// browser, the old-style folder dialog.
void BrowseForFolder(CDialog& dialog, int id, UINT titleId, BFFCALLBACK callback, CInstallSet& set);

// The old-style common open dialog narrowed to its folder list.
class CFolderDialog {
public:
    // titleId 0: string 139.
    CFolderDialog(const char* initialFolder, UINT titleId = 0) : m_initial(initialFolder), m_titleId(titleId) {}
    // IDOK or IDCANCEL. On IDOK `folder` holds the folder chosen, in lower
    // case (empty when the dialog gave no name).
    INT_PTR DoModal(HWND parent);

    CStr folder;

private:
    static UINT_PTR CALLBACK Hook(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    static void Narrow(HWND dlg);

    const char* m_initial;
    UINT m_titleId;
};
