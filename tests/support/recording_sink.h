// A sink for tests: every event a run tells is written down, in order, as
// one line of text, so that a single comparison checks a run's whole
// transcript; beside it, the log and the summary as the window shows them.
#ifndef VANTREL_TESTS_SUPPORT_RECORDING_SINK_H_
#define VANTREL_TESTS_SUPPORT_RECORDING_SINK_H_

#include <string>

#include "extraction/run.h"

namespace vantrel::testing {

// The inputs as the window holds them at start-up (its markers and
// extension), on `folder`.
RunInputs StartupInputs(std::u16string folder = {});

class RecordingSink : public RunSink {
 public:
  void Started() override;
  void Logged(const LogEntry& entry) override;
  void PieceWritten(std::int64_t done, std::int64_t total) override;
  void Finished(const RunResult& result) override;

  // Every event so far, one per line, in UTF-8, with CR and LF inside
  // texts shown as \r and \n:
  //   started            log "Haven't end: a.htm"      piece 1 of 3
  //   summary "3 checked, 0 didn't find."   (unless the error trap ended
  //   finished                               the run)
  std::string transcript;

  // The log as the window shows it (each line ended by CR LF), and the
  // summary.
  std::u16string log;
  std::u16string summary;
  bool busy = false;

 protected:
  void Record(const std::string& line);
};

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_RECORDING_SINK_H_
