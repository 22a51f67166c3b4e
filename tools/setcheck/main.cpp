// SetCheck [FOLDER...]: checks each install set folder (the current folder
// when none is given) as setup would read it. Exits with the number of sets
// setup would not install: 0 when every one would.
#include <stdio.h>

#include "checker.h"

int main(int argc, char** argv)
{
    int refused = 0;
    for (int i = argc > 1 ? 1 : 0; i < argc; ++i) {
        CSetChecker checker(i ? argv[i] : 0);
        refused += !checker.Check();
    }
    fflush(stdout);
    return refused;
}
