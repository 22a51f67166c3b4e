#include "browse.h"

#include <dlgs.h>

#include "installset.h"
#include "msgbox.h"
#include "quillset.h"
#include "syslib.h"

// The name the old-style dialog gets on OK, so that it answers its folder.
static const char kPickName[] = "$___$___.$$$";

bool IsNewShell(unsigned minimum)
{
    DWORD version = GetVersion();
    unsigned major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
    if (minimum == 0)
        minimum = 4;
    return ((version & 0x80000000) && major >= minimum) || minor >= 95;
}

namespace {

// The new shell's functions, looked up in the system folder's shell library
// (NT 3.51's has none of them, and setup must start there too); the
// library stays loaded for the process.
struct CNewShell {
    LPITEMIDLIST(WINAPI* browseForFolder)(LPBROWSEINFOA);
    HRESULT(WINAPI* getMalloc)(IMalloc**);
    BOOL(WINAPI* getPathFromIDList)(LPCITEMIDLIST, LPSTR);
    HRESULT(WINAPI* getSpecialFolderLocation)(HWND, int, LPITEMIDLIST*);
};

// Null when any of them is missing.
const CNewShell* NewShell()
{
    static CNewShell shell;
    static bool bound = false;
    if (!bound) {
        HMODULE library = LoadSystemLibrary("SHELL32.DLL");
        BindFunction(library, "SHBrowseForFolderA", shell.browseForFolder);
        BindFunction(library, "SHGetMalloc", shell.getMalloc);
        BindFunction(library, "SHGetPathFromIDListA", shell.getPathFromIDList);
        BindFunction(library, "SHGetSpecialFolderLocation", shell.getSpecialFolderLocation);
        bound = true;
    }
    bool complete = shell.browseForFolder && shell.getMalloc && shell.getPathFromIDList && shell.getSpecialFolderLocation;
    return complete ? &shell : 0;
}

// The shell browser callbacks' data.
struct CBrowseStart {
    const char* folder;
    CInstallSet* set;
};

int OnBrowserEvent(HWND browser, UINT msg, LPARAM lp, LPARAM data, bool navigator)
{
    const CBrowseStart* start = (const CBrowseStart*)data;
    if (msg == BFFM_INITIALIZED) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, (LPARAM)start->folder);
    } else if (msg == BFFM_SELCHANGED) {
        const CNewShell* shell = NewShell();
        char path[MAX_PATH];
        bool ok = shell && shell->getPathFromIDList((LPCITEMIDLIST)lp, path) && path[0];
        if (ok && navigator)
            ok = start->set->IsPluginFolder(path);
        // posted: Wine's browser sets OK by its own rule after this callback
        PostMessageA(browser, BFFM_ENABLEOK, 0, ok);
        CStr why = LoadText(navigator ? IDS_NAV_NO_PATH : IDS_PLAYER_NO_PATH);
        SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, (LPARAM)(ok ? path : why.c_str()));
    }
    return 0;
}

bool PickWithShell(const CNewShell& shell, HWND owner, const char* title, BFFCALLBACK callback,
                   const CBrowseStart& start, CStr& chosen)
{
    IMalloc* allocator = 0;
    if (FAILED(shell.getMalloc(&allocator)) || !allocator)
        return false;
    LPITEMIDLIST root = 0;
    if (FAILED(shell.getSpecialFolderLocation(owner, CSIDL_DESKTOP, &root))) {
        allocator->Release();
        return false;
    }
    char display[MAX_PATH];
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = display;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = callback;
    info.lParam = (LPARAM)&start;
    bool picked = false;
    // an item without a file-system path cannot be taken: ask again
    while (LPITEMIDLIST item = shell.browseForFolder(&info)) {
        char path[MAX_PATH];
        picked = shell.getPathFromIDList(item, path) != FALSE;
        allocator->Free(item);
        if (picked) {
            chosen = path;
            break;
        }
    }
    allocator->Free(root);
    allocator->Release();
    return picked;
}

