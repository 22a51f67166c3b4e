#include "runlog.h"

#include "journal.h"
#include "msgbox.h"
#include "quillset.h"
#include "text.h"

static HANDLE s_log = INVALID_HANDLE_VALUE;
static DWORD s_answered[2];   // bit (id - 100) of messages 100 to 163

static void Remember(UINT id)
{
    if (id >= 100 && id < 164)
        s_answered[(id - 100) / 32] |= 1UL << ((id - 100) % 32);
}

bool MessageAnswered(UINT id)
{
    return id >= 100 && id < 164 && (s_answered[(id - 100) / 32] & (1UL << ((id - 100) % 32)));
}

int ExitCodeFor(UINT id)
{
    if (MessageAnswered(IDS_PROGRAM_RUNNING))
        return kExitProgramRunning;
    switch (id) {
    case IDS_FILE_MISSING:
    case IDS_NO_MODE:
    case IDS_TOO_MANY_FILES:
    case IDS_BAD_FILE_NAME:
    case IDS_NO_VARIANT:
    case IDS_INIT_FAILED:
        return kExitUnusableSet;
    case IDS_NAV_NO_PATH:
        return kExitNoNavigator;
    case IDS_CANCELED:
        return kExitCancelled;
    case IDS_CRUCIAL_PROTECTED:
        return kExitProtected;
    }
    return kExitFailed;
}

static int Answer(UINT id, const char* text, UINT style)
{
    Remember(id);
    UINT buttons = style & MB_TYPEMASK;
    int answer = IDOK;
    const char* said = "OK";
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) {
        answer = IDNO;
        said = "No";
    } else if (buttons == MB_OKCANCEL || buttons == MB_RETRYCANCEL) {
        answer = IDCANCEL;
        said = "Cancel";
    }
    LogMessage(id, text, said);
    return answer;
}

void LogMessage(UINT id, const char* text, const char* answer)
{
    char line[1200];
    int n = wsprintfA(line, "message %u: ", id);
    // one line per message; a text longer than a message can be is cut
    for (const char* p = text; *p && n < 1100; ++p)
        line[n++] = *p == '\n' || *p == '\r' ? ' ' : *p;
    wsprintfA(line + n, " -> %.20s", answer);
    LogLine(line);
}

void AnswerMessagesUnattended() { SetMessageAnswer(Answer); }

bool OpenRunLog(const char* path)
{
    s_log = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (s_log == INVALID_HANDLE_VALUE)
        return false;
    SetFilePointer(s_log, 0, 0, FILE_END);
    SetJournalWriter(LogLine);
    return true;
}

void CloseRunLog()
{
    SetJournalWriter(0);
    if (s_log != INVALID_HANDLE_VALUE)
        CloseHandle(s_log);
    s_log = INVALID_HANDLE_VALUE;
}

void LogLine(const char* text)
{
    DWORD written;
    if (s_log != INVALID_HANDLE_VALUE) {
        WriteFile(s_log, text, (DWORD)lstrlenA(text), &written, 0);
        WriteFile(s_log, "\r\n", 2, &written, 0);
    }
}

void LogFile(const char* what, const char* path, bool withFinding, DWORD finding)
{
    char line[400];
    wsprintfA(line, withFinding ? "%.40s %.259s (finding 0x%lX)" : "%.40s %.259s", what, path, finding);
    LogLine(line);
}
