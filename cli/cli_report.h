// The command line's sinks for a run: what the run tells goes to standard
// output as a text log (TextReport) or as JSON Lines (JsonReport), with a
// progress bar on standard error when that is a terminal.
#ifndef VANTREL_CLI_CLI_REPORT_H_
#define VANTREL_CLI_CLI_REPORT_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/near_miss_tally.h"
#include "cli/progress_bar.h"
#include "cli/report_stream.h"
#include "extraction/run.h"
#include "extraction/run_sink.h"

namespace vantrel::cli {

// What both reports share.
class CliReport : public RunSink {
 public:
  CliReport(ReportStream& out, std::FILE* progress)
      : out_(out), progress_(progress) {}

  void FileExamined(const FileReport& report) final;
  // Takes the progress bar off the terminal.
  void Finished(const RunResult& result) final;

  // A stop signal came (SIGINT, SIGTERM, SIGHUP): the run stops between
  // two files as the window's Escape stops it.
  bool StopRequested() const final;

  // Writes what follows the run's log, once the run is over.
  virtual void Finish(const RunResult& result, bool dry_run) = 0;

  const NearMissTally& near_misses() const { return near_misses_; }

 protected:
  // Writes to standard output, the progress bar off its line first.
  void Write(std::string_view bytes);
  // Each examined file, for the report to tell.
  virtual void Report(const FileReport& report) = 0;

 private:
  ReportStream& out_;
  ProgressBar progress_;
  NearMissTally near_misses_;
};

// The log as the window shows it, one line per message, then the output's
// path and the summary. With `explain`, each failure line is followed by an
// indented line that tells why, when the run found a near miss.
class TextReport final : public CliReport {
 public:
  TextReport(ReportStream& out, std::FILE* progress, bool explain)
      : CliReport(out, progress), explain_(explain) {}

  void Logged(const LogEntry& entry) override;
  void Finish(const RunResult& result, bool dry_run) override;

 private:
  void Report(const FileReport& report) override;

  bool explain_;
};

// JSON Lines: one object per examined file, one per sub-folder passed over
// as unreadable, one per web archive record passed over, an object for a
// rejected input, and last one object that sums the run up.
class JsonReport final : public CliReport {
 public:
  using CliReport::CliReport;

  // A piece's length and line are counted in the whole text.
  bool WantsFileTexts() const override { return true; }
  void FolderUnreadable(std::u16string_view name,
                        std::u16string_view reason) override;
  void Logged(const LogEntry& entry) override;
  void Finish(const RunResult& result, bool dry_run) override;

 private:
  void Report(const FileReport& report) override;
};

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_CLI_REPORT_H_
