#include "extraction/match/cut.h"

namespace vantrel {

CutResult CutPiece(std::u16string_view text, const Matcher& start,
                   const Matcher& end) {
  return CutWith(
      text, [&](std::u16string_view t) { return start.Find(t); },
      [&](std::u16string_view t, std::size_t from) {
        return end.FindFrom(t, from);
      });
}

}  // namespace vantrel
