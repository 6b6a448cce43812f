// The command line's stand-ins for the window: the run's inputs come from
// the options, and what the run shows goes to standard output as a text log
// (TextReport) or as JSON Lines (JsonReport), with a progress bar on
// standard error when that is a terminal.
#ifndef VANTREL_CLI_CLI_WINDOW_H_
#define VANTREL_CLI_CLI_WINDOW_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/near_miss_tally.h"
#include "cli/progress_bar.h"
#include "cli/report_stream.h"
#include "extraction/run.h"
#include "extraction/run_window.h"

namespace vantrel::cli {

// What both reports share.
class CliWindow : public RunWindow {
 public:
  CliWindow(RunInputs inputs, ReportStream& out, std::FILE* progress)
      : inputs_(std::move(inputs)), out_(out), progress_(progress) {}

  RunInputs Inputs() const final { return inputs_; }
  void SetLabel6(std::u16string_view caption) final { summary_ = caption; }
  void SetBusyPointer(bool busy) final;
  void FileExamined(const FileReport& report) final;

  // Writes what follows the run's log, once the run is over.
  virtual void Finish(const RunResult& result, bool dry_run) = 0;

  const NearMissTally& near_misses() const { return near_misses_; }

 protected:
  // Writes to standard output, the progress bar off its line first.
  void Write(std::string_view bytes);
  // Each examined file, for the report to tell.
  virtual void Report(const FileReport& report) = 0;

  // The summary line as the window shows it; empty after the error trap.
  std::u16string summary_;

 private:
  RunInputs inputs_;
  ReportStream& out_;
  ProgressBar progress_;
  NearMissTally near_misses_;
};

// The log as the window shows it, one line per message, then the output's
// path and the summary. With `explain`, each failure line is followed by an
// indented line that tells why, when the run found a near miss.
class TextReport final : public CliWindow {
 public:
  TextReport(RunInputs inputs, ReportStream& out, std::FILE* progress,
             bool explain)
      : CliWindow(std::move(inputs), out, progress), explain_(explain) {}

  void AppendText5(std::u16string_view text) override;
  void Finish(const RunResult& result, bool dry_run) override;

 private:
  void Report(const FileReport& report) override;

  bool explain_;
};

// JSON Lines: one object per examined file, one per sub-folder passed over
// as unreadable, an object for a rejected input, and last one object that
// sums the run up.
class JsonReport final : public CliWindow {
 public:
  using CliWindow::CliWindow;

  // A piece's length and line are counted in the whole text.
  bool WantsFileTexts() const override { return true; }
  void FolderUnreadable(std::u16string_view name,
                        std::u16string_view reason) override;
  void Finish(const RunResult& result, bool dry_run) override;

 private:
  void Report(const FileReport& report) override;
};

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_CLI_WINDOW_H_
