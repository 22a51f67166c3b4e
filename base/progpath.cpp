#include "progpath.h"

#include <string.h>

#include "pathrules.h"
#include "text.h"

static bool IsArgumentStart(char c) { return c == '%' || c == '/' || c == '-' || c == '^'; }

size_t ExtractProgramPath(char* command)
{
    size_t skip = strspn(command, " ");
    if (skip)
        memmove(command, command + skip, strlen(command + skip) + 1);
    size_t len = strlen(command);
    while (len > 1) {
        while (len && command[len - 1] == ' ')
            command[--len] = 0;
        char separator = ' ';
        if (len && command[len - 1] == '"') {
            command[--len] = 0;
            separator = '"';
        }
        char* at = strrchr(command, separator);
        if (!at)
            break;
        const char* token = at + 1;
        if (IsArgumentStart(*token)) {
            *at = 0;
            len = (size_t)(at - command);
            continue;
        }
        if (separator == ' ' && strpbrk(token, "\\."))
            break;
        if (at == command) {
            // the opening quote of a quoted path
            memmove(command, command + 1, len);
            break;
        }
        *at = 0;
        len = (size_t)(at - command);
    }
    return (size_t)(AfterLastBackslash(command) - command);
}

int FindInList(const char* list, const char* name)
{
    char buf[260];
    if (!list || !name || !CopyText(buf, list) || !buf[0])
        return -1;
    const char separator = buf[0];
    char* entry = buf + 1;
    for (int index = 0;; ++index) {
        char* end = strchr(entry, separator);
        if (!end)
            return -1;
        *end = 0;
        if (EqualNoCase(entry, name))
            return index;
        entry = end + 1;
    }
}

bool BuildCommand(char* dst, size_t size, const char* program, const char* args)
{
    const bool quote = strchr(program, ' ') != 0;
    const bool hasArgs = args && *args;
    if (!CopyText(dst, size, quote ? "\"" : "") || !AppendText(dst, size, program) ||
        !AppendText(dst, size, quote ? "\"" : "") || !AppendText(dst, size, hasArgs ? " " : "") ||
        !AppendText(dst, size, args)) {
        if (size)
            dst[0] = 0;
        return false;
    }
    return true;
}

int IconProgramPath(char* icon)
{
    char* comma = strrchr(icon, ',');
    if (comma)
        *comma = 0;
    size_t len = strlen(icon);
    if (len >= 2 && icon[0] == '"' && icon[len - 1] == '"') {
        memmove(icon, icon + 1, len - 2);
        icon[len - 2] = 0;
    }
    const char* slash = strrchr(icon, '\\');
    return slash ? (int)(slash + 1 - icon) : -1;
}

bool ProfileFileName(char* dst, size_t size, const char* name)
{
    if (!CopyText(dst, size, name))
        return false;
    char* dot = strrchr(dst, '.');
    if (dot && !strchr(dot, '\\'))
        *dot = 0;
    if (!AppendText(dst, size, ".ini")) {
        dst[0] = 0;
        return false;
    }
    return true;
}

bool IsPathInFolder(const char* path, const char* folder)
{
    size_t n = strlen(folder);
    if (n == 0 || !EqualNoCaseN(path, folder, n))
        return false;
    return folder[n - 1] == '\\' || path[n] == '\\';
}
