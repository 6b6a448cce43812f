// Finding a marker in a text, the way the run counts positions: 1-based, in
// UTF-16 code units, 0 when absent. The comparison is exact and
// case-sensitive; line breaks are characters like any other.
#ifndef VANTREL_EXTRACTION_MARKER_SEARCH_H_
#define VANTREL_EXTRACTION_MARKER_SEARCH_H_

#include <cstddef>
#include <string_view>

namespace vantrel {

// Position of the first occurrence of `marker` in `text`. An empty marker is
// found at position 1 of a non-empty text and not at all in an empty text.
std::size_t FindMarker(std::u16string_view text, std::u16string_view marker);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MARKER_SEARCH_H_
