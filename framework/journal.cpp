#include "journal.h"

#include "text.h"

static JournalWriter s_writer;

// The keys open through CKey and their names; the oldest gives way.
static struct {
    HKEY key;
    char name[MAX_PATH];
} s_keys[16];
static unsigned s_next;

void SetJournalWriter(JournalWriter writer) { s_writer = writer; }

bool JournalOn() { return s_writer != 0; }

static const char* KeyName(HKEY key)
{
    if (key == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (key == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT";
    for (unsigned i = 0; i < sizeof s_keys / sizeof s_keys[0]; ++i)
        if (key && s_keys[i].key == key)
            return s_keys[i].name;
    return "?";
}

static CStr KeyPath(HKEY parent, const char* subkey)
{
    CStr path = KeyName(parent);
    if (subkey && *subkey) {
        path.AppendChar('\\');
        path.Append(subkey);
    }
    return path;
}

void JournalKeyOpened(HKEY key, HKEY parent, const char* subkey)
{
    if (!s_writer || !key)
        return;
    unsigned slot = s_next++ % (sizeof s_keys / sizeof s_keys[0]);
    // a name that does not fit is not recorded: the key reads as "?"
    s_keys[slot].key = CopyText(s_keys[slot].name, KeyPath(parent, subkey)) ? key : 0;
}

void JournalKeyClosed(HKEY key)
{
    for (unsigned i = 0; i < sizeof s_keys / sizeof s_keys[0]; ++i)
        if (s_keys[i].key == key)
            s_keys[i].key = 0;
}

static void AppendQuoted(CStr& line, const char* text)
{
    line.Append(" \"");
    line.Append(text);
    line.AppendChar('"');
}

void Journal(const char* what, HKEY parent, const char* subkey, const char* name, const char* value)
{
    if (!s_writer)
        return;
    CStr line = what;
    line.AppendChar(' ');
    line.Append(KeyPath(parent, subkey));
    if (name)
        AppendQuoted(line, name);
    if (value) {
        line.Append(" =");
        AppendQuoted(line, value);
    }
    s_writer(line);
}

void JournalProfile(const char* what, const char* file, const char* section, const char* key, const char* value)
{
    if (!s_writer)
        return;
    CStr line = what;
    line.Append(" [");
    line.Append(section);
    line.Append("] ");
    line.Append(key);
    line.AppendChar('=');
    line.Append(value);
    line.Append(" in ");
    line.Append(file ? file : "WIN.INI");
    s_writer(line);
}
