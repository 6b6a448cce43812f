// Markers checked before a run: a front end that takes markers as patterns
// tells a pattern that does not compile as bad usage, before any file is
// read.
#ifndef VANTREL_EXTRACTION_MARKER_CHECK_H_
#define VANTREL_EXTRACTION_MARKER_CHECK_H_

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Why `pattern` does not compile as a marker pattern, and where
// ("unbalanced parenthesis at 12"); nothing when it does.
std::optional<std::string> MarkerPatternError(std::u16string_view pattern,
                                              bool ignore_case);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MARKER_CHECK_H_
