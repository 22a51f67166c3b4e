#include "deck.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// One line of the text at a time, without its line end.
struct Lines {
    const char* p;
    const char* end;

    bool Next(const char*& begin, const char*& stop)
    {
        if (p >= end)
            return false;
        begin = p;
        while (p < end && *p != '\n')
            ++p;
        stop = p;
        if (stop > begin && stop[-1] == '\r')
            --stop;
        if (p < end)
            ++p;   // past the '\n'
        return true;
    }
};

void Trim(const char*& begin, const char*& stop)
{
    while (begin < stop && IsSpace(*begin))
        ++begin;
    while (stop > begin && IsSpace(stop[-1]))
        --stop;
}

bool IsBlank(const char* begin, const char* stop)
{
    Trim(begin, stop);
    return begin == stop;
}

bool IsSeparator(const char* begin, const char* stop)
{
    Trim(begin, stop);
    return stop - begin == 3 && begin[0] == '-' && begin[1] == '-' && begin[2] == '-';
}

}  // namespace

void CDeck::Clear()
{
    delete[] m_slides;
    m_slides = 0;
    m_count = 0;
    m_title.Clear();
}

bool CDeck::Read(const char* text, size_t length)
{
    Clear();
    if (Parse(text, length))
        return true;
    Clear();
    return false;
}

bool CDeck::Parse(const char* text, size_t length)
{
    Lines lines = {text, text + length};
    const char *begin, *stop;
    if (!lines.Next(begin, stop))
        return true;
    Trim(begin, stop);
    if (!m_title.Set(begin, (size_t)(stop - begin)))
        return false;

    // at most one slide more than there are separators
    size_t most = 1;
    Lines count = lines;
    while (count.Next(begin, stop))
        most += IsSeparator(begin, stop);
    m_slides = new Slide[most];
    if (!m_slides)
        return false;

    bool more = true;
    while (more) {
        // one slide: the lines up to the next separator or the end
        Slide& slide = m_slides[m_count];
        bool haveHeading = false;
        size_t blanks = 0;   // blank lines held back until text follows them
        while ((more = lines.Next(begin, stop)) && !IsSeparator(begin, stop)) {
            if (IsBlank(begin, stop)) {
                blanks += haveHeading && !slide.body.IsEmpty();
                continue;
            }
            if (!haveHeading) {
                Trim(begin, stop);
                haveHeading = true;
                if (!slide.heading.Set(begin, (size_t)(stop - begin)))
                    return false;
                continue;
            }
            bool ok = true;
            if (!slide.body.IsEmpty())
                for (++blanks; blanks && ok; --blanks)
                    ok = slide.body.Append("\r\n");
            blanks = 0;
            while (stop > begin && IsSpace(stop[-1]))
                --stop;
            if (!ok || !slide.body.Append(begin, (size_t)(stop - begin)))
                return false;
        }
        if (haveHeading)
            ++m_count;
    }
    return true;
}
