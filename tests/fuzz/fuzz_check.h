// What every fuzz target does when the code under test breaks a promise: name the promise on
// stderr (scripts/fuzz.sh shows that line) and abort, which libFuzzer reports as a crash and
// keeps the input of.
#pragma once
#include <cstdio>
#include <cstdlib>

inline void Check(bool condition, const char* promise)
{
    if (!condition)
    {
        std::fprintf(stderr, "check failed: %s\n", promise);
        std::abort();
    }
}
