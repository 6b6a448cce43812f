// What the user gave a run: the window's five fields, and on the command
// line more extensions beside the first.
#ifndef VANTREL_EXTRACTION_RUN_INPUTS_H_
#define VANTREL_EXTRACTION_RUN_INPUTS_H_

#include <string>
#include <vector>

namespace vantrel {

struct RunInputs {
  // The start marker (Text1) and the end marker (Text2): plain text, line
  // breaks included, matched exactly.
  std::u16string start_marker;
  std::u16string end_marker;
  // The folder to scan (Text3), taken as it stands.
  std::u16string folder;
  // The extension of the files to read (Text4), without a dot; it names
  // the collected file.
  std::u16string extension;
  // Files with these extensions are read too.
  std::vector<std::u16string> more_extensions;
  // "Put found strings in separated files." (Check1).
  bool separate = false;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_INPUTS_H_
