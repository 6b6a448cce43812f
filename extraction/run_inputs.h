// The five inputs of an extraction run, as the window's fields hold them.
#ifndef VANTREL_EXTRACTION_RUN_INPUTS_H_
#define VANTREL_EXTRACTION_RUN_INPUTS_H_

#include <string>

namespace vantrel {

struct RunInputs {
  // The start marker (Text1) and the end marker (Text2): plain text, line
  // breaks included, matched exactly.
  std::u16string start_marker;
  std::u16string end_marker;
  // The folder to scan (Text3), taken as it stands.
  std::u16string folder;
  // The extension of the files to read (Text4), without a dot.
  std::u16string extension;
  // "Put found strings in separated files." (Check1).
  bool separate = false;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_RUN_INPUTS_H_
