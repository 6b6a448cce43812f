#include "cli/progress_bar.h"

#include <string>

namespace vantrel::cli {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

void ProgressBar::Show(int done, int matching) {
  if (out_ == nullptr || matching <= 0) return;
  const int filled =
      static_cast<int>(static_cast<long long>(done) * kBarWidth / matching);
  const int percent =
      static_cast<int>(static_cast<long long>(done) * 100 / matching);
  // Redraw only when the figure changes: a terminal is slow next to a run.
  if (shown_ && percent == shown_percent_ && done != matching) return;
  shown_percent_ = percent;
  std::fprintf(out_, "\r[%s%s] %d/%d %3d%%", std::string(filled, '#').c_str(),
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
