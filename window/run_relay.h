// Between a run on its worker thread and the window on its own. The run
// never waits on the window's painting: each event it tells is noted under
// a short lock and the run goes on; the window takes what was noted when it
// next shows a frame, the log lines in order and only the latest piece.
#ifndef VANTREL_WINDOW_RUN_RELAY_H_
#define VANTREL_WINDOW_RUN_RELAY_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extraction/run.h"
#include "extraction/run_sink.h"
#include "extraction/suggest/suggestion.h"

namespace vantrel::window {

class RunRelay : public RunSink {
 public:
  // What the run told since the window last looked.
  struct News {
    std::vector<LogEntry> entries;  // in order
    // The latest piece written: done and total.
    std::optional<std::pair<std::int64_t, std::int64_t>> piece;
  };

  // `ended` is called on the run's thread once the run is over, after
  // which Result holds what it did.
  explicit RunRelay(std::function<void()> ended);

  // The window's thread: what was told since the last call.
  News Take();
  // Asks the run to stop before its next file; any thread.
  void RequestStop() { stop_.store(true); }
  // What the run did, and the names of the files that gave no piece, in
  // the run's order; only once `ended` was called and the thread joined.
  const RunResult& Result() const { return result_; }
  std::vector<std::u16string> TakeFailedFiles() {
    return std::exchange(failed_files_, {});
  }

  // The run's thread. Started is the window's own, told at the click.
  void Logged(const LogEntry& entry) override;
  void PieceWritten(std::int64_t done, std::int64_t total) override;
  void FileExamined(const FileReport& report) override;
  void Finished(const RunResult& result) override;
  bool StopRequested() const override { return stop_.load(); }

 protected:
  // Tells the window that the work on the worker thread is over.
  void End() {
    if (ended_) ended_();
  }

 private:
  std::function<void()> ended_;
  std::mutex mutex_;
  News news_;  // guarded by mutex_
  std::atomic<bool> stop_{false};
  RunResult result_;
  std::vector<std::u16string> failed_files_;  // the run's thread's
};

// A dry run again on a run's inputs, looking for near misses: it collects,
// for each file that gave no piece in that run, a line with the file's
// name and the hint that vantrel-cli's --explain gives, or that there is
// none. Files that came since (the run's own output among them) are left
// out. The lines are read once the run's thread is joined.
class ExplainRelay : public RunRelay {
 public:
  ExplainRelay(std::vector<std::u16string> failed_files,
               std::function<void()> ended);

  // The run's options: those of the window's run, near misses looked for
  // and nothing written.
  static RunOptions Options();

  const std::vector<std::u16string>& Lines() const { return lines_; }

  void Logged(const LogEntry&) override {}
  void PieceWritten(std::int64_t, std::int64_t) override {}
  void FileExamined(const FileReport& report) override;

 private:
  std::vector<std::u16string> failed_files_;  // sorted
  std::vector<std::u16string> lines_;
};

// A marker suggestion on the worker thread, stopped as a run is
// (RequestStop); what it gave, or the failure that ended it, is read once
// the thread is joined.
class SuggestionRelay : public RunRelay {
 public:
  explicit SuggestionRelay(std::function<void()> ended);

  // The worker thread: suggests markers for `request`, then tells `ended`.
  void Suggest(SuggestionRequest request);

  const SuggestionResult& Suggestion() const { return suggestion_; }

 private:
  SuggestionResult suggestion_;
};

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_RUN_RELAY_H_
