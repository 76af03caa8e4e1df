// What a harness asserts about a parser's result. A broken rule aborts, so
// that libFuzzer keeps the input and the native replay fails on it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                    \
    do {                                                                                    \
        if (!(cond)) {                                                                      \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);  \
            std::abort();                                                                   \
        }                                                                                   \
    } while (false)
