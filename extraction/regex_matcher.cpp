#include "extraction/regex_matcher.h"

#include <unicode/parseerr.h>
#include <unicode/regex.h>

#include <algorithm>

#include "extraction/text.h"

namespace vantrel {
namespace {

// How long one search may take before it counts as a runaway, in ICU's
// steps of the match engine (on the order of a millisecond each). A plain
// pattern looks through megabytes well within it.
constexpr int32_t kTimeLimit = 5000;

uint32_t Flags(bool ignore_case) {
  return ignore_case ? UREGEX_CASE_INSENSITIVE : 0;
}

// ICU's reasons, as a person reads them.
std::string Reason(UErrorCode status) {
  switch (status) {
    case U_REGEX_MISMATCHED_PAREN:
      return "unbalanced parenthesis";
    case U_REGEX_MISSING_CLOSE_BRACKET:
      return "unclosed [";
    case U_REGEX_BAD_ESCAPE_SEQUENCE:
      return "unknown escape sequence";
    case U_REGEX_RULE_SYNTAX:
      return "syntax error";
    case U_REGEX_PROPERTY_SYNTAX:
      return "bad property name";
    case U_REGEX_BAD_INTERVAL:
      return "bad {min,max} repetition";
    case U_REGEX_MAX_LT_MIN:
      return "{min,max} with max below min";
    case U_REGEX_NUMBER_TOO_BIG:
      return "number too big";
    case U_REGEX_INVALID_BACK_REF:
      return "back reference to a group that does not exist";
    case U_REGEX_INVALID_RANGE:
      return "bad range in a set";
    case U_REGEX_INVALID_FLAG:
      return "bad flag";
    case U_REGEX_LOOK_BEHIND_LIMIT:
      return "look-behind of unbounded length";
    case U_REGEX_SET_CONTAINS_STRING:
      return "set holds a string";
    case U_REGEX_INVALID_CAPTURE_GROUP_NAME:
      return "bad group name";
    case U_REGEX_PATTERN_TOO_BIG:
      return "pattern too big";
    default:
      return u_errorName(status);
  }
}

// Whether the pattern ends with a group still open, counting the
// parentheses that are neither escaped nor inside a set.
bool ParenthesesLeftOpen(std::u16string_view pattern) {
  int depth = 0, in_set = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    switch (pattern[i]) {
      case u'\\':
        ++i;
        break;
      case u'[':
        ++in_set;
        break;
      case u']':
        if (in_set > 0) --in_set;
        break;
      case u'(':
        if (in_set == 0) ++depth;
        break;
      case u')':
        if (in_set == 0 && --depth < 0) return false;
        break;
    }
  }
  return depth > 0;
}

std::unique_ptr<icu::RegexPattern> Compile(std::u16string_view pattern,
                                           bool ignore_case, UParseError& where,
                                           UErrorCode& status) {
  const icu::UnicodeString text(pattern.data(),
                                static_cast<int32_t>(pattern.size()));
  return std::unique_ptr<icu::RegexPattern>(
      icu::RegexPattern::compile(text, Flags(ignore_case), where, status));
}

}  // namespace

std::optional<std::string> PatternError(std::u16string_view pattern,
                                        bool ignore_case) {
  UParseError where{};
  UErrorCode status = U_ZERO_ERROR;
  Compile(pattern, ignore_case, where, status);
  if (U_SUCCESS(status)) return std::nullopt;
  // ICU counts lines from 1 and characters on the line from 0.
  std::string at = std::to_string(where.offset + 1);
  if (where.line > 1) {
    at = "line " + std::to_string(where.line) + ", character " + at;
  }
  std::string reason = Reason(status);
  if (status == U_REGEX_MISMATCHED_PAREN) {
    reason = ParenthesesLeftOpen(pattern) ? "unclosed parenthesis"
                                          : "unmatched closing parenthesis";
  }
  return reason + " at " + at;
}

RegexMatcher::RegexMatcher(std::u16string_view pattern, bool ignore_case,
                           std::string name, int time_share)
    : name_(std::move(name)), time_share_(time_share) {
  UParseError where{};
  UErrorCode status = U_ZERO_ERROR;
  pattern_ = Compile(pattern, ignore_case, where, status);
  if (U_FAILURE(status)) {
    throw RunError("the " + name_ +
                   " pattern does not compile: " + Reason(status));
  }
}

RegexMatcher::~RegexMatcher() = default;

std::optional<TextRange> RegexMatcher::Find(std::u16string_view text) const {
  // The text is read where it is, not copied.
  const icu::UnicodeString view(false, text.data(),
                                static_cast<int32_t>(text.size()));
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::RegexMatcher> matcher(
      pattern_->matcher(view, status));
  matcher->setTimeLimit(std::max(kTimeLimit / time_share_, 1), status);
  const bool found = matcher->find(0, status);
  if (status == U_REGEX_TIME_OUT || status == U_REGEX_STACK_OVERFLOW) {
    throw PatternTimeout("the " + name_ + " pattern took too long");
  }
  if (U_FAILURE(status)) {
    throw RunError("the " + name_ + " pattern failed: " + u_errorName(status));
  }
  if (!found) return std::nullopt;
  const auto begin = static_cast<std::size_t>(matcher->start(status));
  const auto end = static_cast<std::size_t>(matcher->end(status));
  return TextRange{begin, end};
}

}  // namespace vantrel
