// An application object for test programs that show setup's windows in
// their own process: the dialogs take their templates and texts from it.
#include "app.h"

namespace {

class CTestApp : public CApp {
public:
    bool InitInstance() override { return false; }
};

CTestApp theTestApp;

}  // namespace
