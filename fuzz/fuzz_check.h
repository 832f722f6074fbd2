// What every fuzz target shares: a check that stops the run with a message (libFuzzer
// then saves the input), and the input as a string.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

inline std::string FuzzInput(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}
