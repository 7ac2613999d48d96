// A property check for the fuzz targets: a broken property prints what broke
// and aborts, which libFuzzer records as a crash with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                            \
  do {                                                                         \
    if (!(condition)) {                                                        \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, \
                   what);                                                      \
      std::abort();                                                            \
    }                                                                          \
  } while (false)
