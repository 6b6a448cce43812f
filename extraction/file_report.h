// What a run tells about each file it examined, beside the log text, for
// front ends that report more than the window shows.
#ifndef VANTREL_EXTRACTION_FILE_REPORT_H_
#define VANTREL_EXTRACTION_FILE_REPORT_H_

#include <optional>
#include <string_view>

#include "extraction/cut.h"
#include "extraction/near_miss.h"

namespace vantrel {

struct FileReport {
  // The file's name exactly (bytes that are not UTF-8 kept escaped, as
  // native_names.h does); DisplayName gives what a person may be shown.
  std::u16string_view name;
  // The file's whole text as the run decoded it, and how it was cut. Both
  // are valid only during the call.
  std::u16string_view text;
  Cut cut;
  // Files examined so far in this run, this one included, and the run's
  // matching count.
  int done = 0;
  int matching = 0;
  // Why a file that lacks a marker lacks it, when the run was asked to
  // look and found a near miss.
  std::optional<Hint> hint;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_FILE_REPORT_H_
