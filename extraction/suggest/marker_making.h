// Marker pairs that cut the content out of each page of a sample: the start
// marker ends where the content starts, the end marker starts where it
// ends, each the shortest text of whole tags (from a '<' to a '>') that
// finds that place on every page. Literal where a literal does; a pattern
// for a run with regular-expression markers only where the template text
// varies per page (ids, dates, counters).
#ifndef VANTREL_EXTRACTION_SUGGEST_MARKER_MAKING_H_
#define VANTREL_EXTRACTION_SUGGEST_MARKER_MAKING_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/suggest/content_region.h"

namespace vantrel {

struct MarkerPair {
  std::u16string start;
  std::u16string end;
  bool regex = false;
  // What the pair marks out, in a few words for the user ("the pages' main
  // element").
  std::u16string basis;
  bool operator==(const MarkerPair&) const = default;
};

enum class MarkerReach {
  kShortest,     // as short as finds the place
  kWholeAnchors  // at least the anchors around the content, when they are
                 // literal: longer, but made of template text only
};

// The markers that cut [start, end) out of every place's page, or nothing.
std::optional<MarkerPair> MarkersFor(const std::vector<PagePlace>& places,
                                     MarkerReach reach);

// A pattern that matches only at the end of a file.
inline constexpr std::u16string_view kEndOfFilePattern = u"\\z";

// Where the content runs to the end of every page (a page that ends without
// closing its elements): patterns of the start marker for the places'
// start and of the end of the file, or where most pages close with the same
// template text (`closed`, their places with the content's end before it),
// of that text or the end of the file, whichever comes first.
std::optional<MarkerPair> MarkersToEnd(const std::vector<PagePlace>& places,
                                       const std::vector<PagePlace>& closed);

// The literal pair with its end marker taken further over the template
// that follows it on every page of `pages` (up to a few more tags): an end
// that also stands inside the content of pages not compared finds the
// content's end there too. Nothing where the pair is a pattern or no more
// template follows.
std::optional<MarkerPair> EndTakenFurther(
    const MarkerPair& pair, const std::vector<TokenizedPage>& sample,
    const std::vector<std::size_t>& pages);

// `text` as a pattern that matches exactly it.
std::u16string EscapedForPattern(std::u16string_view text);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_MARKER_MAKING_H_
