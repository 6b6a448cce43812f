// vantrel-cli's options and exit statuses, and the reading of a command
// line into the run it asks for.
#ifndef VANTREL_CLI_COMMAND_LINE_H_
#define VANTREL_CLI_COMMAND_LINE_H_

#include <optional>
#include <string>
#include <variant>

#include "extraction/run_inputs.h"
#include "extraction/run_options.h"
#include "extraction/suggest/suggestion.h"

namespace vantrel::cli {

// Exit statuses.
inline constexpr int kExitClean = 0;     // ended normally, no file failed
inline constexpr int kExitFailures = 1;  // an input check or a file failed
inline constexpr int kExitTrapped = 2;   // ended through the error trap, or
                                         // passed over unreadable files
inline constexpr int kExitUsage = 64;    // bad usage (as sysexits' EX_USAGE)

// The run a command line asks for, and how its report is given.
struct CliRequest {
  RunInputs inputs;
  RunOptions options;
  // With --suggest: markers to suggest for the folder, instead of a run.
  std::optional<SuggestionRequest> suggestion;

  bool json = false;     // JSON Lines instead of the log
  bool explain = false;  // tell why a file gave no piece (--json implies it)
  bool quiet = false;    // no progress bar and no summary of near misses
  // A progress bar on standard error: not --quiet, and that is a terminal.
  bool progress = false;
};

// A command line that ends before any run: --help and --version with what
// they print on standard output, or bad usage with its message for
// standard error.
struct EarlyExit {
  int status;
  std::string out;
  std::string err;
};

// Reads the command line, and any marker or text file it names, into the
// run or the suggestion it asks for.
std::variant<CliRequest, EarlyExit> ParseCommandLine(int argc,
                                                     const char* const* argv);

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_COMMAND_LINE_H_
