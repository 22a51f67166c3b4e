// SetCheck [/SIGNED] [FOLDER...]: checks each install set folder (the
// current folder when none is given) as setup would read it; /SIGNED makes
// an unsigned program an error. Exits with the number of sets setup would
// not install (or that /SIGNED refuses): 0 when every one would.
#include <stdio.h>

#include "checker.h"

int main(int argc, char** argv)
{
    bool requireSigned = argc > 1 && EqualNoCase(argv[1], "/SIGNED");
    int first = 1 + requireSigned, refused = 0;
    for (int i = first == argc ? argc - 1 : first; i < argc; ++i) {
        CSetChecker checker(i < first ? 0 : argv[i], requireSigned);
        refused += !checker.Check();
    }
    fflush(stdout);
    return refused;
}
