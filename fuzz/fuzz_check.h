// What the fuzz targets share: a check that stops the fuzzer with a message.
#ifndef VANTREL_FUZZ_FUZZ_CHECK_H_
#define VANTREL_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

namespace vantrel::fuzz {

inline void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}

}  // namespace vantrel::fuzz

#endif  // VANTREL_FUZZ_FUZZ_CHECK_H_
