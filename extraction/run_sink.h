// What a run tells while it works, in its own terms.
//
// A run reports through this interface and nothing else, so that the same
// run drives the Qt window (its log box, summary line, bar and pointer),
// the command line (text or JSON) and the tests' recording sink. Every
// event does nothing unless a front end wants it.
#ifndef VANTREL_EXTRACTION_RUN_SINK_H_
#define VANTREL_EXTRACTION_RUN_SINK_H_

#include <cstdint>
#include <string_view>

#include "extraction/file_report.h"
#include "extraction/log_entry.h"

namespace vantrel {

struct RunResult;

class RunSink {
 public:
  virtual ~RunSink() = default;

  // The run begins: the log, the summary and the progress are reset, and
  // the run is busy until Finished.
  virtual void Started() {}

  // An entry for the log: one line, which LogLine renders in English.
  virtual void Logged(const LogEntry& /*entry*/) {}

  // A piece was written: `done` pieces so far of `total` matching files
  // (1 <= total; done may exceed total only when files appeared after the
  // count). Told once the piece is on disk.
  virtual void PieceWritten(std::int64_t /*done*/, std::int64_t /*total*/) {}

  // Told after each examined file, once its log line or its piece is done,
  // for front ends that report more than the log shows. A file that gave no
  // piece always comes with its whole text and its cut; one that gave its
  // piece may come without its text (file_report.h).
  virtual void FileExamined(const FileReport& /*report*/) {}

  // Told, in its place among the files, of a sub-folder that could not be
  // listed in a run that keeps going past it, with the system's reason. Its
  // files are not counted; its log line is written.
  virtual void FolderUnreadable(std::u16string_view /*name*/,
                                std::u16string_view /*reason*/) {}

  // The run is over, on every path out of it: no longer busy. `result`
  // holds the summary unless the error trap ended the run.
  virtual void Finished(const RunResult& /*result*/) {}

  // True when FileExamined must get every file's whole text and exact cut,
  // pieces or not. Asked once when a run starts; a run that need not decode
  // whole texts is faster, so only front ends that use them should ask.
  virtual bool WantsFileTexts() const { return false; }

  // True when the run should stop. Asked before each file, so that a run
  // stops between two files and its output holds whole pieces only; a
  // stopped run logs LogKind::kStopped and ends as RunResult::End::kStopped.
  // It may be asked on the run's thread while another thread asks the stop.
  virtual bool StopRequested() const { return false; }
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_SINK_H_
