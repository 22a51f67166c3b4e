// The player's command line: a document path and engine options. No Windows
// headers: the rule builds and is tested natively as well.
#pragma once
#include "text.h"

// Receives the options of a command line, in command-line order.
class COptionSink {
public:
    virtual void OnOption(const char* name, const char* value) = 0;

protected:
    ~COptionSink() {}
};

// Splits the `length` characters at text into an option: at the first "=",
// or, only when there is none, at the first ":"; both parts trimmed of
// blanks. False when there is no divider or either part is empty.
bool SplitOption(const char* text, size_t length, CStr& name, CStr& value);

// Reads the text after the program name. Tokens are separated by blanks only
// (a tab belongs to its token); a token that begins with a double quote runs
// to the next double quote, or, when none follows, to the next blank. A token
// that begins with "/" or "-" is an option; the first other token is the
// document path; every later one is read whole as an option. Options go to
// the sink as they are met; ones without a name or a value are dropped, and
// so are empty tokens. True, with the path in `document`, when one was given.
bool ReadCommandLine(const char* line, COptionSink& sink, CStr& document);
