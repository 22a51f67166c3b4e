#include "doctype.h"

#include <string.h>

#include "journal.h"
#include "msgbox.h"
#include "progpath.h"
#include "profile.h"
#include "registry.h"
#include "settings.h"

static const char kMimeDatabase[] = "MIME\\Database\\Content Type\\";
static const char kOpenArgs[] = "\"%1\"";   // the command suffix after the program

// Texts of the registration are held in 65-character buffers.
typedef char ShortText[65];

// The key or profile name of an extension: without its period.
static const char* ExtensionName(const char* extension)
{
    return extension[0] == '.' ? extension + 1 : extension;
}

static bool ProgramPathOf(HINSTANCE module, const char* programPath, char (&path)[MAX_PATH])
{
    if (programPath)
        return CopyText(path, programPath) && path[0];
    DWORD n = GetModuleFileNameA(module, path, sizeof path);
    return n > 0 && n < sizeof path;
}

static bool MimeKeyName(const char* mimeType, char (&key)[MAX_PATH])
{
    return CopyText(key, kMimeDatabase) && AppendText(key, mimeType);
}

// The shell and MIME entries of the type. Leaves the path of the program
// that owns the type in `owner`, or nothing when its keys cannot be made.
static void RegisterClasses(HINSTANCE module, const char* program, const char* extension, UINT progIdId,
                            UINT descriptionId, UINT mimeTypeId, UINT ownerListId, UINT quickViewId,
                            char (&owner)[MAX_PATH])
{
    owner[0] = 0;
    CKey extKey;
    if (extKey.Create(HKEY_CLASSES_ROOT, extension) != ERROR_SUCCESS)
        return;
    // another program's ProgID is kept and receives our verbs
    ShortText progId;
    if (!extKey.QueryString(0, progId, sizeof progId) || !progId[0]) {
        if (LoadTextInto(module, progIdId, progId))
            extKey.SetString(0, progId);
    }
    ShortText text;
    if (LoadTextInto(module, mimeTypeId, text)) {
        extKey.SetString("Content Type", text);
        extKey.Close();
        char mimeKey[MAX_PATH];
        CKey key;
        if (MimeKeyName(text, mimeKey) && key.Create(HKEY_CLASSES_ROOT, mimeKey) == ERROR_SUCCESS)
            key.SetString("Extension", extension);
    }
    extKey.Close();

    // an empty ProgID would name HKEY_CLASSES_ROOT itself
    CKey progKey;
    if (!progId[0] || progKey.Create(HKEY_CLASSES_ROOT, progId) != ERROR_SUCCESS)
        return;
    if (!progKey.QueryString(0, text, sizeof text) && LoadTextInto(module, descriptionId, text))
        progKey.SetString(0, text);

    // The icon of a listed program of the family keeps the type (and its
    // open verb) with that program.
    bool takeOver = true;
    char icon[MAX_PATH];
    if (ownerListId) {
        CKey iconKey;
        if (iconKey.Open(progKey.Handle(), "DefaultIcon") == ERROR_SUCCESS &&
            iconKey.QueryString(0, icon, sizeof icon)) {
            int name = IconProgramPath(icon);
            char list[MAX_PATH];
            if (name >= 0 && LoadTextInto(module, ownerListId, list) && FindInList(list, icon + name) >= 0)
                takeOver = false;
        }
    }
    char value[MAX_PATH];
    if (takeOver) {
        CKey iconKey;
        if (CopyText(value, program) && AppendText(value, ",1") &&
            iconKey.Create(progKey.Handle(), "DefaultIcon") == ERROR_SUCCESS)
            iconKey.SetString(0, value);
        CopyText(owner, program);
    } else {
        CopyText(owner, icon);
    }

    CKey openKey;
    if (openKey.Create(progKey.Handle(), "shell\\open\\command") == ERROR_SUCCESS &&
        (takeOver || !openKey.QueryString(0, value, sizeof value)) &&
        BuildCommand(value, sizeof value, owner, kOpenArgs))
        openKey.SetString(0, value);

    if (quickViewId) {
        CKey verbKey, commandKey;
        if (verbKey.Create(progKey.Handle(), "shell\\QuickView") == ERROR_SUCCESS) {
            if (LoadTextInto(module, quickViewId, text))
                verbKey.SetString(0, text);
            if (commandKey.Create(verbKey.Handle(), "command") == ERROR_SUCCESS &&
                BuildCommand(value, sizeof value, program, kOpenArgs))
                commandKey.SetString(0, value);
        }
    }
}

