#include "cmdline.h"

#include <string.h>

static void Trimmed(const char* begin, const char* end, CStr& out)
{
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    out.Set(begin, (size_t)(end - begin));
}

bool SplitOption(const char* text, size_t length, CStr& name, CStr& value)
{
    const char* end = text + length;
    const char* divider = (const char*)memchr(text, '=', length);
    if (!divider)
        divider = (const char*)memchr(text, ':', length);
    if (!divider)
        return false;
    Trimmed(text, divider, name);
    Trimmed(divider + 1, end, value);
    return !name.IsEmpty() && !value.IsEmpty();
}

bool ReadCommandLine(const char* line, COptionSink& sink, CStr& document)
{
    bool haveDocument = false;
    document.Clear();
    const char* p = line ? line : "";
    while (*p) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        const char* begin = p;
        const char* end;
        const char* close = *p == '"' ? strchr(p + 1, '"') : 0;
        if (close) {
            begin = p + 1;
            end = close;
            p = close + 1;
        } else {
            if (*p == '"')
                begin = p + 1;   // unclosed: the rest of this blank-separated token
            end = begin;
            while (*end && *end != ' ')
                ++end;
            p = end;
        }
        size_t length = (size_t)(end - begin);
        if (length == 0)
            continue;
        CStr name, value;
        if (*begin == '/' || *begin == '-') {
            if (SplitOption(begin + 1, length - 1, name, value))
                sink.OnOption(name, value);
        } else if (!haveDocument) {
            haveDocument = document.Set(begin, length);
        } else if (SplitOption(begin, length, name, value)) {
            sink.OnOption(name, value);
        }
    }
    return haveDocument;
}
