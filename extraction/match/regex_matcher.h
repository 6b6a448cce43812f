// Markers as regular expressions, in ICU's syntax, matched on the text the
// run already has. The start is the first match in the text; the end the
// first match in the text behind the start match, judged by the whole text:
// look-behind and \b see the text before it, and ^ and \A match only where
// a line or the text really begins. A pattern that matches an empty text
// behaves like an empty marker.
#ifndef VANTREL_EXTRACTION_MATCH_REGEX_MATCHER_H_
#define VANTREL_EXTRACTION_MATCH_REGEX_MATCHER_H_

#include <unicode/uversion.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "extraction/base/run_error.h"
#include "extraction/match/marker_search.h"

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace vantrel {

// Why a pattern does not compile and where: "unbalanced parenthesis at 12".
std::optional<std::string> PatternError(std::u16string_view pattern,
                                        bool ignore_case);

// A search that ran away (catastrophic backtracking) and was stopped,
// because it took too long or needed too much memory for the text.
class PatternTimeout : public RunError {
 public:
  using RunError::RunError;
};

class RegexMatcher final : public Matcher {
 public:
  // `pattern` must compile (PatternError gives nothing for it). `name`
  // says which marker it is, for the description of a match that takes too
  // long ("the start pattern"). A search may take the time a run's search
  // may, divided by `time_share`: a check beside the run's own search takes
  // a small share of it.
  RegexMatcher(std::u16string_view pattern, bool ignore_case, std::string name,
               int time_share = 1);
  ~RegexMatcher() override;

  // Throw PatternTimeout when the search takes too long or needs too much
  // memory; both are allowed in proportion to the text searched.
  std::optional<TextRange> Find(std::u16string_view text) const override;
  std::optional<TextRange> FindFrom(std::u16string_view text,
                                    std::size_t from) const override;

 private:
  std::unique_ptr<icu::RegexPattern> pattern_;
  std::string name_;
  int time_share_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MATCH_REGEX_MATCHER_H_
