#include "extraction/explain/near_miss.h"

#include <unicode/utf8.h>

#include "extraction/match/regex_matcher.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

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

// A pattern's search for a hint may take this share of the time that the
// run's own search of the file may: a file asks for at most two of them
// (the letter case and the end before the start), so that all its checks
// together take a quarter of one search of the run at most.
constexpr int kNearMissTimeShare = 8;

// The charsets a file without a signature may be in, in the order they are
// tried.
constexpr Charset kCharsets[] = {Charset::kUtf8, Charset::kWindows1256,
                                 Charset::kUtf16Le, Charset::kUtf16Be};

bool EightBit(Charset charset) {
  return charset == Charset::kUtf8 || charset == Charset::kWindows1256;
}

// The bytes that `text` stands as in a file in `charset`, as far as they
// tell that a file lacks it: nothing when the file must be decoded to
// tell, empty when no file in that charset holds it.
std::optional<std::string> BytesIn(std::u16string_view text, Charset charset) {
  switch (charset) {
    case Charset::kUtf8: {
      // UTF-8 never decodes to an unpaired surrogate.
      std::string bytes = TextToUtf8(text);
      if (Utf8ToText(bytes) != text) return std::string();
      return bytes;
    }
    case Charset::kWindows1256:
      return SearchableBytes(text, charset);
    case Charset::kUtf16Le:
    case Charset::kUtf16Be:
      break;
  }
  std::string bytes;
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += charset == Charset::kUtf16Le ? low : high;
    bytes += charset == Charset::kUtf16Le ? high : low;
  }
  return bytes;
}

}  // namespace

struct NearMissFinder::Search {
  bool end_marker;
  MatchOptions options;
  std::unique_ptr<Matcher> matcher;
  bool ran_away = false;

  // Where the marker is in `text` from `from` on, seeing the text before
  // it as the run's search does; nothing where the text is used up, as in
  // a cut, and nothing once the search has run away, in any file of the
  // run.
  std::optional<TextRange> In(std::u16string_view text, std::size_t from = 0) {
    if (from >= text.size() || ran_away) return std::nullopt;
    try {
      return matcher->FindFrom(text, from);
    } catch (const PatternTimeout&) {
      ran_away = true;
      return std::nullopt;
    }
  }
};

struct NearMissFinder::Probes {
  struct InCharset {
    Charset charset;
    // The bytes of the marker's literal part in the charset; nothing when
    // only decoding the file tells.
    std::optional<std::string> literal;
  };
  std::vector<InCharset> charsets;  // those a file may hold the marker in
  // For an ASCII literal part, the bytes that both its UTF-16 forms hold
  // (the little-endian one without its last byte): one search rules out
  // both. Empty otherwise.
  std::string utf16_core;
};

NearMissFinder::NearMissFinder(const NearMissRun& run) : run_(run) {}

NearMissFinder::~NearMissFinder() = default;

NearMissFinder::Search& NearMissFinder::SearchFor(bool end_marker,
                                                  const MatchOptions& options) {
  for (const auto& search : searches_) {
    const MatchOptions& o = search->options;
    if (search->end_marker == end_marker &&
        o.line_breaks_any == options.line_breaks_any &&
        o.ignore_case == options.ignore_case &&
        o.any_spacing == options.any_spacing && o.regex == options.regex) {
      return *search;
    }
  }
  const std::u16string_view marker =
      end_marker ? run_.end_marker : run_.start_marker;
  auto search = std::make_unique<Search>();
  search->end_marker = end_marker;
  search->options = options;
  if (options.regex) {
    search->matcher = std::make_unique<RegexMatcher>(
        marker, options.ignore_case, end_marker ? "end" : "start",
        kNearMissTimeShare);
  } else {
    search->matcher = MakeMatcher(marker, options);
  }
  searches_.push_back(std::move(search));
  return *searches_.back();
}

