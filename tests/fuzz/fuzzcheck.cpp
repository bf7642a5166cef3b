#include "fuzzcheck.h"

#include <cstdio>
#include <cstdlib>

void fuzzCheck(bool holds, const char *promise) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: broken: %s\n", promise);
    std::abort();
}
