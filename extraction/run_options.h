// How a run works, beside what the user gave it (run_inputs.h). The
// defaults are the window's run: markers matched exactly, the output made
// and written, no analysis of the files that gave no piece, the first
// unreadable file ends the run, and each piece is written as it was cut.
#ifndef VANTREL_EXTRACTION_RUN_OPTIONS_H_
#define VANTREL_EXTRACTION_RUN_OPTIONS_H_

#include <optional>
#include <string>

#include "extraction/base/piece.h"
#include "extraction/match/matchers.h"
#include "extraction/output/output_writer.h"

namespace vantrel {

struct RunOptions {
  MatchOptions matching;
  // Everything a run does, but nothing is created or written: the run names
  // the output it would make.
  bool dry_run = false;
  // Look for a near miss in each file that lacks a marker (near_miss.h).
  bool near_misses = false;
  // A file or sub-folder that cannot be read gets a log line with the
  // reason, and the run goes on with the rest; without it, the first one
  // ends the run through the error trap, as in the window.
  bool keep_going = false;
  // What each piece goes through before it is written, or nothing; it must
  // outlive the run. A transform that gives text (HtmlToText) makes the
  // output text (OutputForm::text), UTF-8 unless `output.format` says
  // otherwise.
  const PieceTransform* transform = nullptr;
  // The output's encoding and layout beyond the charset's (output_writer.h);
  // its `text` follows the transform.
  OutputForm output;
  // The folder the output is made in; empty: the scanned folder. A list of
  // files has no folder of its own, so its front end must give one.
  std::u16string out_folder;
};

// Why `folder` cannot take a run's output, in a few words ("no such
// folder", "not a folder"); nothing when it can.
std::optional<std::string> OutFolderProblem(const std::u16string& folder);

// The transform of --text: each piece, HTML, becomes the plain text a
// reader sees (transform/html_to_text.h).
const PieceTransform& PlainTextTransform();

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_OPTIONS_H_
