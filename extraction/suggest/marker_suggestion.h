// Finding marker pairs for a folder: from comparing its pages, or around a
// piece of text the user pasted. The steps live in their own files: reading
// (page_reading.h), tokens (page_tokens.h), templates
// (template_groups.h), the content region (content_region.h), the markers
// (marker_making.h), pasted text (around_text.h) and checking every
// candidate on every file (pair_check.h).
#ifndef VANTREL_EXTRACTION_SUGGEST_MARKER_SUGGESTION_H_
#define VANTREL_EXTRACTION_SUGGEST_MARKER_SUGGESTION_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "extraction/suggest/marker_making.h"
#include "extraction/suggest/page_reading.h"
#include "extraction/suggest/pair_check.h"

namespace vantrel {

struct FoundPairs {
  enum class Lack {
    kNone,
    kTooFewFiles,
    kAllAlike,
    kNoSharedTemplate,
    kTextNotFound,
    kNoMarkers,
  };
  // Best first, at most three; each gives a piece on at least one file.
  std::vector<std::pair<MarkerPair, PairOutcome>> pairs;
  std::int64_t files = 0;
  // Files on which the first pair gives no piece, when the sample showed
  // pages of another template than the majority's; 0 otherwise.
  std::int64_t other_template = 0;
  Lack lack = Lack::kNone;
};

// The files a sample of pages is taken from are sampled evenly in their
// order, never by chance, so that a folder always gives the same pairs.
inline constexpr std::size_t kSamplePages = 64;

// Pairs from comparing the pages, or with `around` not empty, pairs around
// that text.
FoundPairs FindMarkerPairs(PageReader& reader, std::u16string_view around);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_MARKER_SUGGESTION_H_
