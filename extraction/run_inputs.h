// What the user gave a run: the window's five fields (the folder and the
// extension within the files it selects), and on the command line more
// extensions, recursion and a charset policy beside them.
#ifndef VANTREL_EXTRACTION_RUN_INPUTS_H_
#define VANTREL_EXTRACTION_RUN_INPUTS_H_

#include <string>

#include "extraction/file_selection.h"

namespace vantrel {

struct RunInputs {
  // The start marker (Text1) and the end marker (Text2): plain text, line
  // breaks included, matched exactly.
  std::u16string start_marker;
  std::u16string end_marker;
  // The files to read (Text3, Text4) and how.
  FileSelection files;
  // "Put found strings in separated files." (Check1).
  bool separate = false;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_INPUTS_H_
