// Unattended install and removal for administrators: no window, every question
// answered the way that keeps data safe, the outcome as the exit code.
#include "setupapp.h"

#include "launch.h"
#include "quillset.h"
#include "runlog.h"

bool CSetupApp::BeginUnattended()
{
    m_unattended = true;
    // every stop before the flows means a set that cannot be used
    m_exitCode = kExitUnusableSet;
    if (!m_switches.log.IsEmpty() && !OpenRunLog(m_switches.log)) {
        m_exitCode = kExitBadLine;
        return false;
    }
    AnswerMessagesUnattended();
    char line[1024];
    wsprintfA(line, "%.259s started unattended: %.700s", Title(), CommandLine());
    LogLine(line);
    return true;
}

int CSetupApp::ExitInstance(int)
{
    if (!m_unattended)
        return m_exitCode;   // 0, or a bad command line
    char line[32];
    wsprintfA(line, "exit code %d", m_exitCode);
    LogLine(line);
    CloseRunLog();
    return m_exitCode;
}

// The run ended with the install set's error, or without one.
void CSetupApp::EndUnattended(int code)
{
    if (m_set->pendingError) {
        code = ExitCodeFor(m_set->pendingError->id);
        ShowError(MB_ICONEXCLAMATION);
    }
    m_exitCode = code;
}

// The switches that stand for the destination page's answers.
void CSetupApp::ApplySwitches()
{
    m_set->unattended = true;
    m_set->showProgress = m_switches.progress;
    if (!m_switches.folder.IsEmpty())
        m_set->destination.SetPath(m_switches.folder);
    if (!m_switches.navigator.IsEmpty())
        m_set->SetNavigatorFolder(m_switches.navigator);
    // the other product as the destination page offers it
    if (m_set->otherModulePresent && !m_switches.noOther)
        m_set->AddOtherProduct();
}

void CSetupApp::InstallUnattended()
{
    ApplySwitches();
    // the page goes on only with a Navigator that can take the plug-in
    if ((m_set->flags & kPluginSet) && !(m_set->navigator && m_set->IsPluginFolder(m_set->navigator->Path()))) {
        MsgBox(IDS_NAV_NO_PATH, MB_OK | MB_ICONEXCLAMATION);
        m_exitCode = kExitNoNavigator;
        return;
    }
    const char* folder = m_set->destination.Path();
    if (!FolderExists(folder)) {
        CSetupFolder make(folder);
        if (!make.CreatePath() || !FolderExists(folder)) {
            MsgBox(IDS_CREATE_FAILED, MB_OK | MB_ICONEXCLAMATION, folder, m_set->displayName);
            m_exitCode = kExitFailed;
            return;
        }
        LogFile("folder made", folder);
    }
    m_set->RunInstall();
    EndUnattended(kExitDone);
    if (m_exitCode != kExitDone)
        return;
    // the completion message, without the readme
    CStr tail = (m_set->flags & kPluginSet) ? FormatText(IDS_RESTART_NAVIGATOR, "") : CStr();
    MsgBox(IDS_INSTALLED, MB_OK | MB_ICONINFORMATION, m_set->displayName, tail);
}

void CSetupApp::UninstallUnattended()
{
    // the administrator asked for the removal
    LogMessage(IDS_CONFIRM_REMOVE, LoadText(IDS_CONFIRM_REMOVE), "Yes");
    ApplySwitches();
    bool removed = m_set->RunUninstall();
    EndUnattended(removed ? kExitDone : kExitFailed);
    if (m_exitCode != kExitDone)
        return;
    // the helper takes the setup program and the emptied folder, silently
    if (LaunchRemovalHelper(*m_self, m_set->displayName, false))
        LogFile("removal helper started for", m_self->FullPath());
    else
        MsgBox(IDS_REMOVED, MB_OK | MB_ICONINFORMATION);
}