const NearMissFinder::Probes& NearMissFinder::ProbesFor(bool end_marker) {
  auto& probes = probes_[end_marker ? 1 : 0];
  if (probes) return *probes;
  probes = std::make_unique<Probes>();
  // A pattern has no bytes to look for, and decoding every file in every
  // charset to look for it would cost more than the run.
  if (run_.matching.regex) return *probes;
  const std::u16string literal = LiteralPart(
      end_marker ? run_.end_marker : run_.start_marker, run_.matching);
  // Nor would a marker without a literal part.
  if (literal.empty()) return *probes;
  const bool ascii_markers =
      !HasNonAscii(run_.start_marker) && !HasNonAscii(run_.end_marker);
  for (const Charset charset : kCharsets) {
    if (charset == run_.charset) continue;
    // ASCII markers stand as the same bytes in both 8-bit charsets.
    if (ascii_markers && EightBit(charset) && EightBit(run_.charset)) continue;
    std::optional<std::string> bytes = BytesIn(literal, charset);
    if (bytes && bytes->empty()) continue;  // no file in it holds the marker
    probes->charsets.push_back({charset, std::move(bytes)});
  }
  if (!HasNonAscii(literal)) {
    probes->utf16_core = *BytesIn(literal, Charset::kUtf16Le);
    probes->utf16_core.pop_back();
  }
  return *probes;
}

class NearMissFinder::Analysis {
 public:
  Analysis(NearMissFinder& finder, std::u16string_view text,
           const CutResult& cut)
      : finder_(finder),
        run_(finder.run_),
        text_(text),
        cut_(cut),
        end_(cut.outcome == FileOutcome::kNoEnd) {
    marker_ = end_ ? run_.end_marker : run_.start_marker;
    // The end marker is looked for only behind the start marker.
    from_ = end_ ? cut.start.end : 0;
  }

  std::optional<NearMiss> Signature(std::string_view bytes) const {
    const Charset signature = DetectCharset(bytes);
    if (signature != Charset::kWindows1256 && signature != run_.charset) {
      return InCharset(u"starts with a " + Label(signature) + u" signature");
    }
    if (run_.charset == Charset::kWindows1256 && HasNonAscii(marker_) &&
        LooksLikeUtf8(bytes)) {
      return InCharset(u"looks like UTF-8 without a signature");
    }
    return std::nullopt;
  }

  // Whether the file, read in another charset than the run's, has the
  // marker it lacks; a file without a signature is read in the run's.
  std::optional<NearMiss> OtherCharset(std::string_view bytes) const {
    const Probes& probes = finder_.ProbesFor(end_);
    std::optional<bool> utf16_core;
    for (const Probes::InCharset& probe : probes.charsets) {
      if (!EightBit(probe.charset) && !probes.utf16_core.empty()) {
        if (!utf16_core) {
          utf16_core = FindBytes(bytes, probes.utf16_core).has_value();
        }
        if (!*utf16_core) continue;
      }
      if (probe.literal && !FindBytes(bytes, *probe.literal)) continue;
      std::u16string decoded;
      DecodeText(bytes, probe.charset, decoded);
      if (CutsIn(decoded)) {
        return InCharset(u"has " + Which() + u" when read as " +
                         Label(probe.charset));
      }
    }
    return std::nullopt;
  }

  // Whether a cut under the run's rules finds in `text` the marker that
  // the file lacks.
  bool CutsIn(std::u16string_view text) const {
    Search& start = finder_.SearchFor(false, run_.matching);
    const auto start_match = start.In(text);
    if (!start_match) return false;
    if (!end_) return true;
    return finder_.SearchFor(true, run_.matching)
        .In(text, start_match->end)
        .has_value();
  }

  // Whether any of the line breaks, letter case and spacing checks could
  // apply: the marker with all three tolerances at once, which each of
  // them only narrows.
  bool AnyTolerance() {
    return FindWith({.line_breaks_any = true,
                     .ignore_case = true,
                     .any_spacing = true})
        .has_value();
  }

  std::optional<NearMiss> LineBreaks() {
    const MatchOptions mend{.line_breaks_any = true};
    const auto at = FindWith(mend);
    if (!at) return std::nullopt;
    const std::u16string in_text =
        LineBreakKinds(text_.substr(at->begin, at->size()));
    std::u16string how = u"with " + in_text + u" line breaks; the marker has " +
                         LineBreakKinds(marker_);
    return Found(NearMiss::Kind::kLineBreaks, *at, how, mend);
  }

  std::optional<NearMiss> LetterCase() {
    const auto at = FindWith({.line_breaks_any = true, .ignore_case = true});
    if (!at) return std::nullopt;
    std::u16string how = u"in other letter case";
    MatchOptions mend{.ignore_case = true};
    if (!FindWith(mend)) {
      how += u" and with other line breaks";
      mend.line_breaks_any = true;
    }
    return Found(NearMiss::Kind::kLetterCase, *at, how, mend);
  }

