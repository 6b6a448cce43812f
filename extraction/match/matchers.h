// The ways a run can match its markers, beyond the exact one: a line break
// in a marker that matches any line break of the text, letters that match
// whatever their case, and markers that are patterns. Whatever matched, the
// piece is the text between the matches as it stands.
#ifndef VANTREL_EXTRACTION_MATCH_MATCHERS_H_
#define VANTREL_EXTRACTION_MATCH_MATCHERS_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extraction/match/marker_search.h"

namespace vantrel {

struct MatchOptions {
  // CR LF, LF and a lone CR in a marker each match any one of the three.
  bool line_breaks_any = false;
  // Letters match whatever their case (simple case folding, character by
  // character).
  bool ignore_case = false;
  // Every run of white space (spaces, tabs, line breaks) in a marker
  // matches any non-empty run of white space. Only the near-miss analysis
  // asks for it.
  bool any_spacing = false;
  // Markers are regular expressions in ICU's syntax (regex_matcher.h); with
  // ignore_case they match whatever the case. The two tolerances above do
  // not apply: a pattern says that itself.
  bool regex = false;

  bool exact() const {
    return !line_breaks_any && !ignore_case && !any_spacing && !regex;
  }
};

// A marker matched with some of the tolerances above. It tries each place
// of the text in turn, so it costs more than the exact search; runs use it
// only when asked to.
class TolerantMatcher final : public Matcher {
 public:
  TolerantMatcher(std::u16string_view marker, const MatchOptions& options);
  std::optional<TextRange> Find(std::u16string_view text) const override;

 private:
  // What one step of the marker matches.
  struct Step {
    enum Kind { kCharacter, kLineBreak, kSpacing } kind;
    char32_t character;  // kCharacter: folded when letter case is ignored
  };
  // Whether a match may start at a place whose first unit is `unit`.
  bool MayStartAt(char16_t unit) const;
  // The two units that every match starts with one of (the same twice when
  // one), when the first step has so few; then only they are looked at.
  std::optional<std::pair<char16_t, char16_t>> FirstUnits() const;
  // The end of the marker's match at `at`, or nothing.
  std::optional<std::size_t> MatchAt(std::u16string_view text,
                                     std::size_t at) const;

  std::vector<Step> steps_;
  bool ignore_case_;
  // A part of every match (LiteralPart): a text without it is passed over
  // in one fast search.
  std::u16string literal_;
};

// The matcher for `marker` under `options`: the exact search when no
// tolerance is asked for. `name` says which marker it is ("start", "end"),
// for the description of a pattern that takes too long.
std::unique_ptr<Matcher> MakeMatcher(std::u16string_view marker,
                                     const MatchOptions& options,
                                     std::string_view name = "marker's");

// The longest stretch of `marker` that every match under `options` holds
// exactly as written, unit for unit: the whole marker when it is matched
// exactly; with ignore_case, only characters that no other character
// matches (digits, punctuation, most scripts without letter case); empty
// for a pattern. A text without it holds no match, which the exact search
// tells much faster than trying each place.
std::u16string LiteralPart(std::u16string_view marker,
                           const MatchOptions& options);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MATCH_MATCHERS_H_
