#include "window/run_relay.h"

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

void RunRelay::Finished(const RunResult& result) {
  result_ = result;
  if (ended_) ended_();
}

}  // namespace vantrel::window
