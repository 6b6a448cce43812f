// Where the window's progress bar (Line2) ends, in twips.
#ifndef VANTREL_WINDOW_BAR_POSITION_H_
#define VANTREL_WINDOW_BAR_POSITION_H_

#include <cmath>
#include <cstdint>

namespace vantrel::window {

// The bar's track: an empty bar ends at its left end, a full one at its
// right end.
inline constexpr int kBarLeft = 130;
inline constexpr int kBarRight = 3400;

// The bar's right end after `done` of `total` pieces (1 <= total, 0 <=
// done <= total), for any counts: the share in percent, times the track's
// length, rounded to whole hundredths of a twip and then cut to whole
// twips. Rounding half away from zero gives the same twips as rounding half
// to even would: the two part only at a half after an even k, and k and
// k + 1 then lie in the same hundred.
inline int BarX2(std::int64_t done, std::int64_t total) {
  // In floating point, so that no count is too large; the share is at most
  // 100 percent, so the product is at most 327,000.
  const double n =
      (static_cast<double>(done) * 100.0 / static_cast<double>(total)) *
      (kBarRight - kBarLeft);
  return kBarLeft + static_cast<int>(std::lround(n) / 100);
}

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_BAR_POSITION_H_
