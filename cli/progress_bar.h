// The bar of files done that vantrel-cli draws on a terminal's standard
// error while a run works.
#ifndef VANTREL_CLI_PROGRESS_BAR_H_
#define VANTREL_CLI_PROGRESS_BAR_H_

#include <cstdint>
#include <cstdio>

namespace vantrel::cli {

class ProgressBar {
 public:
  // `out` null: the bar shows nothing.
  explicit ProgressBar(std::FILE* out) : out_(out) {}

  // Draws `done` of `matching` files, when the percentage changed.
  void Show(std::int64_t done, std::int64_t matching);
  // Takes the bar off its line, so that what follows starts on a clean one.
  void Clear();

 private:
  std::FILE* out_;
  bool shown_ = false;
  int shown_percent_ = -1;
};

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_PROGRESS_BAR_H_
