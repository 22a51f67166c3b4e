// The install and uninstall flows: the pages, the install set's routines and
// what the user is told at the end.
#include "setupapp.h"

#include "agreement.h"
#include "destination.h"
#include "launch.h"
#include "msgbox.h"
#include "quillset.h"

void CSetupApp::ShowError(UINT icon) { MsgBoxText(m_set->pendingError->text, MB_OK | icon, m_set->pendingError->id); }

void CSetupApp::Uninstall()
{
    if (MsgBox(IDS_CONFIRM_REMOVE, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return;
    if (m_set->otherModulePresent)
        m_set->AddOtherProduct();
    if (!m_set->RunUninstall())
        return;
    if (m_set->pendingError) {
        ShowError(MB_ICONEXCLAMATION);
        return;
    }
    // the helper reports the removal once setup has gone
    if (!LaunchRemovalHelper(*m_self, m_set->displayName, true))
        MsgBox(IDS_REMOVED, MB_OK | MB_ICONINFORMATION);
}

void CSetupApp::Install()
{
    {
        CAgreementDialog agreement;
        if (agreement.DoModal() != IDOK)
            return;
    }
    {
        CDestinationDialog destination(*m_set);
        destination.playerFolder = m_set->destination.Path();
        destination.navigatorFolder = m_set->navigator ? m_set->navigator->Path() : "";
        INT_PTR answer = destination.DoModal();
        SetMainWindow(0);
        if (answer != IDOK)
            return;
        m_set->destination.SetPath(destination.playerFolder);
        m_set->SetNavigatorFolder(destination.navigatorFolder);
        if (destination.otherChecked)
            m_set->AddOtherProduct();
    }
    m_set->RunInstall();
    if (m_set->pendingError) {
        ShowError(MB_ICONEXCLAMATION);
        return;
    }
    bool cleaned = m_set->OfferInstallSetCleanup(*m_self);
    // a readme that cannot be shown ends setup: the set's folder stays
    if (!m_set->ShowInstallComplete()) {
        ShowError(MB_ICONINFORMATION);
        return;
    }
    if (cleaned)
        LaunchRemovalHelper(*m_self, m_set->displayName, false);
}