bool PickWithFolderDialog(HWND owner, const char* start, CStr& chosen)
{
    char saved[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof saved, saved);
    SetCurrentDirectoryA(start);
    CFolderDialog picker(start);
    bool picked = picker.DoModal(owner) == IDOK;
    if (picked)
        chosen = picker.folder;
    if (n > 0 && n < sizeof saved)
        SetCurrentDirectoryA(saved);
    return picked;
}

}  // namespace

int CALLBACK PlayerBrowseCallback(HWND browser, UINT msg, LPARAM lp, LPARAM data)
{
    return OnBrowserEvent(browser, msg, lp, data, false);
}

int CALLBACK NavigatorBrowseCallback(HWND browser, UINT msg, LPARAM lp, LPARAM data)
{
    return OnBrowserEvent(browser, msg, lp, data, true);
}

void BrowseForFolder(CDialog& dialog, int id, UINT titleId, BFFCALLBACK callback, CInstallSet& set)
{
    // a text longer than a path names no folder
    CStr text = dialog.ItemText(id);
    CSetupFolder folder(text.Length() < MAX_PATH ? text.c_str() : "");
    CStr remainder;
    CStr start = folder.ExistingAncestor(remainder);
    RootBareDrive(start);

    CStr chosen;
    bool picked;
    const CNewShell* shell = callback ? NewShell() : 0;
    if (shell) {
        CBrowseStart data = {start, &set};
        picked = PickWithShell(*shell, dialog.Handle(), FormatText(titleId, set.displayName), callback, data, chosen);
    } else {
        picked = PickWithFolderDialog(dialog.Handle(), start, chosen);
    }
    if (!dialog.Item(id))
        return;
    size_t selected = 0;
    if (picked) {
        NormalizeFolder(chosen);
        if (!remainder.IsEmpty()) {
            chosen = JoinPath(chosen, remainder);
            selected = chosen.Length() - remainder.Length();
        }
        SetWindowTextA(dialog.Item(id), chosen);
    }
    dialog.FocusEdit(id, (int)selected);
}

INT_PTR CFolderDialog::DoModal(HWND parent)
{
    char file[MAX_PATH] = "";
    CStr title = LoadText(m_titleId ? m_titleId : IDS_BROWSE_TITLE);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = parent;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = m_initial;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK;
    ofn.lpfnHook = Hook;
    // bound here, not imported: the library and what it loads would cost
    // every start of setup, for a dialog that few users open
    BOOL(WINAPI * open)(LPOPENFILENAMEA) = 0;
    BindFunction(LoadSystemLibrary("COMDLG32.DLL"), "GetOpenFileNameA", open);
    if (!open || !open(&ofn))
        return IDCANCEL;
    CharLowerA(file);
    folder = FolderInFrontOf(file, kPickName);
    return IDOK;
}

UINT_PTR CALLBACK CFolderDialog::Hook(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_INITDIALOG)
        Narrow(dlg);
    else if (msg == WM_COMMAND && LOWORD(wp) == IDOK)
        SetDlgItemTextA(dlg, edt1, kPickName);   // the dialog's own OK follows
    return FALSE;
}

static RECT ChildRect(HWND dlg, HWND child)
{
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(0, dlg, (POINT*)&r, 2);
    return r;
}

void CFolderDialog::Narrow(HWND dlg)
{
    HWND folders = GetDlgItem(dlg, lst2), name = GetDlgItem(dlg, edt1);
    if (!folders || !name)
        return;
    int left = ChildRect(dlg, folders).left;
    int shift = left - ChildRect(dlg, name).left;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = ChildRect(dlg, c);
        if (r.left < left)
            ShowWindow(c, SW_HIDE);
        else
            SetWindowPos(c, 0, r.left - shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT w;
    GetWindowRect(dlg, &w);
    SetWindowPos(dlg, 0, 0, 0, w.right - w.left - shift, w.bottom - w.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
