// What every fuzz target shares: a property that does not hold ends the run
// the way a crash does, so that the fuzzer keeps the input that broke it.
#pragma once
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void PropertyFailed(const char *property, const char *file, int line) {
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, property);
    std::abort();
}

#define PROPERTY(condition)                                                                        \
    do {                                                                                           \
        if (!(condition))                                                                          \
            PropertyFailed(#condition, __FILE__, __LINE__);                                        \
    } while (0)
