// The application object: one per program, constructed as a global.
#pragma once
#include <windows.h>

class CApp {
public:
    CApp();
    virtual ~CApp();

    // Run once after the process started. True: go on into a message loop
    // until WM_QUIT; false: the process ends at once.
    virtual bool InitInstance() = 0;
    // Exit code of the process; receives the message loop's code (0 without one).
    virtual int ExitInstance(int code) { return code; }

    HINSTANCE Instance() const { return m_instance; }
    int ShowCommand() const { return m_show; }
    // The text after the program name, its blanks removed.
    const char* CommandLine() const { return m_commandLine; }
    // The program file name without its extension: every message box's caption.
    const char* Title() const { return m_title; }

    // The window that stands for the application while a dialog runs.
    HWND MainWindow() const { return m_mainWnd; }
    void SetMainWindow(HWND w) { m_mainWnd = w; }

    static CApp* Get() { return s_app; }

    // Called by WinMain.
    int Start(HINSTANCE instance, const char* commandLine, int show);

private:
    CApp(const CApp&);
    void operator=(const CApp&);

    HINSTANCE m_instance;
    const char* m_commandLine;
    int m_show;
    HWND m_mainWnd;
    char m_title[MAX_PATH];
    static CApp* s_app;
};
