// Shows one of setup's modal dialogs and ends with its result as the exit
// code: "agreement" or "about" on the command line; 99 for anything else.
// "destination|<player folder>|<Navigator folder>" shows the destination
// page for the install set whose SETUP.INI is in the current folder.
// "atexit" fills the entry's table of global destructors: the exit code is
// the number it took, when each of them ran once.
#include <stdlib.h>
#include <string.h>

#include "agreement.h"
#include "app.h"
#include "destination.h"
#include "text.h"

namespace {

int s_registered, s_ran;
void CountRun() { ++s_ran; }
// registered first, so run last: every other one has run by then
void CheckRuns() { ExitProcess(s_ran == s_registered - 1 ? s_registered : 97); }

class CHostApp : public CApp {
public:
    bool InitInstance() override
    {
        const char* line = CommandLine();
        if (EqualNoCase(line, "agreement"))
            m_result = (int)CAgreementDialog().DoModal();
        else if (EqualNoCase(line, "about"))
            m_result = (int)CAboutDialog().DoModal();
        else if (EqualNoCaseN(line, "destination|", 12) && strchr(line + 12, '|'))
            m_result = Destination(line + 12, strchr(line + 12, '|'));
        else if (EqualNoCase(line, "atexit"))
            for (void (*f)() = CheckRuns; s_registered < 64 && atexit(f) == 0; f = CountRun)
                ++s_registered;
        return false;
    }
    int ExitInstance(int) override { return m_result; }

private:
    static int Destination(const char* player, const char* bar)
    {
        char here[MAX_PATH];
        GetCurrentDirectoryA(sizeof here, here);
        CSetupDescription description(here, "SETUP.INI");
        CInstallSet set(&description, true);
        if (!set.ReadDescription())
            return 98;
        CDestinationDialog dialog(set);
        dialog.playerFolder.Set(player, (size_t)(bar - player));
        dialog.navigatorFolder = bar + 1;
        return (int)dialog.DoModal();
    }

    int m_result = 99;
};

CHostApp theApp;

}  // namespace
