// The programs' entry point. They link no C runtime, so the entry does what
// the runtime's start-up did for them: it constructs the global objects (the
// application object among them), runs the application with the text after
// the program name, destroys the globals in reverse order and ends the
// process with the application's exit code.
#include "app.h"

// The linker's list of global constructors: -1, the constructors, 0.
typedef void (*Function)();
extern "C" Function __CTOR_LIST__[];

namespace {

// The destructors of the globals, registered by their constructors.
const int kExitSlots = 32;
Function s_atExit[kExitSlots];
int s_atExitCount;

void ConstructGlobals()
{
    int n = 0;
    while (__CTOR_LIST__[n + 1])
        ++n;
    // last to first, as the compiler's own start-up runs them
    for (; n > 0; --n)
        __CTOR_LIST__[n]();
}

void DestroyGlobals()
{
    while (s_atExitCount > 0)
        s_atExit[--s_atExitCount]();
}

// What follows the program name, quoted or not, and the blanks after it.
const char* AfterProgramName(const char* p)
{
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {
        }
        if (*p)
            ++p;
    } else {
        while ((unsigned char)*p > ' ')
            ++p;
    }
    while (*p && (unsigned char)*p <= ' ')
        ++p;
    return p;
}

}  // namespace

extern "C" int atexit(Function f)
{
    if (s_atExitCount == kExitSlots)
        return -1;
    s_atExit[s_atExitCount++] = f;
    return 0;
}

extern "C" void WINAPI ProgramMain()
{
    ConstructGlobals();
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    CApp* app = CApp::Get();
    int code = app ? app->Start(GetModuleHandleA(0), AfterProgramName(GetCommandLineA()), show) : 0;
    DestroyGlobals();
    ExitProcess((UINT)code);
}
