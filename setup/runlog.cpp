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
    case IDS_NAV_NO_PATH:
        return kExitUnusableSet;
    case IDS_CANCELED:
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
    char number[16];
    wsprintfA(number, "message %u: ", id);
    CStr line = number;
    // one line per message
    for (const char* p = text; *p; ++p)
        line.AppendChar(*p == '\n' || *p == '\r' ? ' ' : *p);
    line.Append(" -> ");
    line.Append(answer);
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
    if (s_log == INVALID_HANDLE_VALUE)
        return;
    CStr line = text;
    line.Append("\r\n");
    DWORD written;
    WriteFile(s_log, line.c_str(), (DWORD)line.Length(), &written, 0);
}

void LogFile(const char* what, const char* path, bool withFinding, DWORD finding)
{
    if (s_log == INVALID_HANDLE_VALUE)
        return;
    CStr line = what;
    line.AppendChar(' ');
    line.Append(path);
    if (withFinding) {
        char text[40];
        wsprintfA(text, " (finding 0x%lX)", finding);
        line.Append(text);
    }
    LogLine(line);
}
