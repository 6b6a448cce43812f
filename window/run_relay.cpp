#include "window/run_relay.h"

#include <QCoreApplication>
#include <algorithm>
#include <utility>

#include "extraction/text/native_names.h"

namespace vantrel::window {
namespace {

// An explain line's hint for a file with no near miss, in the window's
// language; the hints themselves are vantrel-cli's --explain's, in English.
constexpr char kExplainContext[] = "vantrel::window::ExplainRelay";
constexpr char kNoNearMatch[] =
    QT_TRANSLATE_NOOP("vantrel::window::ExplainRelay", "no near match");

}  // namespace

RunRelay::RunRelay(std::function<void()> ended) : ended_(std::move(ended)) {}

RunRelay::News RunRelay::Take() {
  const std::lock_guard lock(mutex_);
  return std::exchange(news_, {});
}

void RunRelay::Logged(const LogEntry& entry) {
  const std::lock_guard lock(mutex_);
  news_.entries.push_back(entry);
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
  End();
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
                                     : QCoreApplication::translate(
                                           kExplainContext, kNoNearMatch)
                                           .toStdU16String()));
}

SuggestionRelay::SuggestionRelay(std::function<void()> ended)
    : RunRelay(std::move(ended)) {}

void SuggestionRelay::Suggest(SuggestionRequest request) {
  request.stop_requested = [this] { return StopRequested(); };
  suggestion_ = SuggestMarkers(request);
  End();
}

}  // namespace vantrel::window
