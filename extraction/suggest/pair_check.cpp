#include "extraction/suggest/pair_check.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/match/regex_matcher.h"
#include "extraction/suggest/visible_text.h"

namespace vantrel {
namespace {

struct Check {
  std::unique_ptr<Matcher> start, end;
  std::vector<std::int64_t> lengths;
  std::size_t first_file = 0;  // the first that gives a piece
  bool failed = false;         // a pattern that ran away
};

// The previews made again from the pages as a browser shows them, where
// the run reads them otherwise (a UTF-8 page without a signature, read in
// the run's windows-1256): the same pair cuts the page so decoded, and
// where it does not (markers of characters that decode otherwise), the
// preview stays as the run reads the page.
void ShowAsBrowsersDo(PageReader& reader, const std::vector<Check>& checks,
                      std::vector<PairOutcome>& outcomes) {
  std::optional<std::size_t> shown_file;
  std::u16string shown;
  for (std::size_t i = 0; i < checks.size(); ++i) {
    if (outcomes[i].pieces == 0) continue;
    const std::size_t file = checks[i].first_file;
    if (shown_file != file) {
      shown = reader.ReadAsShown(file);
      shown_file = file;
    }
    CutResult cut;
    try {
      cut = CutPiece(shown, *checks[i].start, *checks[i].end);
    } catch (const PatternTimeout&) {
      continue;
    }
    if (cut.outcome != FileOutcome::kExtracted) continue;
    outcomes[i].preview = PreviewOf(
        std::u16string_view(shown).substr(cut.piece.begin, cut.piece.size()));
  }
}

}  // namespace

std::vector<PairOutcome> CheckPairs(PageReader& reader,
                                    const std::vector<MarkerPair>& pairs,
                                    std::optional<HeldText> held) {
  std::vector<Check> checks;
  std::vector<PairOutcome> outcomes(pairs.size());
  for (PairOutcome& outcome : outcomes)
    outcome.lengths.assign(reader.size(), -1);
  for (const MarkerPair& pair : pairs) {
    MatchOptions options;
    options.regex = pair.regex;
    checks.push_back({MakeMatcher(pair.start, options, "start"),
                      MakeMatcher(pair.end, options, "end"),
                      {}});
  }
  reader.ForEach([&](std::size_t file, std::u16string_view text) {
    for (std::size_t i = 0; i < checks.size(); ++i) {
      Check& check = checks[i];
      if (check.failed) continue;
      CutResult cut;
      try {
        cut = CutPiece(text, *check.start, *check.end);
      } catch (const PatternTimeout&) {
        check.failed = true;
        continue;
      }
      if (cut.outcome != FileOutcome::kExtracted) continue;
      const std::u16string_view piece =
          text.substr(cut.piece.begin, cut.piece.size());
      if (check.lengths.empty()) {
        outcomes[i].preview = PreviewOf(piece);
        check.first_file = file;
      }
      check.lengths.push_back(static_cast<std::int64_t>(piece.size()));
      outcomes[i].lengths[file] = static_cast<std::int32_t>(piece.size());
      if (held && held->file == file) {
        outcomes[i].holds =
            cut.piece.begin <= held->begin && held->end <= cut.piece.end;
      }
    }
    return true;
  });
  for (std::size_t i = 0; i < checks.size(); ++i) {
    std::vector<std::int64_t>& lengths = checks[i].lengths;
    if (checks[i].failed || lengths.empty()) {
      outcomes[i] = {};
      outcomes[i].lengths.assign(reader.size(), -1);
      continue;
    }
    outcomes[i].pieces = static_cast<std::int64_t>(lengths.size());
    const auto middle = lengths.begin() + lengths.size() / 2;
    std::nth_element(lengths.begin(), middle, lengths.end());
    outcomes[i].median_length = *middle;
  }
  ShowAsBrowsersDo(reader, checks, outcomes);
  return outcomes;
}

}  // namespace vantrel
