#include <cstdio>
#include <cstdlib>

#include "fuzz_target.h"

void fuzzCheck(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
