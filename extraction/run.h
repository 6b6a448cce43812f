// One extraction run: the work behind "GO!".
//
// The run checks the inputs, counts the matching files of the folder, then
// visits them in name order: it loads each one, cuts out the text between the
// first start marker and the first end marker behind it, and hands the piece
// to the output writer. Files without a piece are counted and logged by name.
// Any failure ends the run through one trap that logs "Unknown error
// occurred:" and the failure's description; only a run that keeps going
// passes over a file or sub-folder that cannot be read, with a log line.
#ifndef VANTREL_EXTRACTION_RUN_H_
#define VANTREL_EXTRACTION_RUN_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "extraction/run_options.h"
#include "extraction/run_state.h"
#include "extraction/run_window.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// How a run ended, for front ends that report more than the window shows
// (the command line's exit status).
struct RunResult {
  enum class End {
    kNormal,         // the summary was written
    kInputRejected,  // an input check logged its message; summary 0 and 0
    kErrorTrap,      // "Unknown error occurred:" ended the run
  };
  End end = End::kNormal;
  std::int64_t matching = 0;
  std::int64_t failures = 0;
  std::int64_t successes = 0;
  // The collected file or the output folder that this run created (in a
  // dry run: would create), or nothing when it created none.
  std::optional<std::u16string> output;
  // How the run read its files; nothing when it read none.
  std::optional<Charset> charset;
  // The input check's message, or the description of the failure that
  // ended the run through the trap.
  std::u16string message;
  // Files and sub-folders that could not be read and were passed over
  // (RunOptions::keep_going); each had its log line, and each such file
  // counts among the failures.
  int unreadable = 0;
};

// Runs one extraction on the inputs that `window` holds, reporting through
// it, with `state` shared with the output writer. `options` are what a
// front end may ask beyond the window; the defaults are the window's run.
RunResult Command2_Click(RunWindow& window, RunState& state,
                         const RunOptions& options = {});

// Appends `message` and CR LF to the log.
void WriteLog(RunWindow& window, std::u16string_view message);

// The bar's right end after `successes` of `matching` files (0 <= successes
// <= matching), in twips, for any counts. Throws RunError("Division by
// zero") when `matching` is 0.
int ProgressX2(std::int64_t successes, std::int64_t matching);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_H_
