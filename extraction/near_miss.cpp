#include "extraction/near_miss.h"

#include <unicode/utf8.h>

#include "extraction/native_names.h"
#include "extraction/regex_matcher.h"
#include "extraction/text.h"

namespace vantrel {
namespace {

std::u16string Label(Charset charset) {
  return Utf8ToText(CharsetLabel(charset));
}

bool HasNonAscii(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c >= 0x80) return true;
  }
  return false;
}

// Well-formed UTF-8 that is not plain ASCII: what a UTF-8 page without a
// signature looks like to a windows-1256 run.
bool LooksLikeUtf8(std::string_view bytes) {
  const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto length = static_cast<int64_t>(bytes.size());
  bool non_ascii = false;
  for (int64_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) return false;
    non_ascii |= c >= 0x80;
  }
  return non_ascii;
}

// The kinds of line break in `text`: "CR LF", "LF", "CR", or "mixed"; empty
// when it has none.
std::u16string LineBreakKinds(std::u16string_view text) {
  std::u16string kinds;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = LineBreakLength(text, i);
    if (length == 0) {
      ++i;
      continue;
    }
    const std::u16string kind =
        length == 2 ? u"CR LF" : (text[i] == u'\r' ? u"CR" : u"LF");
    if (kinds.empty()) {
      kinds = kind;
    } else if (kinds != kind) {
      return u"mixed";
    }
    i += length;
  }
  return kinds;
}

class Analysis {
 public:
  Analysis(const NearMissRun& run, std::u16string_view text, const Cut& cut)
      : run_(run), text_(text), end_(cut.outcome == FileOutcome::kNoEnd) {
    marker_ = end_ ? run.end_marker : run.start_marker;
    // The end marker is looked for only behind the start marker.
    from_ = end_ ? cut.start.end : 0;
    start_line_ = end_ ? LineAt(text, cut.start.begin) : 0;
  }

  std::optional<Hint> Charsets(std::string_view bytes) const {
    const Charset signature = DetectCharset(bytes);
    std::u16string what;
    if (signature != Charset::kWindows1256 && signature != run_.charset) {
      what = u"starts with a " + Label(signature) + u" signature";
    } else if (run_.charset == Charset::kWindows1256 && HasNonAscii(marker_) &&
               LooksLikeUtf8(bytes)) {
      what = u"looks like UTF-8 without a signature";
    } else {
      return std::nullopt;
    }
    std::u16string sentence =
        what + u", but this run reads every file as " + Label(run_.charset);
    if (!run_.charset_decided_by.empty()) {
      sentence += u", decided by " + DisplayName(run_.charset_decided_by);
    }
    return Hint{Hint::Kind::kCharset, end_, 0, sentence};
  }

  // Where the marker is when matched with the run's tolerances and `more`.
  std::optional<TextRange> FindWith(MatchOptions more) const {
    // A pattern says itself how it takes line breaks and spacing.
    if (run_.matching.regex) more.line_breaks_any = more.any_spacing = false;
    more.line_breaks_any |= run_.matching.line_breaks_any;
    more.ignore_case |= run_.matching.ignore_case;
    more.any_spacing |= run_.matching.any_spacing;
    more.regex = run_.matching.regex;
    if (more.line_breaks_any == run_.matching.line_breaks_any &&
        more.ignore_case == run_.matching.ignore_case &&
        more.any_spacing == run_.matching.any_spacing) {
      return std::nullopt;  // nothing more tolerant than the run itself
    }
    return Find(more, from_, text_.size());
  }

  // Where the marker is between `from` and `to`, matched with `options`; a
  // pattern that runs away there gives no hint.
  std::optional<TextRange> Find(const MatchOptions& options, std::size_t from,
                                std::size_t to) const {
    try {
      const auto found =
          MakeMatcher(marker_, options)->Find(text_.substr(from, to - from));
      if (!found) return std::nullopt;
      return TextRange{from + found->begin, from + found->end};
    } catch (const PatternTimeout&) {
      return std::nullopt;
    }
  }

  Hint Found(Hint::Kind kind, TextRange at, std::u16string_view how) const {
    const int line = LineAt(text_, at.begin);
    return {kind, end_, line,
            Which() + u" is there at line " + DecimalText(line) + u" " +
                std::u16string(how)};
  }

  std::optional<Hint> LineBreaks() const {
    const auto at = FindWith({.line_breaks_any = true});
    if (!at) return std::nullopt;
    const std::u16string in_text =
        LineBreakKinds(text_.substr(at->begin, at->size()));
    std::u16string how = u"with " + in_text + u" line breaks; the marker has " +
                         LineBreakKinds(marker_);
    return Found(Hint::Kind::kLineBreaks, *at, how);
  }

  std::optional<Hint> LetterCase() const {
    const auto at = FindWith({.line_breaks_any = true, .ignore_case = true});
    if (!at) return std::nullopt;
    std::u16string how = u"in other letter case";
    if (!FindWith({.ignore_case = true})) how += u" and with other line breaks";
    return Found(Hint::Kind::kLetterCase, *at, how);
  }

  std::optional<Hint> Spacing() const {
    const auto at = FindWith({.ignore_case = true, .any_spacing = true});
    if (!at) return std::nullopt;
    std::u16string how = u"with other spacing";
    if (!FindWith({.any_spacing = true})) how += u" and in other letter case";
    return Found(Hint::Kind::kSpacing, *at, how);
  }

  std::optional<Hint> EndBeforeStart(const Cut& cut) const {
    if (!end_) return std::nullopt;
    const auto at = Find(run_.matching, 0, cut.start.end);
    if (!at) return std::nullopt;
    return Found(Hint::Kind::kEndBeforeStart, *at,
                 u"only before the start marker (line " +
                     DecimalText(start_line_) + u")");
  }

 private:
  std::u16string Which() const {
    return end_ ? u"the end marker" : u"the start marker";
  }

  const NearMissRun& run_;
  std::u16string_view text_;
  bool end_;
  std::u16string_view marker_;
  std::size_t from_;
  int start_line_;
};

}  // namespace

std::optional<Hint> FindNearMiss(const NearMissRun& run, std::string_view bytes,
                                 std::u16string_view text, const Cut& cut) {
  if (cut.outcome != FileOutcome::kNoStart &&
      cut.outcome != FileOutcome::kNoEnd) {
    return std::nullopt;
  }
  const Analysis analysis(run, text, cut);
  if (auto hint = analysis.Charsets(bytes)) return hint;
  if (auto hint = analysis.LineBreaks()) return hint;
  if (auto hint = analysis.LetterCase()) return hint;
  if (auto hint = analysis.Spacing()) return hint;
  return analysis.EndBeforeStart(cut);
}

std::string_view HintKindName(Hint::Kind kind) {
  switch (kind) {
    case Hint::Kind::kCharset:
      return "charset";
    case Hint::Kind::kLineBreaks:
      return "line_breaks";
    case Hint::Kind::kLetterCase:
      return "letter_case";
    case Hint::Kind::kSpacing:
      return "spacing";
    case Hint::Kind::kEndBeforeStart:
      break;
  }
  return "end_before_start";
}

}  // namespace vantrel
