#include "extraction/match/regex_matcher.h"

#include <unicode/parseerr.h>
#include <unicode/regex.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "extraction/text/text.h"

namespace vantrel {
namespace {

// How much work one search may do before it counts as a runaway, in ICU's
// steps of the match engine: a step is kStatesPerStep backtracking states
// saved, on the order of a millisecond. Every search may take kMinSteps;
// a longer text allows kStatesPerUnit states for each unit searched, so that
// a pattern that tries a bounded number of ways at each place (a word and a
// number behind it: about 4; an alternation of 30 words: about 30) is
// never stopped however long the page, while catastrophic backtracking,
// which grows much faster than the text, still is.
constexpr std::int64_t kMinSteps = 5000;
constexpr std::int64_t kStatesPerUnit = 128;
constexpr std::int64_t kStatesPerStep = 10000;

// How large ICU's backtracking stack may grow, in the units of
// setStackLimit: ICU's own default at the least, and kStackPerUnit for each
// unit searched. ICU counts 4 of these units for each 8-byte slot of its
// stack, and a saved state takes 2 slots plus 3 for each group of the
// pattern, so a lazy repetition over the whole text fits when the pattern
// has up to two groups.
constexpr std::int64_t kMinStack = 8000000;
constexpr std::int64_t kStackPerUnit = 32;

// A limit of `wanted`, but at least `least`, as ICU takes it.
int32_t Limit(std::int64_t least, std::int64_t wanted) {
  return static_cast<int32_t>(std::min<std::int64_t>(
      std::max(least, wanted), std::numeric_limits<int32_t>::max()));
}

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

// The innermost group (`(`) or set (`[`) that the pattern leaves open, as
// the unit where it opens: ICU finds it open only at the pattern's end.
// Escaped and quoted (\Q...\E) characters and comments open nothing, nor
// does a parenthesis inside a set. Nothing when none is left open, or when
// a `)` closes no group: ICU reports that one where it stands.
std::optional<std::size_t> InnermostOpen(std::u16string_view pattern,
                                         char16_t opener) {
  std::vector<std::size_t> groups, sets;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    switch (pattern[i]) {
      case u'\\':
        if (pattern.substr(i + 1, 1) == u"Q") {
          i = std::min(pattern.find(u"\\E", i + 2), pattern.size());
        }
        ++i;
        break;
      case u'[':
        sets.push_back(i);
        break;
      case u']':
        if (!sets.empty()) sets.pop_back();
        break;
      case u'(':
        if (!sets.empty()) break;
        if (pattern.substr(i + 1, 2) == u"?#") {
          const std::size_t close = pattern.find(u')', i + 3);
          if (close == std::u16string_view::npos) {
            return opener == u'(' ? std::optional(i) : std::nullopt;
          }
          i = close;
          break;
        }
        groups.push_back(i);
        break;
      case u')':
        if (!sets.empty()) break;
        if (groups.empty()) return std::nullopt;
        groups.pop_back();
        break;
    }
  }
  const std::vector<std::size_t>& open = opener == u'(' ? groups : sets;
  if (open.empty()) return std::nullopt;
  return open.back();
}

// A pattern's characters as ICU's compiler counts them in the places of
// its errors: code points, on lines that end after CR, LF (once for CR
// LF), NEL and LS, both counted from 1.
class PatternPlaces {
 public:
  explicit PatternPlaces(std::u16string_view pattern) : pattern_(pattern) {
    int line = 1, column = 0;
    for (std::size_t at = 0; at < pattern.size();) {
      const std::size_t unit = at;
      UChar32 c;
      U16_NEXT(pattern.data(), at, pattern.size(), c);
      places_.push_back({unit, line, ++column});
      const bool ends_line = (c == u'\r' && pattern.substr(at, 1) != u"\n") ||
                             c == u'\n' || c == 0x85 || c == 0x2028;
      if (ends_line) {
        ++line;
        column = 0;
      }
    }
  }