  std::optional<NearMiss> Spacing() {
    const auto at = FindWith({.ignore_case = true, .any_spacing = true});
    if (!at) return std::nullopt;
    std::u16string how = u"with other spacing";
    if (!FindWith({.any_spacing = true})) how += u" and in other letter case";
    return Found(NearMiss::Kind::kSpacing, *at, how, {});
  }

  std::optional<NearMiss> EndBeforeStart() const {
    if (!end_) return std::nullopt;
    const auto at = Find(run_.matching, 0, cut_.start.end);
    // An end marker that matches nothing at all (an empty pattern match)
    // would match behind the start as well, were anything there.
    if (!at || at->size() == 0) return std::nullopt;
    return Found(NearMiss::Kind::kEndBeforeStart, *at,
                 u"only before the start marker (line " +
                     DecimalText(LineAt(text_, cut_.start.begin)) + u")",
                 {});
  }

 private:
  // Where the marker is when matched with the run's tolerances and `more`;
  // each search is made once for the file, however many checks ask.
  std::optional<TextRange> FindWith(MatchOptions more) {
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
    const int key = (more.line_breaks_any ? 1 : 0) |
                    (more.ignore_case ? 2 : 0) | (more.any_spacing ? 4 : 0);
    if (!found_[key]) found_[key] = Find(more, from_, text_.size());
    return *found_[key];
  }

  // Where the marker is between `from` and `to`, matched with `options`.
  std::optional<TextRange> Find(const MatchOptions& options, std::size_t from,
                                std::size_t to) const {
    Search& search = finder_.SearchFor(end_, options);
    if (to == text_.size()) return search.In(text_, from);
    const auto found = search.In(text_.substr(from, to - from));
    if (!found) return std::nullopt;
    return TextRange{from + found->begin, from + found->end};
  }

  NearMiss InCharset(const std::u16string& what) const {
    std::u16string sentence =
        what + u", but this run reads every file as " + Label(run_.charset);
    if (!run_.charset_decided_by.empty()) {
      sentence += u", decided by " + DisplayName(run_.charset_decided_by);
    }
    return NearMiss{NearMiss::Kind::kCharset, end_, 0, sentence, {}};
  }

  NearMiss Found(NearMiss::Kind kind, TextRange at, std::u16string_view how,
                 const MatchOptions& mend) const {
    const int line = LineAt(text_, at.begin);
    return {kind, end_, line,
            Which() + u" is there at line " + DecimalText(line) + u" " +
                std::u16string(how),
            mend};
  }

  std::u16string Which() const {
    return end_ ? u"the end marker" : u"the start marker";
  }

  NearMissFinder& finder_;
  const NearMissRun& run_;
  std::u16string_view text_;
  const CutResult& cut_;
  bool end_;
  std::u16string_view marker_;
  std::size_t from_;
  // The searches made, by their tolerances.
  std::optional<std::optional<TextRange>> found_[8];
};

std::optional<NearMiss> NearMissFinder::Find(std::string_view bytes,
                                             std::u16string_view text,
                                             const CutResult& cut) {
  if (cut.outcome != FileOutcome::kNoStart &&
      cut.outcome != FileOutcome::kNoEnd) {
    return std::nullopt;
  }
  Analysis analysis(*this, text, cut);
  // A run that decides each file's charset has no other charset to offer.
  if (!run_.charset_per_file) {
    if (auto hint = analysis.Signature(bytes)) return hint;
    if (auto hint = analysis.OtherCharset(bytes)) return hint;
  }
  if (analysis.AnyTolerance()) {
    if (auto hint = analysis.LineBreaks()) return hint;
    if (auto hint = analysis.LetterCase()) return hint;
    if (auto hint = analysis.Spacing()) return hint;
  }
  return analysis.EndBeforeStart();
}

std::optional<NearMiss> FindNearMiss(const NearMissRun& run,
                                     std::string_view bytes,
                                     std::u16string_view text,
                                     const CutResult& cut) {
  return NearMissFinder(run).Find(bytes, text, cut);
}

std::string_view NearMissKindName(NearMiss::Kind kind) {
  switch (kind) {
    case NearMiss::Kind::kCharset:
      return "charset";
    case NearMiss::Kind::kLineBreaks:
      return "line_breaks";
    case NearMiss::Kind::kLetterCase:
      return "letter_case";
    case NearMiss::Kind::kSpacing:
      return "spacing";
    case NearMiss::Kind::kEndBeforeStart:
      break;
  }
  return "end_before_start";
}

}  // namespace vantrel
