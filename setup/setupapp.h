// The setup program's application object.
#pragma once
#include "app.h"
#include "description.h"
#include "installset.h"

class CSetupApp : public CApp {
public:
    CSetupApp();
    ~CSetupApp();

    bool InitInstance() override;
    int ExitInstance(int) override { return 0; }   // 0 on every path

private:
    // The description beside the setup program, under its first or second
    // name; null after telling the user that neither is there.
    CSetupDescription* FindDescription();

    CSetupFile* m_self;                 // the running setup program
    CSetupDescription* m_description;
    bool m_win32;                       // the 32-bit variant wins over the 16-bit one
    CInstallSet* m_set;
};
