#include "window/run_relay.h"

#include <algorithm>

#include "extraction/text/native_names.h"

namespace vantrel::window {

RunRelay::RunRelay(std::function<void()> ended) : ended_(std::move(ended)) {}

RunRelay::News RunRelay::Take() {
  const std::lock_guard lock(mutex_);
  return std::exchange(news_, {});
}

void RunRelay::Logged(std::u16string_view line) {
  const std::lock_guard lock(mutex_);
  news_.lines.emplace_back(line);
}

void RunRelay::PieceWritten(std::int64_t done, std::int64_t total) {
  const std::lock_guard lock(mutex_);
  news_.piece.emplace(done, total);
}

void RunRelay::FileExamined(const FileReport& report) {
  if (report.cut.outcome != FileOutcome::kExtracted) {
    failed_files_.emplace_back(report.name);
  }
}

void RunRelay::Finished(const RunResult& result) {
  result_ = result;
  if (ended_) ended_();
}

ExplainRelay::ExplainRelay(std::vector<std::u16string> failed_files,
                           std::function<void()> ended)
    : RunRelay(std::move(ended)), failed_files_(std::move(failed_files)) {
  std::sort(failed_files_.begin(), failed_files_.end());
}

RunOptions ExplainRelay::Options() {
  RunOptions options;
  options.near_misses = true;
  options.dry_run = true;
  return options;
}

void ExplainRelay::FileExamined(const FileReport& report) {
  if (report.cut.outcome == FileOutcome::kExtracted ||
      !std::binary_search(failed_files_.begin(), failed_files_.end(),
                          report.name)) {
    return;
  }
  lines_.push_back(DisplayName(report.name) + u": " +
                   (report.near_miss ? report.near_miss->text
                                     : std::u16string(u"no near match")));
}

}  // namespace vantrel::window
