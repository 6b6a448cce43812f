#include "extraction/match/matchers.h"

#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/utf16.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <utility>

#include "extraction/match/regex_matcher.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

bool IsSpacing(char32_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' ||
         c == u'\v';
}

char32_t Fold(char32_t c) {
  return static_cast<char32_t>(
      u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// The code point at `at` and the index behind it; an unpaired surrogate is
// a code point of its own.
char32_t CodePointAt(std::u16string_view text, std::size_t& at) {
  UChar32 c;
  U16_NEXT(text.data(), at, text.size(), c);
  return static_cast<char32_t>(c);
}

// Whether no other character matches `c` when letter case is ignored: it
// has no other case, and no other character folds to it.
bool CaseInvariant(char32_t c) {
  if (c < 0x80) return !(c >= u'a' && c <= u'z') && !(c >= u'A' && c <= u'Z');
  icu::UnicodeSet closure(static_cast<UChar32>(c), static_cast<UChar32>(c));
  // The closure under full case folding holds that of simple folding.
  closure.closeOver(USET_CASE_INSENSITIVE);
  return closure.size() == 1;
}

// The first place from `at` whose unit is one of `units`, or the text's
// size; eight units at a time where SSE2 is there.
std::size_t NextOf(std::u16string_view text, std::size_t at,
                   std::pair<char16_t, char16_t> units) {
  const auto [a, b] = units;
#if defined(__SSE2__)
  const __m128i as = _mm_set1_epi16(static_cast<short>(a));
  const __m128i bs = _mm_set1_epi16(static_cast<short>(b));
  for (; at + 8 <= text.size(); at += 8) {
    const __m128i eight =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    const int hits = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi16(eight, as), _mm_cmpeq_epi16(eight, bs)));
    if (hits != 0) return at + __builtin_ctz(static_cast<unsigned>(hits)) / 2;
  }
#endif
  while (at < text.size() && text[at] != a && text[at] != b) ++at;
  return at;
}

}  // namespace

std::u16string LiteralPart(std::u16string_view marker,
                           const MatchOptions& options) {
  if (options.regex) return u"";
  if (options.exact()) return std::u16string(marker);
  std::u16string longest, current;
  for (std::size_t i = 0; i < marker.size();) {
    const std::size_t from = i;
    const char32_t c = CodePointAt(marker, i);
    const bool literal =
        !(options.any_spacing && IsSpacing(c)) &&
        !(options.line_breaks_any && (c == u'\r' || c == u'\n')) &&
        (!options.ignore_case || CaseInvariant(c));
    if (literal) {
      current.append(marker.substr(from, i - from));
      if (current.size() > longest.size()) longest = current;
    } else {
      current.clear();
    }
  }
  return longest;
}

TolerantMatcher::TolerantMatcher(std::u16string_view marker,
                                 const MatchOptions& options)
    : ignore_case_(options.ignore_case),
      literal_(LiteralPart(marker, options)) {
  for (std::size_t i = 0; i < marker.size();) {
    if (options.any_spacing && IsSpacing(marker[i])) {
      while (i < marker.size() && IsSpacing(marker[i])) ++i;
      steps_.push_back({Step::kSpacing, 0});
    } else if (const std::size_t length = LineBreakLength(marker, i);
               options.line_breaks_any && length > 0) {
      i += length;
      steps_.push_back({Step::kLineBreak, 0});
    } else {
      const char32_t c = CodePointAt(marker, i);
      steps_.push_back({Step::kCharacter, ignore_case_ ? Fold(c) : c});
    }
  }
}

std::optional<std::size_t> TolerantMatcher::MatchAt(std::u16string_view text,
                                                    std::size_t at) const {
  for (const Step& step : steps_) {
    switch (step.kind) {
      case Step::kSpacing:
        if (at >= text.size() || !IsSpacing(text[at])) return std::nullopt;
        while (at < text.size() && IsSpacing(text[at])) ++at;
        break;
      case Step::kLineBreak: {
        const std::size_t length = LineBreakLength(text, at);
        if (length == 0) return std::nullopt;
        at += length;
        break;
      }
      case Step::kCharacter: {
        if (at >= text.size()) return std::nullopt;
        const char32_t c = CodePointAt(text, at);
        if ((ignore_case_ ? Fold(c) : c) != step.character) {
          return std::nullopt;
        }
        break;
      }
    }
  }
  return at;
}

bool TolerantMatcher::MayStartAt(char16_t unit) const {
  if (steps_.empty()) return true;
  const Step& first = steps_.front();
  switch (first.kind) {
    case Step::kSpacing:
      return IsSpacing(unit);
    case Step::kLineBreak:
      return unit == u'\r' || unit == u'\n';
    case Step::kCharacter:
      break;
  }
  const char32_t c = first.character;
  // A character beyond the first 64K units starts with a surrogate.
  if (!ignore_case_) return c > 0xFFFF || unit == c;
  // Beyond ASCII, several characters may fold to one: try every place.
  if (c >= 0x80) return true;
  // An ASCII character folds from itself and its other case, and 'k' and
  // 's' from a few characters beyond ASCII (KELVIN SIGN, LONG S).
  if (unit == c || (c >= u'a' && c <= u'z' && unit == c - 32)) return true;
  return (c == u'k' || c == u's') && unit >= 0x80;
}

std::optional<std::pair<char16_t, char16_t>> TolerantMatcher::FirstUnits()
    const {
  if (steps_.empty()) return std::nullopt;
  const Step& first = steps_.front();
  if (first.kind == Step::kLineBreak) return std::pair{u'\r', u'\n'};
  const char32_t c = first.character;
  if (first.kind != Step::kCharacter || c >= 0x80) return std::nullopt;
  if (!ignore_case_) return std::pair{char16_t(c), char16_t(c)};
  // 'k' and 's' fold from characters beyond ASCII too (MayStartAt).
  if (c == u'k' || c == u's') return std::nullopt;
  const bool letter = c >= u'a' && c <= u'z';
  return std::pair{char16_t(c), char16_t(letter ? c - 32 : c)};
}

std::optional<TextRange> TolerantMatcher::Find(std::u16string_view text) const {
  if (text.empty()) return std::nullopt;
  if (!literal_.empty() && !FindMarker(text, literal_)) return std::nullopt;
  if (const auto units = FirstUnits()) {
    // Only places with one of the two units can start a match; both are
    // ASCII, so each such place starts a character.
    for (std::size_t at = NextOf(text, 0, *units);;) {
      if (at == text.size()) return std::nullopt;
      if (const auto end = MatchAt(text, at)) return TextRange{at, *end};
      at = NextOf(text, at + 1, *units);
    }
  }
  for (std::size_t at = 0; at < text.size();) {
    // Most places are passed over on their first unit alone.
    if (MayStartAt(text[at])) {
      if (const auto end = MatchAt(text, at)) return TextRange{at, *end};
    }
    // Places are characters: a match never starts inside a surrogate pair.
    CodePointAt(text, at);
  }
  return std::nullopt;
}

std::unique_ptr<Matcher> MakeMatcher(std::u16string_view marker,
                                     const MatchOptions& options,
                                     std::string_view name) {
  if (options.regex) {
    return std::make_unique<RegexMatcher>(marker, options.ignore_case,
                                          std::string(name));
  }
  if (options.exact()) {
    return std::make_unique<ExactMatcher>(std::u16string(marker));
  }
  return std::make_unique<TolerantMatcher>(marker, options);
}

}  // namespace vantrel
