// The record of one run: where it read, how, and where it wrote. The run
// builds it and hands it back in its result (run.h); nothing else writes
// it.
#ifndef VANTREL_EXTRACTION_RUN_STATE_H_
#define VANTREL_EXTRACTION_RUN_STATE_H_

#include <string>

namespace vantrel {

struct RunState {
  // The folder scanned, as the user gave it.
  std::u16string SourcePath;
  // The run's charset name once it wrote a piece (in a dry run: would
  // have); empty when it wrote none.
  std::u16string OutCharset;
  // The file that the last write went into.
  std::u16string OutFile;
  // The run's output folder in separated mode, without a trailing separator.
  std::u16string OutFolder;
  // The charset the run read its files in; empty when it read none.
  std::u16string SourceCharset;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_STATE_H_
