#include "extraction/cut.h"

namespace vantrel {

Cut CutPiece(std::u16string_view text, const Matcher& start,
             const Matcher& end) {
  Cut cut;
  if (text.empty()) return cut;
  const std::optional<TextRange> start_match = start.Find(text);
  if (!start_match) {
    cut.outcome = FileOutcome::kNoStart;
    return cut;
  }
  cut.start = *start_match;
  cut.outcome = FileOutcome::kNoEnd;
  const std::u16string_view rest = text.substr(cut.start.end);
  if (rest.empty()) return cut;
  const std::optional<TextRange> end_match = end.Find(rest);
  if (!end_match) return cut;
  cut.outcome = FileOutcome::kExtracted;
  cut.end = {cut.start.end + end_match->begin, cut.start.end + end_match->end};
  cut.piece = {cut.start.end, cut.end.begin};
  return cut;
}

}  // namespace vantrel
