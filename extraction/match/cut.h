// Cutting the piece out of a file's text: everything between the first
// match of the start marker and the first match of the end marker behind
// the end of it.
#ifndef VANTREL_EXTRACTION_MATCH_CUT_H_
#define VANTREL_EXTRACTION_MATCH_CUT_H_

#include <optional>
#include <string_view>

#include "extraction/match/marker_search.h"

namespace vantrel {

// How an examined file ended.
enum class FileOutcome {
  kExtracted,  // both markers found: the piece went to the output
  kCantRead,   // the file gave no text
  kNoStart,    // no start marker
  kNoEnd,      // no end marker behind the start marker
  // The file could not be opened or read (only in a run that keeps going
  // past such files); it has no text and no cut.
  kUnreadable,
};

struct CutResult {
  FileOutcome outcome = FileOutcome::kCantRead;
  TextRange start;  // the start marker's match (kNoEnd and kExtracted)
  TextRange end;    // the end marker's match (kExtracted)
  TextRange piece;  // what lies between the two (kExtracted); may be empty
};

// Cuts `text` with the two matchers. An empty text gives nothing, and no
// marker is found in an empty text, nor the end marker when nothing follows
// the start marker. A match of the end marker that begins before the start
// marker's end does not count.
CutResult CutPiece(std::u16string_view text, const Matcher& start,
                   const Matcher& end);

// CutPiece's rule over any text, units or bytes, with any two searches:
// `find_start(text)` gives the first match in the text, `find_end(text,
// from)` the first match wholly at or behind `from` (ranges counted from the
// start of the text), each or nothing.
template <typename Text, typename FindStart, typename FindEnd>
CutResult CutWith(Text text, const FindStart& find_start,
                  const FindEnd& find_end) {
  CutResult cut;
  if (text.empty()) return cut;
  const std::optional<TextRange> start_match = find_start(text);
  if (!start_match) {
    cut.outcome = FileOutcome::kNoStart;
    return cut;
  }
  cut.start = *start_match;
  cut.outcome = FileOutcome::kNoEnd;
  if (cut.start.end == text.size()) return cut;
  const std::optional<TextRange> end_match = find_end(text, cut.start.end);
  if (!end_match) return cut;
  cut.outcome = FileOutcome::kExtracted;
  cut.end = *end_match;
  cut.piece = {cut.start.end, cut.end.begin};
  return cut;
}

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MATCH_CUT_H_