void RegisterDocumentType(HINSTANCE module, const char* programPath, UINT extensionId, UINT progIdId,
                         UINT descriptionId, UINT mimeTypeId, UINT ownerListId, UINT quickViewId)
{
    char program[MAX_PATH];
    ShortText extension;
    if (!ProgramPathOf(module, programPath, program) || !LoadTextInto(module, extensionId, extension) ||
        !ExtensionName(extension)[0])
        return;
    char owner[MAX_PATH];
    RegisterClasses(module, program, extension, progIdId, descriptionId, mimeTypeId, ownerListId, quickViewId,
                    owner);

    // Older programs look in WIN.INI, newer ones per user. When the type could
    // not be registered, no program is named there either.
    char value[MAX_PATH];
    if (!owner[0] || !CopyText(value, owner) || !AppendText(value, " ^") || !AppendText(value, extension))
        return;
    if (WriteProfileStringA("Extensions", ExtensionName(extension), value))
        JournalProfile("WIN.INI entry written:", 0, "Extensions", ExtensionName(extension), value);
    OpenSettingsStore("Microsoft\\Windows", "CurrentVersion");
    if (CSettingsStore* store = SettingsStore())
        store->WriteString("Extensions", ExtensionName(extension), value);
    CloseSettingsStore();
}

enum VerbProgram { kNoCommand, kOtherProgram, kThisProgram };

// Which program the verb's command starts, as seen from `program`.
static VerbProgram CommandStarts(HKEY shell, const char* verbCommand, const char* program)
{
    CKey key;
    char command[MAX_PATH];
    if (key.Open(shell, verbCommand) != ERROR_SUCCESS || !key.QueryString(0, command, sizeof command))
        return kNoCommand;
    ExtractProgramPath(command);
    return EqualNoCase(command, program) ? kThisProgram : kOtherProgram;
}

void UnregisterDocumentType(HINSTANCE module, const char* programPath, UINT extensionId, UINT progIdId,
                           UINT mimeTypeId)
{
    char program[MAX_PATH];
    ShortText extension, progId;
    if (!ProgramPathOf(module, programPath, program) || !LoadTextInto(module, extensionId, extension))
        return;
    {
        CKey extKey;
        if (extKey.Open(HKEY_CLASSES_ROOT, extension) != ERROR_SUCCESS)
            return;
        if (!extKey.QueryString(0, progId, sizeof progId) || !progId[0])
            LoadTextInto(module, progIdId, progId);
    }
    char name[MAX_PATH];
    CKey shell;
    if (!progId[0] || !CopyText(name, progId) || !AppendText(name, "\\shell") ||
        shell.Open(HKEY_CLASSES_ROOT, name) != ERROR_SUCCESS)
        return;

    bool openOurs = CommandStarts(shell.Handle(), "open\\command", program) == kThisProgram;
    VerbProgram quickView = CommandStarts(shell.Handle(), "QuickView\\command", program);
    if (quickView == kThisProgram && !openOurs) {
        DeleteKeyTree(shell.Handle(), "QuickView");
    } else if (quickView == kOtherProgram && openOurs) {
        // another program still views the type through it: keep the type
        DeleteKeyTree(shell.Handle(), "open");
        openOurs = false;
    }
    shell.Close();

    if (openOurs) {
        DeleteKeyTree(HKEY_CLASSES_ROOT, extension);
        DeleteKeyTree(HKEY_CLASSES_ROOT, progId);
        char mimeType[MAX_PATH];
        if (LoadTextInto(module, mimeTypeId, mimeType) && MimeKeyName(mimeType, name))
            DeleteKeyTree(HKEY_CLASSES_ROOT, name);
    }
}

int ReadOpenCommandProgram(const char* progId, char* buf, DWORD size)
{
    char name[MAX_PATH];
    CKey key;
    if (!progId || !progId[0] || !CopyText(name, progId) || !AppendText(name, "\\shell\\open\\command") ||
        key.Open(HKEY_CLASSES_ROOT, name) != ERROR_SUCCESS || !key.QueryString(0, buf, size))
        return -1;
    size_t at = ExtractProgramPath(buf);
    return buf[0] ? (int)at : -1;
}

CSetupFile* FindRegisteredOpener(const char* extension, CStr* progId)
{
    if (progId)
        progId->Clear();
    if (!extension || !extension[0])
        return 0;
    char path[MAX_PATH];
    int at = -1;
    {
        CKey key;
        char value[MAX_PATH];
        if (key.Open(HKEY_CLASSES_ROOT, extension) == ERROR_SUCCESS && key.QueryString(0, value, sizeof value)) {
            if (progId)
                progId->Set(value);
            at = ReadOpenCommandProgram(value, path, sizeof path);
        }
    }
    if (at < 0) {
        if (ReadProfileText(0, "Extensions", ExtensionName(extension), 0, path)) {
            size_t name = ExtractProgramPath(path);
            if (path[0])
                at = (int)name;
        }
    }
    CSetupFile* file = 0;
    if (at >= 0)
        file = new CSetupFile(CStr(path, at > 0 ? (size_t)at - 1 : 0), path + at);
    if (!file && progId)
        progId->Clear();
    return file;
}
