#pragma once

#include <cstdio>

// A broken invariant stops the run at once, so that libFuzzer keeps the input and the replay
// program fails with the message in front of it.
namespace fuzzcheck
{
[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::fflush(stderr);
    __builtin_trap();
}

} // namespace fuzzcheck

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            ::fuzzcheck::fail(#cond, __FILE__, __LINE__);                                                    \
    } while (0)
