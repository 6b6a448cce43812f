#include "extraction/suggest/marker_making.h"

#include <algorithm>

#include "extraction/match/marker_search.h"
#include "extraction/match/regex_matcher.h"

namespace vantrel {
namespace {

// Markers are made of the template text around the content, as far as it is
// the same on every page; no further than this.
constexpr std::size_t kFarthest = 2048;
// A pattern takes in at most this many tags beside the content.
constexpr std::size_t kPatternTags = 4;

// One side of a pair: a literal, or a pattern.
struct Marker {
  std::u16string text;
  bool pattern = false;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// `text` as a pattern in which every run of digits matches any run of
// digits, and with `any_values`, every quoted attribute value any value.
std::u16string LoosePattern(std::u16string_view text, bool any_values) {
  std::u16string pattern;
  bool in_tag = false;
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c == u'<') in_tag = true;
    if (c == u'>') in_tag = false;
    if (any_values && in_tag && c == u'"') {
      const std::size_t close = text.find(u'"', i + 1);
      if (close != std::u16string_view::npos) {
        pattern += u"\"[^\"]*\"";
        i = close + 1;
        continue;
      }
    }
    if (IsDigit(c)) {
      while (i < text.size() && IsDigit(text[i])) ++i;
      pattern += u"\\d+";
      continue;
    }
    pattern += EscapedForPattern(text.substr(i, 1));
    ++i;
  }
  return pattern;
}

// Whether the pattern's first match on every page ends (start) or begins
// (end, looked for behind the content's start) at the place.
bool PatternFinds(const std::u16string& pattern,
                  const std::vector<PagePlace>& places, bool start) {
  if (PatternError(pattern, false)) return false;
  try {
    const RegexMatcher matcher(pattern, false, start ? "start" : "end");
    for (const PagePlace& place : places) {
      const std::u16string_view text = place.page->text;
      if (start) {
        const auto found = matcher.Find(text);
        if (!found || found->end != place.start) return false;
      } else {
        const auto found = matcher.FindFrom(text, place.start);
        if (!found || found->begin != place.end) return false;
      }
    }
    return true;
  } catch (const RunError&) {
    return false;  // a pattern that runs away is no marker
  }
}

// How many units before `at` (or from it) the pages' texts agree.
std::size_t SameBefore(const std::vector<PagePlace>& places) {
  std::size_t same = std::min(places[0].start, kFarthest);
  const std::u16string_view first = places[0].page->text;
  for (const PagePlace& place : places) {
    const std::u16string_view text = place.page->text;
    std::size_t n = 0;
    while (n < same && n < place.start &&
           text[place.start - 1 - n] == first[places[0].start - 1 - n]) {
      ++n;
    }
    same = n;
  }
  return same;
}

std::size_t SameAfter(const std::vector<PagePlace>& places) {
  const std::u16string_view first = places[0].page->text;
  std::size_t same = std::min(first.size() - places[0].end, kFarthest);
  for (const PagePlace& place : places) {
    const std::u16string_view text = place.page->text;
    std::size_t n = 0;
    while (n < same && place.end + n < text.size() &&
           text[place.end + n] == first[places[0].end + n]) {
      ++n;
    }
    same = n;
  }
  return same;
}

std::optional<Marker> StartMarker(const std::vector<PagePlace>& places,
                                  MarkerReach reach) {
  const TokenizedPage& page = *places[0].page;
  const std::u16string_view text = page.text;
  const std::size_t start = places[0].start;
  if (start == 0 || text[start - 1] != u'>') return std::nullopt;
  const std::size_t same = SameBefore(places);
  // The tags before the content, nearest first.
  std::vector<std::size_t> tag_begins;
  for (auto t = page.tokens.rbegin(); t != page.tokens.rend(); ++t) {
    if (t->end > start) continue;
    if (t->kind == PageToken::Kind::kTag) tag_begins.push_back(t->begin);
    if (tag_begins.size() > kPatternTags && start - t->begin > same) break;
  }
  for (const std::size_t begin : tag_begins) {
    if (start - begin > same) break;
    if (reach == MarkerReach::kWholeAnchors && begin > places[0].frame_begin) {
      continue;
    }
    const std::u16string_view marker = text.substr(begin, start - begin);
    const bool found_everywhere =
        std::all_of(places.begin(), places.end(), [&](const PagePlace& p) {
          const auto found = FindMarker(p.page->text, marker);
          return found && found->end == p.start;
        });
    if (found_everywhere) return Marker{std::u16string(marker)};
  }
  // No literal: the same tags with what varies in them let vary.
  for (const bool any_values : {false, true}) {
    for (std::size_t n = 0; n < tag_begins.size() && n < kPatternTags; ++n) {
      if (reach == MarkerReach::kWholeAnchors &&
          tag_begins[n] > places[0].frame_begin) {
        continue;
      }
      const std::u16string pattern = LoosePattern(
          text.substr(tag_begins[n], start - tag_begins[n]), any_values);
      if (PatternFinds(pattern, places, true)) return Marker{pattern, true};
    }
  }
  return std::nullopt;
}

std::optional<Marker> EndMarker(const std::vector<PagePlace>& places,
                                MarkerReach reach) {
  const TokenizedPage& page = *places[0].page;
  const std::u16string_view text = page.text;
  const std::size_t end = places[0].end;
  if (end >= text.size() || text[end] != u'<') return std::nullopt;
  const std::size_t same = SameAfter(places);
  // The ends of the tags behind the content, nearest first.
  std::vector<std::size_t> tag_ends;
  for (const PageToken& token : page.tokens) {
    if (token.begin < end) continue;
    if (token.kind == PageToken::Kind::kTag) tag_ends.push_back(token.end);
    if (tag_ends.size() > kPatternTags && token.end - end > same) break;
  }
  for (const std::size_t tag_end : tag_ends) {
    if (tag_end - end > same) break;
    if (reach == MarkerReach::kWholeAnchors && tag_end < places[0].frame_end) {
      continue;
    }
    const std::u16string_view marker = text.substr(end, tag_end - end);
    const bool found_everywhere =
        std::all_of(places.begin(), places.end(), [&](const PagePlace& p) {
          const auto found = FindMarker(
              std::u16string_view(p.page->text).substr(p.start), marker);
          return found && p.start + found->begin == p.end;
        });
    if (found_everywhere) return Marker{std::u16string(marker)};
  }
  for (const bool any_values : {false, true}) {
    for (std::size_t n = 0; n < tag_ends.size() && n < kPatternTags; ++n) {
      if (reach == MarkerReach::kWholeAnchors &&
          tag_ends[n] < places[0].frame_end) {
        continue;
      }
      const std::u16string pattern =
          LoosePattern(text.substr(end, tag_ends[n] - end), any_values);
      if (PatternFinds(pattern, places, false)) return Marker{pattern, true};
    }
  }
  return std::nullopt;
}

}  // namespace

