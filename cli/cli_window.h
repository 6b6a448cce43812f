// The command line's stand-in for the window: the run's inputs come from the
// options, its log goes to standard output as it is written, and a progress
// bar goes to standard error when that is a terminal.
#ifndef VANTREL_CLI_CLI_WINDOW_H_
#define VANTREL_CLI_CLI_WINDOW_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/report_stream.h"
#include "extraction/run_window.h"

namespace vantrel::cli {

class CliWindow : public RunWindow {
 public:
  CliWindow(RunInputs inputs, ReportStream& log, std::FILE* progress);

  RunInputs Inputs() const override { return inputs_; }
  void AppendText5(std::u16string_view text) override;
  void SetLabel6(std::u16string_view caption) override;
  void SetBusyPointer(bool busy) override;
  void FileExamined(const FileReport& report) override;

  // The summary line as the window's summary shows it; empty when the run
  // ended through its error trap.
  const std::u16string& summary() const { return summary_; }

 private:
  void ClearProgress();

  RunInputs inputs_;
  ReportStream& log_;
  std::FILE* progress_;  // null when no progress is shown
  std::u16string summary_;
  bool progress_shown_ = false;
  int shown_percent_ = -1;
};

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_CLI_WINDOW_H_
