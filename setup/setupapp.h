// The setup program's application object.
#pragma once
#include "app.h"
#include "description.h"
#include "installset.h"
#include "look3d.h"
#include "setupline.h"

class CSetupApp : public CApp {
public:
    CSetupApp();
    ~CSetupApp();

    bool InitInstance() override;
    // 0 on every interactive path; an unattended run's outcome otherwise.
    int ExitInstance(int) override;

private:
    // The description beside the setup program, under its first or second
    // name; null after telling the user that neither is there.
    CSetupDescription* FindDescription();
    // The two flows; each ends setup when it returns.
    void Install();
    void Uninstall();
    // The same without any window: the switches and the safe answers decide.
    bool BeginUnattended();
    void ApplySwitches();
    void InstallUnattended();
    void UninstallUnattended();
    void EndUnattended(int code);
    // The message of the install set's error slot.
    void ShowError(UINT icon);

    CSetupFile* m_self;                 // the running setup program
    CSetupDescription* m_description;
    bool m_win32;                       // the 32-bit variant wins over the 16-bit one
    CInstallSet* m_set;
    C3dLook m_look3d;
    bool m_unattended;
    UnattendedSwitches m_switches;
    int m_exitCode;
};
