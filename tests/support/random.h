// The tests' one pseudo-random generator: the same numbers on every run, so
// that a failure comes back as it was.
#ifndef VANTREL_TESTS_SUPPORT_RANDOM_H_
#define VANTREL_TESTS_SUPPORT_RANDOM_H_

#include <cstddef>
#include <cstdint>

namespace vantrel::testing {

struct Random {
  std::uint64_t state;
  // A number below `n`.
  std::size_t operator()(std::size_t n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((state >> 33) % n);
  }
};

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_RANDOM_H_
