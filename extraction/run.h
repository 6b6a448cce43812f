// One extraction run: the work behind "GO!".
//
// The run checks the inputs, counts the matching files of the folder, then
// visits them in name order: it loads each one, cuts out the text between the
// first start marker and the first end marker behind it, and hands the piece
// (through the run's transform, if any) to the output writer. Files without
// a piece are counted and logged by name. The run takes what the user gave
// and how to run, tells a sink what happens, and returns what it did; it
// shares nothing else with a front end.
// Any failure ends the run through one trap that logs "Unknown error
// occurred:" and the failure's description; only a run that keeps going
// passes over a file or sub-folder that cannot be read, with a log line.
#ifndef VANTREL_EXTRACTION_RUN_H_
#define VANTREL_EXTRACTION_RUN_H_

#include <cstdint>
#include <optional>
#include <string>

#include "extraction/run_inputs.h"
#include "extraction/run_options.h"
#include "extraction/run_sink.h"
#include "extraction/run_state.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// What a run did.
struct RunResult {
  enum class End {
    kNormal,         // the summary was written
    kInputRejected,  // an input check logged its message; summary 0 and 0
    kErrorTrap,      // "Unknown error occurred:" ended the run
    kStopped,        // the sink asked the run to stop between two files
  };
  End end = End::kNormal;
  std::int64_t matching = 0;
  // The files the summary counts: the matching files, or in a stopped run
  // those examined.
  std::int64_t checked = 0;
  std::int64_t failures = 0;
  std::int64_t successes = 0;
  // The collected file or the output folder that this run created (in a
  // dry run: would create), or nothing when it created none.
  std::optional<std::u16string> output;
  // How the run read its files; nothing when it read none.
  std::optional<Charset> charset;
  // The output's encoding, when the run's options chose it (an output
  // format, text or JSON lines) rather than the charset; nothing otherwise.
  std::optional<OutputFormat> output_format;
  // The input check's message, or the description of the failure that
  // ended the run through the trap.
  std::u16string message;
  // Files and sub-folders that could not be read and were passed over
  // (RunOptions::keep_going); each had its log line, and each such file
  // counts among the failures.
  int unreadable = 0;
  // The summary line ("3 checked, 1 didn't find."); empty when the error
  // trap ended the run. A stopped run counts the files it examined.
  std::u16string summary;
  // Where the run read, how, and where it wrote.
  RunState state;
};

// Runs one extraction on `inputs` as `options` ask, telling `sink` what
// happens, and returns what it did.
RunResult RunExtraction(const RunInputs& inputs, const RunOptions& options,
                        RunSink& sink);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_H_
