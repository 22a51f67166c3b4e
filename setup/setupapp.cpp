#include "setupapp.h"

#include "descrules.h"
#include "msgbox.h"
#include "quillset.h"
#include "runlog.h"
#include "syslib.h"
#include "toolhelp.h"

static CSetupApp theApp;

CSetupApp::CSetupApp()
    : m_self(0), m_description(0), m_win32(true), m_set(0), m_unattended(false), m_exitCode(0)
{
    // setup runs from a download folder or a CD: no library from there
    RestrictLibrarySearch();
    BindToolHelp();
}

CSetupApp::~CSetupApp()
{
    delete m_self;
    delete m_description;
    delete m_set;
}

CSetupDescription* CSetupApp::FindDescription()
{
    CStr name = DescriptionName(m_self->Name());
    CSetupDescription* description = new CSetupDescription(m_self->Path(), name);
    if (description && !description->Exists()) {
        CStr second;
        if (SecondDescriptionName(name, second)) {
            delete description;
            name = second;
            description = new CSetupDescription(m_self->Path(), name);
        }
    }
    if (description && description->Exists())
        return description;
    if (!description)
        MsgBox(IDS_INIT_FAILED, MB_OK | MB_ICONSTOP);
    else
        MsgBox(IDS_FILE_MISSING, MB_OK | MB_ICONSTOP, name);
    delete description;
    return 0;
}

bool CSetupApp::InitInstance()
{
    SetupLineKind line = ReadSetupLine(CommandLine(), m_switches);
    if (line == kBadLine) {
        m_exitCode = kExitBadLine;
        return false;
    }
    if (line == kUnattendedLine && !BeginUnattended())
        return false;
    m_self = new CSetupFile;
    if (!m_self) {
        MsgBox(IDS_INIT_FAILED, MB_OK | MB_ICONSTOP);
        return false;
    }
    m_self->Probe();
    m_description = FindDescription();
    if (!m_description)
        return false;

    m_set = new CInstallSet(m_description, m_win32);
    if (!m_set) {
        MsgBox(IDS_INIT_FAILED, MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!m_set->ReadDescription()) {
        if (m_set->pendingError)
            ShowError(MB_ICONSTOP);
        else
            MsgBox(IDS_NO_MODE, MB_OK | MB_ICONSTOP, m_description->Name());
        return false;
    }
    m_set->LocateInstallation();
    m_look3d.Enable(Instance());
    if (m_unattended && m_switches.uninstall)
        UninstallUnattended();
    else if (m_unattended)
        InstallUnattended();
    else if (IsUninstallSwitch(CommandLine()))
        Uninstall();
    else
        Install();
    m_look3d.Disable(Instance());
    return false;
}
