// What a run tells about each file it examined, beside the log text, for
// front ends that report more than the window shows.
#ifndef VANTREL_EXTRACTION_FILE_REPORT_H_
#define VANTREL_EXTRACTION_FILE_REPORT_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "extraction/explain/near_miss.h"
#include "extraction/match/cut.h"
#include "extraction/text/charset_detection.h"

namespace vantrel {

struct FileReport {
  // The file's name exactly (bytes that are not UTF-8 kept escaped, as
  // native_names.h does); DisplayName gives what a person may be shown.
  std::u16string_view name;
  // The file's whole text as the run decoded it, and how it was cut. Both
  // are valid only during the call.
  //
  // A file that gave no piece always has both. A file that gave its piece
  // (cut.outcome is kExtracted) may have an empty text when the run cut it
  // in its bytes without decoding the whole, unless the sink's
  // WantsFileTexts() is true: the cut's ranges are then still those of the
  // text for a windows-1256 run, and all zero for a UTF-8 one, where they
  // cannot be told without decoding what comes before the piece.
  std::u16string_view text;
  CutResult cut;
  // Files examined so far in this run, this one included, and the run's
  // matching count.
  std::int64_t done = 0;
  std::int64_t matching = 0;
  // Why a file that lacks a marker lacks it, when the run was asked to
  // look and found a near miss.
  std::optional<NearMiss> near_miss;
  // Why an unreadable file (kUnreadable) could not be read: the system's
  // reason ("Permission denied").
  std::u16string_view reason;
  // The charset the file was read in and why, in a run that decides each
  // file's (--charset detect); valid only during the call.
  const CharsetDecision* charset = nullptr;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_FILE_REPORT_H_
