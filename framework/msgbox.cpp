#include "msgbox.h"

#include <string.h>

#include "app.h"

static HINSTANCE ProgramInstance()
{
    CApp* app = CApp::Get();
    return app ? app->Instance() : GetModuleHandleA(0);
}

CStr LoadText(UINT id)
{
    char buf[1024];
    int n = LoadStringA(ProgramInstance(), id, buf, sizeof buf);
    return n > 0 ? CStr(buf, (size_t)n) : CStr();
}

bool LoadTextInto(HINSTANCE module, UINT id, char* buf, size_t size)
{
    if (size == 0)
        return false;
    buf[0] = 0;
    if (id == 0)
        return false;
    // LoadStringA cuts a long text to the buffer: load into a larger one to tell
    char text[1024];
    int n = LoadStringA(module ? module : ProgramInstance(), id, text, sizeof text);
    if (n <= 0 || (size_t)n >= size || n >= (int)sizeof text - 1)
        return false;
    memcpy(buf, text, (size_t)n + 1);
    return true;
}

CStr FormatText(UINT id, const char* arg1, const char* arg2)
{
    return ReplaceArgs(LoadText(id), arg1, arg2);
}

static MessageAnswer s_answer;

void SetMessageAnswer(MessageAnswer answer) { s_answer = answer; }

int MsgBoxText(const char* text, UINT style, UINT id)
{
    if (s_answer)
        return s_answer(id, text, style);
    CApp* app = CApp::Get();
    HWND owner = GetActiveWindow();
    if (!owner && app)
        owner = app->MainWindow();
    return MessageBoxA(owner, text, app ? app->Title() : "", style);
}

int MsgBox(UINT id, UINT style, const char* arg1, const char* arg2)
{
    return MsgBoxText(FormatText(id, arg1, arg2), style, id);
}
