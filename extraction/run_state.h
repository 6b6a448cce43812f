// What a run and its output writer share, and what outlives a run.
//
// The window owns one RunState for its whole life. A run overwrites
// SourcePath and empties SourceCharset and OutCharset before it touches any
// file; the output writer fills OutCharset, OutFile and OutFolder on the
// run's first write. Between runs the values stay as the last run left them.
#ifndef VANTREL_EXTRACTION_RUN_STATE_H_
#define VANTREL_EXTRACTION_RUN_STATE_H_

#include <string>

namespace vantrel {

struct RunState {
  // The folder being scanned, copied from the folder field.
  std::u16string SourcePath;
  // Empty until the run's first write, then the run's charset name. Its
  // emptiness is how the output writer knows a write is the run's first.
  std::u16string OutCharset;
  // The file that the current write appends to.
  std::u16string OutFile;
  // The run's output folder in separated mode, without a trailing separator.
  std::u16string OutFolder;
  // The charset detected on the run's first matching file.
  std::u16string SourceCharset;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_STATE_H_
