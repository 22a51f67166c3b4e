// Shows one of setup's modal dialogs and ends with its result as the exit
// code: "agreement" or "about" on the command line; 99 for anything else.
#include "agreement.h"
#include "app.h"
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
        return false;
    }
    int ExitInstance(int) override { return m_result; }

private:
    int m_result = 99;
};

CHostApp theApp;

}  // namespace
