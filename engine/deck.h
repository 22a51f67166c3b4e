// A presentation in the stand-in engine's plain-text form (README.md): a
// title line, then slides separated by lines "---"; a slide's first line is
// its heading, the lines after it its body. No Windows headers.
#pragma once
#include "text.h"

class CDeck {
public:
    CDeck() : m_slides(0), m_count(0) {}
    ~CDeck() { delete[] m_slides; }

    // Reads a whole document of `length` characters, CR LF or LF lines.
    // False when memory ran out (the deck is then empty).
    bool Read(const char* text, size_t length);

    const char* Title() const { return m_title; }
    size_t Count() const { return m_count; }
    const char* Heading(size_t i) const { return i < m_count ? m_slides[i].heading.c_str() : ""; }
    // The body's lines joined by CR LF.
    const char* Body(size_t i) const { return i < m_count ? m_slides[i].body.c_str() : ""; }

private:
    CDeck(const CDeck&);
    void operator=(const CDeck&);
    void Clear();
    bool Parse(const char* text, size_t length);

    struct Slide {
        CStr heading;
        CStr body;
    };
    CStr m_title;
    Slide* m_slides;
    size_t m_count;
};
