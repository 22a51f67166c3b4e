#include "destination.h"

#include <string.h>

#include "agreement.h"
#include "app.h"
#include "browse.h"
#include "quillset.h"

CDestinationDialog::CDestinationDialog(CInstallSet& set)
    : CModalDialog((set.flags & kPlayerSet) ? IDD_PLAYER_DESTINATION : IDD_PLUGIN_DESTINATION), otherChecked(0),
      m_set(set), m_icon(LoadIconA(CApp::Get()->Instance(), MAKEINTRESOURCEA(IDI_PROGRAM))),
      m_playerForm(set.flags & kPlayerSet), m_otherOffered(0), m_navigatorFound(0), m_navigatorTooOld(0),
      m_navigatorChanged(0)
{
}

BOOL CDestinationDialog::OnInitDialog()
{
    // the page stands for setup while it is shown
    CApp::Get()->SetMainWindow(m_hwnd);
    SetDlgItemTextA(m_hwnd, IDC_PLAYER_FOLDER, playerFolder);
    SetDlgItemTextA(m_hwnd, IDC_NAVIGATOR_FOLDER, navigatorFolder);

    CStr about = FormatText(IDS_ABOUT_ITEM, m_set.displayName);
    HMENU menu = GetSystemMenu(m_hwnd, FALSE);
    if (menu && !about.IsEmpty()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, 0);
        AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
    }
    SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, (LPARAM)m_icon);
    SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, (LPARAM)m_icon);

    CheckNavigator();   // also forgets the edit's filling as a change
    m_otherOffered = otherChecked = m_set.otherModulePresent;
    CheckDlgButton(m_hwnd, IDC_OTHER_PRODUCT, otherChecked ? BST_CHECKED : BST_UNCHECKED);
    UpdateOptionControls();
    UpdateNavigatorState(false);
    PlaceUpperCentre();
    return TRUE;
}

void CDestinationDialog::CheckNavigator()
{
    bool tooOld = false;   // set only when a program is there
    m_navigatorFound = m_set.IsPluginFolder(navigatorFolder, &tooOld);
    m_navigatorTooOld = tooOld;
    m_navigatorChanged = 0;
}

void CDestinationDialog::UpdateNavigatorState(bool recheck)
{
    if (recheck)
        CheckNavigator();
    UINT label = m_navigatorFound ? IDS_NAV_FOUND : m_navigatorTooOld ? IDS_NAV_NO_PLUGINS : IDS_NAV_NOT_FOUND;
    SetDlgItemTextA(m_hwnd, IDC_BROWSE_NAVIGATOR, LoadText(m_navigatorFound ? IDS_CHANGE_BUTTON : IDS_BROWSE_BUTTON));
    SetDlgItemTextA(m_hwnd, IDC_NAVIGATOR_LABEL, LoadText(label));
    SendMessageA(Item(IDC_NAVIGATOR_FOLDER), EM_SETREADONLY, m_navigatorFound, 0);
    Enable(IDOK, m_navigatorFound || (m_playerForm && !otherChecked));
}

void CDestinationDialog::UpdateOptionControls()
{
    Enable(IDC_OTHER_PRODUCT, m_otherOffered);
    if (m_playerForm) {
        bool navigator = m_otherOffered && otherChecked;
        Enable(IDC_NAVIGATOR_LABEL, navigator);
        Enable(IDC_BROWSE_NAVIGATOR, navigator);
        Enable(IDC_NAVIGATOR_FOLDER, navigator);
    }
}

void CDestinationDialog::Browse(int id, UINT titleId, bool navigator)
{
    if (IsNewShell(0))
        BrowseForFolder(*this, id, titleId, navigator ? NavigatorBrowseCallback : PlayerBrowseCallback, m_set);
    else
        BrowseForFolder(*this, id, 0, 0, m_set);
}

bool CDestinationDialog::OnCommand(UINT id, UINT code, HWND)
{
    switch (id) {
    case IDC_PLAYER_FOLDER:
        if (code == EN_CHANGE)
            playerFolder = ItemText(id);
        return true;
    case IDC_NAVIGATOR_FOLDER:
        if (code == EN_CHANGE) {
            navigatorFolder = ItemText(id);
            m_navigatorChanged = 1;
        } else if (code == EN_KILLFOCUS) {
            UpdateNavigatorState(m_navigatorChanged != 0);
        }
        return true;
    case IDC_BROWSE_PLAYER:
        Browse(IDC_PLAYER_FOLDER, IDS_BROWSE_PLAYER, false);
        return true;
    case IDC_BROWSE_NAVIGATOR:
        if (strcmp(ItemText(id), LoadText(IDS_BROWSE_BUTTON)) != 0) {
            // "Change": the found folder becomes editable without a new check
            m_navigatorFound = 0;
            UpdateNavigatorState(false);
            FocusEdit(IDC_NAVIGATOR_FOLDER);
        } else {
            Browse(IDC_NAVIGATOR_FOLDER, IDS_BROWSE_NAVIGATOR, true);
            UpdateNavigatorState(true);
        }
        return true;
    case IDC_OTHER_PRODUCT: {
        int checked = IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED;
        if (code == BN_CLICKED && checked != otherChecked) {
            otherChecked = checked;
            UpdateNavigatorState(false);
            UpdateOptionControls();
        }
        return true;
    }
    }
    return false;
}

INT_PTR CDestinationDialog::OnMessage(UINT msg, WPARAM wp, LPARAM, bool& handled)
{
    switch (msg) {
    case WM_SYSCOMMAND:
        // the system keeps the low four bits of a command for itself
        if ((wp & 0xFFF0) == IDM_ABOUTBOX) {
            CAboutDialog().DoModal(m_hwnd);
            handled = true;
            return TRUE;
        }
        break;
    case WM_PAINT:
        if (IsIconic(m_hwnd)) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_hwnd, &ps);
            SendMessageA(m_hwnd, WM_ICONERASEBKGND, (WPARAM)dc, 0);
            RECT r;
            GetClientRect(m_hwnd, &r);
            int x = (r.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
            int y = (r.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
            DrawIcon(dc, x, y, m_icon);
            EndPaint(m_hwnd, &ps);
            handled = true;
            return TRUE;
        }
        break;
    case WM_QUERYDRAGICON:
        handled = true;
        return (INT_PTR)m_icon;
    }
    return 0;
}

void CDestinationDialog::OnOK()
{
    if (FolderExists(playerFolder)) {
        End(IDOK);
        return;
    }
    if (MsgBox(IDS_CREATE_FOLDER, MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2, playerFolder,
               m_set.displayName) == IDOK) {
        // every missing level: a default destination may lie several levels
        // below the nearest existing folder
        CSetupFolder folder(playerFolder);
        if (folder.CreatePath() && FolderExists(playerFolder)) {
            End(IDOK);
            return;
        }
        MsgBox(IDS_CREATE_FAILED, MB_OK | MB_ICONEXCLAMATION, playerFolder, m_set.displayName);
    }
    FocusEdit(IDC_PLAYER_FOLDER);
}
