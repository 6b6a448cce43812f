// Puts each extracted piece into the run's output.
//
// The run's first write chooses the output once for the whole run: a new
// collected file ExportN.<extension> in the scanned folder, or, with
// "separated files" ticked, a new folder ExportN holding one file per source
// named like the source. N is the first free number from 1. Every write
// opens, appends to and closes its file, so each finished piece is on disk.
#ifndef VANTREL_EXTRACTION_OUTPUT_WRITER_H_
#define VANTREL_EXTRACTION_OUTPUT_WRITER_H_

#include <string>
#include <string_view>

#include "extraction/run_state.h"
#include "extraction/run_window.h"

namespace vantrel {

// Appends the piece `Matn` from the source named `fName` to the run's
// output, choosing and creating the output on the run's first write (when
// `state.OutCharset` is empty). Failures are thrown as RunError.
void WriteFile(RunWindow& window, RunState& state, std::u16string_view Matn,
               std::u16string_view fName);

// The output names, built on the scanned folder with a separator added when
// it lacks one: "<folder>/Export<n>.<extension>" and "<folder>/Export<n>".
std::u16string OutputFileName(std::u16string_view source_path, int n,
                              std::u16string_view extension);
std::u16string OutputFolderName(std::u16string_view source_path, int n);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_WRITER_H_
