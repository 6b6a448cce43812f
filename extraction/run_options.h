// How a run works, beside what the user gave it (run_inputs.h). The
// defaults are the window's run: markers matched exactly, the charset
// decided by the first matching file, the output made and written, no
// analysis of the files that gave no piece, only the files directly inside
// the folder, the first unreadable one ends the run, and each piece is
// written as it was cut.
#ifndef VANTREL_EXTRACTION_RUN_OPTIONS_H_
#define VANTREL_EXTRACTION_RUN_OPTIONS_H_

#include <optional>

#include "extraction/base/piece.h"
#include "extraction/match/matchers.h"
#include "extraction/output/output_writer.h"
#include "extraction/text/charsets.h"

namespace vantrel {

struct RunOptions {
  MatchOptions matching;
  // Every file read in this charset; nothing: the first file's signature
  // decides, as in the window.
  std::optional<Charset> charset;
  // Each file read in the charset decided for it alone
  // (charset_detection.h), the output in UTF-16LE; `charset` is then unset.
  bool detect_charset = false;
  // Everything a run does, but nothing is created or written: the run names
  // the output it would make.
  bool dry_run = false;
  // Look for a near miss in each file that lacks a marker (near_miss.h).
  bool near_misses = false;
  // Files in sub-folders at any depth are read too, named by their path
  // below the folder; in separated mode the output folder mirrors the tree.
  bool recursive = false;
  // A file or sub-folder that cannot be read gets a log line with the
  // reason, and the run goes on with the rest; without it, the first one
  // ends the run through the error trap, as in the window.
  bool keep_going = false;
  // What each piece goes through before it is written, or nothing; it must
  // outlive the run.
  const PieceTransform* transform = nullptr;
  // Each piece becomes the plain text of its HTML (html_to_text.h), written
  // as text (OutputForm::text), UTF-8 unless `output.format` says otherwise;
  // `transform` is then not used.
  bool html_to_text = false;
  // The output's encoding and layout beyond the charset's (output_writer.h);
  // its `text` follows `html_to_text`.
  OutputForm output;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_OPTIONS_H_
