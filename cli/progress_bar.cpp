#include "cli/progress_bar.h"

#include <cinttypes>
#include <string>

namespace vantrel::cli {
namespace {

constexpr int kBarWidth = 30;

// `done` of `matching` in `scale`ths, rounded down. In floating point, so
// that no count is too large; exact below 10^13 files, far more than any
// file system holds.
int Share(std::int64_t done, std::int64_t matching, int scale) {
  return static_cast<int>(static_cast<double>(done) * scale /
                          static_cast<double>(matching));
}

}  // namespace

void ProgressBar::Show(std::int64_t done, std::int64_t matching) {
  if (out_ == nullptr || matching <= 0) return;
  const int filled = Share(done, matching, kBarWidth);
  const int percent = Share(done, matching, 100);
  // Redraw only when the figure changes: a terminal is slow next to a run.
  if (shown_ && percent == shown_percent_ && done != matching) return;
  shown_percent_ = percent;
  std::fprintf(out_, "\r[%s%s] %" PRId64 "/%" PRId64 " %3d%%",
               std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, ' ').c_str(), done, matching,
               percent);
  std::fflush(out_);
  shown_ = true;
}

void ProgressBar::Clear() {
  if (!shown_) return;
  // Carriage return and erase-line.
  std::fputs("\r\x1b[K", out_);
  std::fflush(out_);
  shown_ = false;
}

}  // namespace vantrel::cli
