// Unattended runs: their exit codes, their answers to setup's questions and
// the log an administrator may ask for.
#pragma once
#include <windows.h>

enum UnattendedExit {
    kExitDone = 0,
    kExitBadLine = 1,
    kExitUnusableSet = 2,      // every stop of the start-up: the set is damaged
    kExitProgramRunning = 3,   // try again later
    kExitProtected = 4,        // a critical file write-protected
    kExitFailed = 5,
    kExitNoNavigator = 6,      // a plug-in set without a Navigator that can take it
    kExitCancelled = 7,        // the progress dialog's Cancel
};

// From here on every message is answered without a window, the way that
// keeps data safe (No, Cancel, OK), and remembered.
void AnswerMessagesUnattended();
// Whether message `id` was answered so.
bool MessageAnswered(UINT id);
// The exit code for the message an unattended run ended with.
int ExitCodeFor(UINT id);

// Appends the run's log to `path` and records the registry and WIN.INI
// changes there. False when the file cannot be opened.
bool OpenRunLog(const char* path);
void CloseRunLog();
// "message <id>: <text> -> <answer>", the text on one line.
void LogMessage(UINT id, const char* text, const char* answer);
// A line of the log; silent without one.
void LogLine(const char* text);
// "<what> <path>", with the install function's finding when there is one.
void LogFile(const char* what, const char* path, bool withFinding = false, DWORD finding = 0);
