// Shows one of setup's modal dialogs and ends with its result as the exit
// code: "agreement" or "about" on the command line; 99 for anything else.
// "destination|<player folder>|<Navigator folder>" shows the destination page
// for the install set whose SETUP.INI is in the current folder and writes
// its results there to RESULT.TXT: player folder, Navigator folder and the
// check box, one a line.
#include <stdio.h>
#include <string.h>

#include "agreement.h"
#include "app.h"
#include "destination.h"
#include "text.h"

namespace {

class CHostApp : public CApp {
public:
    bool InitInstance() override
    {
        if (EqualNoCase(CommandLine(), "agreement"))
            m_result = (int)CAgreementDialog().DoModal();
        else if (EqualNoCase(CommandLine(), "about"))
            m_result = (int)CAboutDialog().DoModal();
        else if (EqualNoCaseN(CommandLine(), "destination|", 12))
            m_result = Destination(CommandLine() + 12);
        return false;
    }
    int ExitInstance(int) override { return m_result; }

private:
    static int Destination(const char* folders)
    {
        char here[MAX_PATH];
        GetCurrentDirectoryA(sizeof here, here);
        CSetupDescription description(here, "SETUP.INI");
        CInstallSet set(&description, true);
        if (!set.ReadDescription())
            return 98;
        CDestinationDialog dialog(set);
        const char* bar = strchr(folders, '|');
        dialog.playerFolder.Set(folders, bar ? (size_t)(bar - folders) : strlen(folders));
        dialog.navigatorFolder = bar ? bar + 1 : "";
        int result = (int)dialog.DoModal();
        if (FILE* f = fopen("RESULT.TXT", "wb")) {
            fprintf(f, "%s\n%s\n%d\n", dialog.playerFolder.c_str(), dialog.navigatorFolder.c_str(), dialog.otherChecked);
            fclose(f);
        }
        return result;
    }

    int m_result = 99;
};

CHostApp theApp;

}  // namespace
