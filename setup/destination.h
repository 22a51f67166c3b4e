// The destination page: where the install set's files go, where Netscape
// Navigator is, and whether the other product comes along.
#pragma once
#include "dialog.h"
#include "installset.h"

class CDestinationDialog : public CModalDialog {
public:
    // The player form when the set is a player set, else the plug-in form.
    explicit CDestinationDialog(CInstallSet& set);

    // Preset by the caller; after OK what the user chose.
    CStr playerFolder;
    CStr navigatorFolder;
    int otherChecked;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
    void OnOK() override;

private:
    // Asks IsPluginFolder about the Navigator folder text.
    void CheckNavigator();
    void UpdateNavigatorState(bool recheck);
    void UpdateOptionControls();
    void Enable(int id, bool enable) { EnableWindow(Item(id), enable); }
    // The shell's browser with its title and callback where there is one,
    // else the old-style folder dialog.
    void Browse(int id, UINT titleId, bool navigator);

    CInstallSet& m_set;
    HICON m_icon;
    int m_playerForm;
    int m_otherOffered;
    int m_navigatorFound;
    int m_navigatorTooOld;       // a Navigator is there but takes no plug-ins
    int m_navigatorChanged;      // edited since the last check
};
