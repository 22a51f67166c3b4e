#include "app.h"

#include <string.h>

CApp* CApp::s_app = 0;

CApp::CApp()
    : m_instance(GetModuleHandleA(0)), m_commandLine(""), m_show(SW_SHOWNORMAL), m_mainWnd(0)
{
    m_title[0] = 0;
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(0, path, sizeof path);
    if (n > 0 && n < sizeof path) {
        const char* name = strrchr(path, '\\');
        name = name ? name + 1 : path;
        strcpy(m_title, name);
        char* dot = strrchr(m_title, '.');
        if (dot)
            *dot = 0;
    }
    s_app = this;
}

CApp::~CApp()
{
    if (s_app == this)
        s_app = 0;
}

int CApp::Start(HINSTANCE instance, const char* commandLine, int show)
{
    m_instance = instance;
    m_commandLine = commandLine ? commandLine : "";
    m_show = show;
    int code = 0;
    if (InitInstance()) {
        MSG msg;
        while (GetMessageA(&msg, 0, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        code = (int)msg.wParam;
    }
    return ExitInstance(code);
}