  // The unit of the character at fault where ICU gives the place at which
  // it stopped, or nothing when ICU gives none. ICU's offset counts the
  // characters it has read on the line, the last of them the one it
  // stopped at (0: the line break before the line). Some faults it sees
  // only on the character behind them; those are found back from there.
  std::optional<std::size_t> Fault(const UParseError& where,
                                   UErrorCode status) const {
    if (where.line < 1 || where.offset < 0 || places_.empty()) {
      return std::nullopt;
    }
    std::size_t line_start = 0;
    while (line_start < places_.size() &&
           places_[line_start].line < where.line) {
      ++line_start;
    }
    std::size_t at = std::min(line_start + where.offset, places_.size());
    at = at > 0 ? at - 1 : 0;
    const auto back_to = [&](bool (*what)(char16_t)) {
      while (at > 0 && !what(pattern_[places_[at].unit])) --at;
    };
    if (status == U_REGEX_MAX_LT_MIN) {
      back_to([](char16_t c) { return c == u'}'; });
    } else if (status == U_REGEX_INVALID_BACK_REF) {
      back_to([](char16_t c) { return c >= u'0' && c <= u'9'; });
    }
    return places_[at].unit;
  }

  // "12", or "line 2, character 4" beyond the first line.
  std::string Describe(std::size_t unit) const {
    for (const Place& place : places_) {
      if (place.unit < unit) continue;
      const std::string column = std::to_string(place.column);
      if (place.line == 1) return column;
      return "line " + std::to_string(place.line) + ", character " + column;
    }
    return std::to_string(places_.size() + 1);
  }

 private:
  struct Place {
    std::size_t unit;  // where the character begins
    int line, column;
  };
  std::u16string_view pattern_;
  std::vector<Place> places_;
};

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
  std::string reason = Reason(status);
  std::optional<std::size_t> fault;
  if (status == U_REGEX_MISMATCHED_PAREN) {
    fault = InnermostOpen(pattern, u'(');
    reason = fault ? "unclosed parenthesis" : "unmatched closing parenthesis";
  } else if (status == U_REGEX_MISSING_CLOSE_BRACKET) {
    fault = InnermostOpen(pattern, u'[');
  }
  const PatternPlaces places(pattern);
  if (!fault) fault = places.Fault(where, status);
  if (!fault) return reason;
  return reason + " at " + places.Describe(*fault);
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
  return FindFrom(text, 0);
}

std::optional<TextRange> RegexMatcher::FindFrom(std::u16string_view text,
                                                std::size_t from) const {
  // The text is read where it is, not copied.
  const icu::UnicodeString view(false, text.data(),
                                static_cast<int32_t>(text.size()));
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::RegexMatcher> matcher(
      pattern_->matcher(view, status));
  const auto searched = static_cast<std::int64_t>(text.size() - from);
  if (U_SUCCESS(status)) {
    // setStackLimit resets the region, so it comes first.
    matcher->setStackLimit(Limit(kMinStack, kStackPerUnit * searched), status);
    // A check beside the run's own search gets its share of the time.
    matcher->setTimeLimit(
        std::max<int32_t>(
            Limit(kMinSteps, kStatesPerUnit * searched / kStatesPerStep) /
                time_share_,
            1),
        status);
    // The search starts at `from` but sees the whole text: transparent
    // bounds let look-behind and \b look before it, and without anchoring
    // bounds ^ and \A do not take `from` for the start of the text.
    matcher->region(static_cast<int64_t>(from),
                    static_cast<int64_t>(text.size()), status);
    matcher->useTransparentBounds(true);
    matcher->useAnchoringBounds(false);
  }
  const bool found = U_SUCCESS(status) && matcher->find(status);
  if (status == U_REGEX_TIME_OUT) {
    throw PatternTimeout("the " + name_ + " pattern took too long");
  }
  if (status == U_REGEX_STACK_OVERFLOW || status == U_MEMORY_ALLOCATION_ERROR) {
    throw PatternTimeout("the " + name_ + " pattern needs too much memory");
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
