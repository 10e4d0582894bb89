// What a fuzz target does when an invariant does not hold: say which, and abort, so that
// libFuzzer (or the replay driver) stops with the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                    \
  ((condition)                                                                                   \
       ? void()                                                                                  \
       : (std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition), \
          std::abort()))
