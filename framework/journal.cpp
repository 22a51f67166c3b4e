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

void JournalKeyOpened(HKEY key, HKEY parent, const char* subkey)
{
    if (!s_writer || !key)
        return;
    unsigned slot = s_next++ % (sizeof s_keys / sizeof s_keys[0]);
    const char* root = KeyName(parent);
    if (!subkey)
        subkey = "";
    // a name that does not fit is not recorded: the key reads as "?"
    s_keys[slot].key = 0;
    if (lstrlenA(root) + 1 + lstrlenA(subkey) < MAX_PATH) {
        wsprintfA(s_keys[slot].name, *subkey ? "%s\\%s" : "%s", root, subkey);
        s_keys[slot].key = key;
    }
}

void JournalKeyClosed(HKEY key)
{
    for (unsigned i = 0; i < sizeof s_keys / sizeof s_keys[0]; ++i)
        if (s_keys[i].key == key)
            s_keys[i].key = 0;
}

// Names and paths are at most 259 characters, values a little more (a
// quoted command), and wsprintfA writes at most 1024: each line fits its
// buffer.
void Journal(const char* what, HKEY parent, const char* subkey, const char* name, const char* value)
{
    if (!s_writer)
        return;
    char line[1400];
    int n = wsprintfA(line, "%s %.259s", what, KeyName(parent));
    if (subkey && *subkey)
        n += wsprintfA(line + n, "\\%.259s", subkey);
    if (name)
        n += wsprintfA(line + n, " \"%.259s\"", name);
    if (value)
        wsprintfA(line + n, " = \"%.400s\"", value);
    s_writer(line);
}

void JournalProfile(const char* what, const char* file, const char* section, const char* key, const char* value)
{
    if (s_writer) {
        char line[1400];
        wsprintfA(line, "%s [%.259s] %.259s=%.259s in %.259s", what, section, key, value, file ? file : "WIN.INI");
        s_writer(line);
    }
}
