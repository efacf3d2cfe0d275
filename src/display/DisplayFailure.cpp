#include "display/DisplayFailure.h"

#include <cstdio>
#include <cstdlib>

void exitOnDisplayError(const DynamicError& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "cannot open the display: %s\n", error.message());
    std::exit(EXIT_FAILURE);
}
