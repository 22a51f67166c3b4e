#include "msgbox.h"

#include "app.h"

CStr LoadText(UINT id)
{
    CApp* app = CApp::Get();
    char buf[1024];
    int n = LoadStringA(app ? app->Instance() : GetModuleHandleA(0), id, buf, sizeof buf);
    return n > 0 ? CStr(buf, (size_t)n) : CStr();
}

CStr FormatText(UINT id, const char* arg1, const char* arg2)
{
    return ReplaceArgs(LoadText(id), arg1, arg2);
}

int MsgBoxText(const char* text, UINT style)
{
    CApp* app = CApp::Get();
    HWND owner = GetActiveWindow();
    if (!owner && app)
        owner = app->MainWindow();
    return MessageBoxA(owner, text, app ? app->Title() : "", style);
}

int MsgBox(UINT id, UINT style, const char* arg1, const char* arg2)
{
    return MsgBoxText(FormatText(id, arg1, arg2), style);
}
