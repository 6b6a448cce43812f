// What candidate marker pairs give on every file of the folder, found by
// cutting each file as a run cuts it (the run's matchers and cutting rule).
// The files are read once for all candidates, and each is dropped before
// the next is read.
#ifndef VANTREL_EXTRACTION_SUGGEST_PAIR_CHECK_H_
#define VANTREL_EXTRACTION_SUGGEST_PAIR_CHECK_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "extraction/suggest/marker_making.h"
#include "extraction/suggest/page_reading.h"

namespace vantrel {

struct PairOutcome {
  std::int64_t pieces = 0;
  std::int64_t median_length = 0;  // in characters (UTF-16 units)
  // The first 80 visible characters of the first piece.
  std::u16string preview;
  // Whether the piece of file `holds.file` holds its units [begin, end)
  // (asked for by a suggestion around a piece of text).
  bool holds = false;
  // The length of each file's piece, -1 where it gives none.
  std::vector<std::int32_t> lengths;
};

// A stretch of one file that a pair's piece should hold.
struct HeldText {
  std::size_t file = 0;
  std::size_t begin = 0, end = 0;
};

std::vector<PairOutcome> CheckPairs(PageReader& reader,
                                    const std::vector<MarkerPair>& pairs,
                                    std::optional<HeldText> held = {});

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_PAIR_CHECK_H_