std::u16string EscapedForPattern(std::u16string_view text) {
  std::u16string escaped;
  for (const char16_t c : text) {
    if (std::u16string_view(u"\\^$.|?*+()[]{}").find(c) !=
        std::u16string_view::npos) {
      escaped += u'\\';
    }
    escaped += c;
  }
  return escaped;
}

std::optional<MarkerPair> EndTakenFurther(
    const MarkerPair& pair, const std::vector<TokenizedPage>& sample,
    const std::vector<std::size_t>& pages) {
  if (pair.regex || pages.empty()) return std::nullopt;
  // Where the end marker stands behind the start on each page.
  std::vector<std::pair<const TokenizedPage*, std::size_t>> ends;
  for (const std::size_t i : pages) {
    const std::u16string_view text = sample[i].text;
    const auto start = FindMarker(text, pair.start);
    if (!start) return std::nullopt;
    const auto end = FindMarker(text.substr(start->end), pair.end);
    if (!end) return std::nullopt;
    ends.emplace_back(&sample[i], start->end + end->begin);
  }
  // How far the text from there is the same on every page.
  const std::u16string_view first = ends[0].first->text;
  std::size_t same = std::min(first.size() - ends[0].second, kFarthest);
  for (const auto& [page, at] : ends) {
    const std::u16string_view text = page->text;
    std::size_t n = 0;
    while (n < same && at + n < text.size() &&
           text[at + n] == first[ends[0].second + n]) {
      ++n;
    }
    same = n;
  }
  // The end marker and the tags after it within that, up to a few.
  std::size_t end = ends[0].second + pair.end.size(), tags = 0;
  for (const PageToken& token : ends[0].first->tokens) {
    if (token.begin < ends[0].second + pair.end.size()) continue;
    if (token.end - ends[0].second > same || tags == kPatternTags) break;
    if (token.kind == PageToken::Kind::kTag) {
      end = token.end;
      ++tags;
    }
  }
  if (tags == 0) return std::nullopt;
  MarkerPair further = pair;
  further.end =
      std::u16string(first.substr(ends[0].second, end - ends[0].second));
  return further;
}

std::optional<MarkerPair> MarkersToEnd(const std::vector<PagePlace>& places,
                                       const std::vector<PagePlace>& closed) {
  if (places.empty()) return std::nullopt;
  const std::optional<Marker> start =
      StartMarker(places, MarkerReach::kShortest);
  if (!start) return std::nullopt;
  std::u16string end(kEndOfFilePattern);
  if (const std::optional<Marker> closing =
          closed.empty() ? std::nullopt
                         : EndMarker(closed, MarkerReach::kShortest)) {
    end =
        u"(?:" +
        (closing->pattern ? closing->text : EscapedForPattern(closing->text)) +
        u"|" + end + u")";
  }
  return MarkerPair{
      start->pattern ? start->text : EscapedForPattern(start->text),
      end,
      true,
      {}};
}

std::optional<MarkerPair> MarkersFor(const std::vector<PagePlace>& places,
                                     MarkerReach reach) {
  if (places.empty()) return std::nullopt;
  const std::optional<Marker> start = StartMarker(places, reach);
  if (!start) return std::nullopt;
  const std::optional<Marker> end = EndMarker(places, reach);
  if (!end) return std::nullopt;
  if (!start->pattern && !end->pattern)
    return MarkerPair{start->text, end->text, false, {}};
  return MarkerPair{
      start->pattern ? start->text : EscapedForPattern(start->text),
      end->pattern ? end->text : EscapedForPattern(end->text),
      true,
      {}};
}

}  // namespace vantrel
