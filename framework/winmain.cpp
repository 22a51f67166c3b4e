#include "app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    CApp* app = CApp::Get();
    return app ? app->Start(instance, commandLine, show) : 0;
}
