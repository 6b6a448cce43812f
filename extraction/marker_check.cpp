#include "extraction/marker_check.h"

#include "extraction/match/regex_matcher.h"

namespace vantrel {

std::optional<std::string> MarkerPatternError(std::u16string_view pattern,
                                              bool ignore_case) {
  return PatternError(pattern, ignore_case);
}

}  // namespace vantrel
