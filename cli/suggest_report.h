// vantrel-cli --suggest: the engine's marker suggestions for a folder, as
// lines for a person or as JSON Lines for a script, each with the command
// line that runs it.
#ifndef VANTREL_CLI_SUGGEST_REPORT_H_
#define VANTREL_CLI_SUGGEST_REPORT_H_

#include <string>

#include "cli/report_stream.h"
#include "extraction/suggest/suggestion.h"

namespace vantrel::cli {

// The vantrel-cli command line that runs `suggestion` on the folder of
// `request`, with its extensions, recursion and charset, ready to paste
// into bash: every marker and the folder give back their exact bytes.
std::string RunCommand(const SuggestionRequest& request,
                       const MarkerSuggestion& suggestion);

// Suggests markers for `request` and writes them to `out` (as JSON Lines
// with `json`); the reason there is none, if so, goes to standard error.
// Returns the exit status: 0 with a suggestion, 1 without, 2 when a file or
// folder could not be read.
int SuggestAndReport(const SuggestionRequest& request, bool json,
                     ReportStream& out);

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_SUGGEST_REPORT_H_
