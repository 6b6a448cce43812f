// How a run reads, cuts, transforms and writes, decided once from what the
// user gave, the run's options and its listed sources, before the first
// file is cut: the run itself is then a loop over the sources.
#ifndef VANTREL_EXTRACTION_RUN_PLAN_H_
#define VANTREL_EXTRACTION_RUN_PLAN_H_

#include <optional>
#include <string>

#include "extraction/base/piece.h"
#include "extraction/output/output_writer.h"
#include "extraction/run_inputs.h"
#include "extraction/run_options.h"
#include "extraction/source/source_listing.h"
#include "extraction/text/charsets.h"

namespace vantrel {

struct RunPlan {
  // How every file is read; nothing when each file is read in its own.
  std::optional<Charset> charset;
  // The file whose signature decided the charset, when one did.
  std::u16string decided_by;
  // The charset that names the output: the run's, or UTF-16LE when each
  // file has its own.
  Charset output_charset = Charset::kUtf16Le;
  // What each piece goes through, or nothing.
  const PieceTransform* transform = nullptr;
  // The output's encoding and layout, the transform's needs included.
  OutputForm form;
  // The output's encoding was chosen by the options (an output format, text
  // or JSON lines), not by the charset, so the run's result names it.
  bool output_format_chosen = false;
};

// The sources that `files` selects, in the run's order: the folder's
// matching files (listed as ListingOptions says, with `keep_going`), or
// the listed files.
Sources SelectedSources(const FileSelection& files, bool keep_going);
// How many sources `files` selects: the run's first pass over a folder.
std::size_t CountSelected(const FileSelection& files, bool keep_going);

// The plan for `sources`. With the first file's policy, the first file
// that can be read decides (in a run that keeps going past unreadable
// files; otherwise the first, whose failure is thrown); when none can, the
// charset is that of a file without a signature.
RunPlan PlanRun(const RunInputs& inputs, const RunOptions& options,
                const Sources& sources);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_PLAN_H_
