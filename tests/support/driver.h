// Drives the real programs from another process, as a user would: finds their
// windows and message boxes, reads them, presses their buttons.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();   // ends a process still running

    // Starts exe with the arguments in folder; env: an environment block or null.
    bool Start(const std::string& exe, const std::string& args, const std::string& folder,
               const char* env = nullptr);
    // Starts exe like Start, but holds it once the system has bound its imports,
    // before any of its own code ran, and calls atStart (which may reach into
    // it, see remote.h) before letting it run.
    bool StartPaused(const std::string& exe, const std::string& args, const std::string& folder,
                     const std::function<void()>& atStart);
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process; }
    bool Running() const;
    // The exit code, or -1 when it still runs after ms.
    long Wait(DWORD ms);
    void Kill();

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

enum class Icon { None, Stop, Exclamation, Question, Information, Unknown };
const char* IconName(Icon icon);

// A visible dialog-class window (message box or dialog) of the process; null
// when none showed up within ms. A caption narrows the search.
HWND WaitForDialog(DWORD pid, DWORD ms, const char* caption = nullptr);
// A visible top-level window of the process with that class name.
HWND WaitForWindow(DWORD pid, const char* className, DWORD ms);
// Waits until the window is gone.
bool WaitGone(HWND hwnd, DWORD ms);

struct Box {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;              // control 0xFFFF of a message box
    std::vector<int> buttons;      // ids of the visible buttons, left to right
    int defaultButton = 0;
    Icon icon = Icon::None;
};
Box ReadBox(HWND box);

// What a run showed: a message box, or nothing until it ended.
struct Outcome {
    bool shown = false;
    Box box;
    long exitCode = -1;            // when nothing was shown
};
Outcome NextBoxOrExit(Process& p, DWORD ms);

std::string WindowText(HWND hwnd);
std::string ItemText(HWND dlg, int id);
std::string ClassOf(HWND hwnd);
bool ItemEnabled(HWND dlg, int id);
bool ItemChecked(HWND dlg, int id);
bool ItemReadOnly(HWND dlg, int id);
bool ItemVisible(HWND dlg, int id);
// Presses a button as a click would; false when it is missing or disabled.
bool Press(HWND dlg, int id);
// Sends a key to a window as if typed (WM_KEYDOWN/WM_CHAR/WM_KEYUP).
void SendKey(HWND hwnd, UINT vk);
// A message sent to a window of another process; its result (0 when it hung).
DWORD_PTR Ask(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
// The window with the keyboard focus in the thread of `hwnd`.
HWND FocusOf(HWND hwnd);
// Whether `done` comes true within ms, asked every 20 ms: for what a posted message brings about.
bool Eventually(const std::function<bool()>& done, DWORD ms = 5000);

// The standard icon shown by a message box, told by its pixels.
Icon IconOf(HWND box);
// The window's pixels as a 24-bit BMP file.
bool SaveScreenshot(HWND hwnd, const std::string& bmpPath);

}  // namespace bench
