#include "caption.h"

#include <string.h>

static const char kSeparator[] = " - ";
static const char kEllipsis[] = "...";

bool TitleFirst(unsigned major, unsigned minor) { return major >= 4 || minor >= 95; }

void MakeCaption(char* out, size_t size, const char* program, const char* title, bool titleFirst)
{
    if (size == 0)
        return;
    out[0] = 0;
    size_t fixed = strlen(program) + strlen(kSeparator);
    size_t room = fixed < size ? size - 1 - fixed : 0;
    // the title's length, counted no further than one past the room
    size_t n = 0;
    while (n <= room && title[n])
        ++n;
    bool cut = n > room || fixed >= size;
    if (cut && room <= strlen(kEllipsis)) {
        // not even one character of the title fits: the program name alone
        if (strlen(program) < size)
            strcpy(out, program);
        return;
    }
    if (cut)
        n = room - strlen(kEllipsis);

    char* p = out;
    if (!titleFirst) {
        p = strcpy(p, program) + strlen(program);
        p = strcpy(p, kSeparator) + strlen(kSeparator);
    }
    memcpy(p, title, n);
    p += n;
    if (cut)
        p = strcpy(p, kEllipsis) + strlen(kEllipsis);
    if (titleFirst) {
        p = strcpy(p, kSeparator) + strlen(kSeparator);
        p = strcpy(p, program) + strlen(program);
    }
    *p = 0;
}
