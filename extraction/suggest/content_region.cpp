#include "extraction/suggest/content_region.h"

#include <algorithm>
#include <unordered_map>

#include "extraction/suggest/visible_text.h"

namespace vantrel {
namespace {

// What a page's own word inside a link counts for, beside one outside: the
// title of the next page or a heading in a table of contents is the page's
// own, but not its content.
constexpr double kLinkShare = 0.1;
// What crossing an anchor costs on each page, in words.
constexpr double kGapCost = 3.0;
// A label of the template, a heading such as "Description", has at most
// this many words.
constexpr std::uint32_t kLabelWords = 3;
// The share of the anchors around the content that a page of another
// template holds to count as one in the same frame: its navigation may lack
// a few of them (a page's own shortcuts).
constexpr double kFrameShare = 2.0 / 3.0;

// The indices of the longest strictly increasing run of `values` (not
// necessarily consecutive), in order.
std::vector<std::size_t> LongestIncreasing(
    const std::vector<std::uint32_t>& values) {
  std::vector<std::size_t> tails;  // index of the last value of each length
  std::vector<std::size_t> before(values.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto place = std::lower_bound(
        tails.begin(), tails.end(), values[i],
        [&](std::size_t t, std::uint32_t v) { return values[t] < v; });
    if (place != tails.begin()) before[i] = *(place - 1);
    if (place == tails.end()) {
      tails.push_back(i);
    } else {
      *place = i;
    }
  }
  std::vector<std::size_t> run;
  for (std::size_t i = tails.empty() ? values.size() : tails.back();
       i < values.size(); i = before[i]) {
    run.push_back(i);
  }
  std::reverse(run.begin(), run.end());
  return run;
}

std::uint64_t GapWordKey(std::size_t gap, std::uint64_t word) {
  return (word ^ (gap * 0x9E3779B97F4A7C15ull)) + gap;
}

}  // namespace

TemplateAnchors FindAnchors(
    const std::vector<TokenizedPage>& sample,
    const std::vector<std::size_t>& group,
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>* within) {
  TemplateAnchors anchors;
  anchors.pages = group;
  if (group.empty()) return anchors;
  // Keys that stand once on a page, with their token; a key met twice is
  // marked with the largest index.
  constexpr std::uint32_t kTwice = UINT32_MAX;
  std::vector<std::unordered_map<std::uint64_t, std::uint32_t>> once(
      group.size());
  for (std::size_t j = 0; j < group.size(); ++j) {
    const std::vector<PageToken>& tokens = sample[group[j]].tokens;
    const auto [first, last] =
        within ? (*within)[j]
               : std::pair<std::uint32_t, std::uint32_t>(
                     0, static_cast<std::uint32_t>(tokens.size()));
    once[j].reserve(last - first);
    for (std::uint32_t t = first; t < last; ++t) {
      const auto [place, added] = once[j].try_emplace(tokens[t].key, t);
      if (!added) place->second = kTwice;
    }
  }
  // Anchors in the order of the first page, then only as many as keep one
  // order on every page.
  std::vector<std::vector<std::uint32_t>> at;
  const auto [first, last] =
      within
          ? (*within)[0]
          : std::pair<std::uint32_t, std::uint32_t>(
                0, static_cast<std::uint32_t>(sample[group[0]].tokens.size()));
  for (std::uint32_t t = first; t < last; ++t) {
    const std::uint64_t key = sample[group[0]].tokens[t].key;
    std::vector<std::uint32_t> places;
    for (std::size_t j = 0; j < group.size(); ++j) {
      const auto found = once[j].find(key);
      if (found == once[j].end() || found->second == kTwice) break;
      places.push_back(found->second);
    }
    if (places.size() == group.size()) at.push_back(std::move(places));
  }
  for (std::size_t j = 1; j < group.size() && !at.empty(); ++j) {
    std::vector<std::uint32_t> column;
    for (const auto& places : at) column.push_back(places[j]);
    std::vector<std::vector<std::uint32_t>> kept;
    for (const std::size_t k : LongestIncreasing(column)) {
      kept.push_back(std::move(at[k]));
    }
    at = std::move(kept);
  }
  anchors.at = std::move(at);
  return anchors;
}

std::vector<std::size_t> WithFramePages(
    const std::vector<TokenizedPage>& sample, const TemplateAnchors& anchors,
    double share) {
  if (anchors.at.empty()) return anchors.pages;
  const TokenizedPage& first = sample[anchors.pages[0]];
  std::unordered_map<std::uint64_t, std::uint32_t> wanted;  // key: times seen
  for (const auto& at : anchors.at) wanted[first.tokens[at[0]].key] = 0;
  std::vector<std::size_t> pages;
  for (std::size_t i = 0; i < sample.size(); ++i) {
    if (std::find(anchors.pages.begin(), anchors.pages.end(), i) !=
        anchors.pages.end()) {
      pages.push_back(i);
      continue;
    }
    for (auto& [key, seen] : wanted) seen = 0;
    for (const PageToken& token : sample[i].tokens) {
      const auto found = wanted.find(token.key);
      if (found != wanted.end()) ++found->second;
    }
    std::size_t once = 0;
    for (const auto& [key, seen] : wanted) once += seen == 1;
    if (static_cast<double>(once) >=
        share * static_cast<double>(wanted.size())) {
      pages.push_back(i);
    }
  }
  return pages;
}

std::vector<double> GapScores(const std::vector<TokenizedPage>& sample,
                              const TemplateAnchors& anchors,
                              bool spare_own_words, std::vector<bool>* opening,
                              std::vector<bool>* label) {
  const std::size_t gaps = anchors.at.empty() ? 0 : anchors.at.size() - 1;
  std::vector<double> scores(gaps, 0);
  if (opening) opening->assign(gaps, false);
  if (label) label->assign(gaps, false);
  const std::size_t pages = anchors.pages.size();
  if (gaps == 0 || pages < 2) return scores;
  // The visible words of each gap of each page, and on how many pages each
  // word stands in each gap.
  // The visible text of each gap of each page, token by token, and on how
  // many pages each token stands in each gap. A whole text is compared, not
  // its words: a site of few words still writes each page's sentences anew,
  // while its navigation repeats the same texts.
  struct GapText {
    std::uint32_t gap;
    bool link;
    bool aside;
    std::uint32_t words;
    std::uint64_t key;
  };
  std::vector<std::vector<GapText>> words(pages);
  std::vector<bool> worded(gaps, false);  // some page has words there
  std::unordered_map<std::uint64_t, std::uint32_t> pages_with;
  std::vector<std::uint64_t> scratch, seen;
  for (std::size_t j = 0; j < pages; ++j) {
    const TokenizedPage& page = sample[anchors.pages[j]];
    seen.clear();
    for (std::size_t k = 0; k < gaps; ++k) {
      for (std::uint32_t t = anchors.at[k][j] + 1; t < anchors.at[k + 1][j];
           ++t) {
        const PageToken& token = page.tokens[t];
        if (token.kind != PageToken::Kind::kText) continue;
        scratch.clear();
        AppendWords(std::u16string_view(page.text).substr(
                        token.begin, token.end - token.begin),
                    scratch);
        if (scratch.empty()) continue;
        words[j].push_back(
            {static_cast<std::uint32_t>(k), token.link, token.aside,
             static_cast<std::uint32_t>(scratch.size()), token.key});
        worded[k] = true;
        seen.push_back(GapWordKey(k, token.key));
      }
    }
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    for (const std::uint64_t gap_word : seen) ++pages_with[gap_word];
  }
  // A text on one page only counts +1 a word, a text on every page -1, and
  // those between in proportion; a page's own text in a link counts a
  // fraction, and beside the content (a sidebar, comments) nothing. A
  // common text counts once in a gap however often it stands there: a
  // navigation bar repeats few of its texts, while content may repeat a text
  // common to all pages (a type name in a table of functions) often.
  const double spread = static_cast<double>(pages - 1);
  std::vector<std::uint64_t> counted;
  // Pages with a text of their own in each gap, outside links.
  std::vector<std::size_t> own_pages(gaps, 0);
  std::vector<std::size_t> last_own(gaps, pages);
  // Pages with a text in each gap, outside links, that fewer than half the
  // other pages have there (a title, a byline of a few authors).
  std::vector<std::size_t> rare_pages(gaps, 0);
  std::vector<std::size_t> last_rare(gaps, pages);
  // The most words a page has in each gap, and whether some page has text
  // in a link or beside the content there.
  std::vector<std::uint32_t> most_words(gaps, 0);
  std::vector<bool> linked(gaps, false);
  std::vector<std::uint32_t> page_words(gaps, 0);
  for (std::size_t j = 0; j < pages; ++j) {
    counted.clear();
    for (const GapText& word : words[j]) page_words[word.gap] = 0;
    for (const GapText& word : words[j]) {
      page_words[word.gap] += word.words;
      most_words[word.gap] =
          std::max(most_words[word.gap], page_words[word.gap]);
      if (word.link || word.aside) linked[word.gap] = true;
    }
    for (const GapText& word : words[j]) {
      const std::uint64_t key = GapWordKey(word.gap, word.key);
      const double others = pages_with[key] - 1.0;
      const double score = 1.0 - 2.0 * others / spread;
      if (others == 0 && !word.link && !word.aside && last_own[word.gap] != j) {
        last_own[word.gap] = j;
        ++own_pages[word.gap];
      }
      if (score > 0 && !word.link && !word.aside && last_rare[word.gap] != j) {
        last_rare[word.gap] = j;
        ++rare_pages[word.gap];
      }
      const double weight = score * word.words;
      if (score > 0) {
        if (!word.aside) {
          scores[word.gap] += word.link ? weight * kLinkShare : weight;
        }
      } else if (std::find(counted.begin(), counted.end(), key) ==
                 counted.end()) {
        counted.push_back(key);
        scores[word.gap] += weight;
      }
    }
  }
  for (std::size_t k = 0; k < gaps; ++k) {
    // Each gap costs, so that a region does not reach over template to take
    // in a few words of a page's own (a title); inside an edge, only a gap
    // with words does, and not one with texts of most pages' own.
    const bool own_line = !worded[k] || 2 * own_pages[k] >= pages;
    if (opening) (*opening)[k] = own_line || 2 * rare_pages[k] >= pages;
    if (label) {
      (*label)[k] = worded[k] && own_pages[k] == 0 && rare_pages[k] == 0 &&
                    !linked[k] && most_words[k] <= kLabelWords;
    }
    if (spare_own_words && own_line) continue;
    scores[k] -= kGapCost * static_cast<double>(pages);
  }
  return scores;
}

std::optional<Region> BestRegion(
    const std::vector<double>& scores,
    std::optional<std::pair<std::size_t, std::size_t>> cover) {
  if (scores.empty()) return std::nullopt;
  if (cover) {
    // The best stretch to the left of the covered gaps and to their right,
    // each only when it adds.
    const auto [lo, hi] = *cover;
    Region region{lo, hi + 1};
    double sum = 0, best = 0;
    for (std::size_t k = lo; k-- > 0;) {
      sum += scores[k];
      if (sum > best) best = sum, region.first = k;
    }
    sum = best = 0;
    for (std::size_t k = hi + 1; k < scores.size(); ++k) {
      sum += scores[k];
      if (sum > best) best = sum, region.last = k + 1;
    }
    return region;
  }
  std::optional<Region> best;
  double best_sum = 0, sum = 0;
  std::size_t first = 0;
  for (std::size_t k = 0; k < scores.size(); ++k) {
    if (sum <= 0) sum = 0, first = k;
    sum += scores[k];
    if (sum > best_sum) best_sum = sum, best = Region{first, k + 1};
  }
  return best;
}

Region WidenOverOwnLines(const std::vector<TokenizedPage>& sample,
                         const TemplateAnchors& anchors, Region region) {
  std::vector<bool> opening, label;
  const std::vector<double> scores =
      GapScores(sample, anchors, true, &opening, &label);
  double sum = 0, best = 0;
  // Before the content, a label of the template (a "Module" heading between
  // a reference page's title and the item's name) is crossed for the
  // opening lines before it, and costs nothing: the title heads the
  // content. Only where those lines add words does the region reach it.
  for (std::size_t k = region.first; k-- > 0 && (opening[k] || label[k]);) {
    if (!opening[k]) continue;
    sum += scores[k];
    if (sum > best) best = sum, region.first = k;
  }
  sum = best = 0;
  for (std::size_t k = region.last; k < scores.size() && opening[k]; ++k) {
    sum += scores[k];
    if (sum > best) best = sum, region.last = k + 1;
  }
  return region;
}

namespace {

// Adds the anchors found inside gap `gap` after anchor `gap`; returns how
// many.
std::size_t SplitGap(const std::vector<TokenizedPage>& sample,
                     TemplateAnchors& anchors, std::size_t gap) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> within;
  for (std::size_t j = 0; j < anchors.pages.size(); ++j) {
    within.emplace_back(anchors.at[gap][j] + 1, anchors.at[gap + 1][j]);
  }
  TemplateAnchors inside = FindAnchors(sample, anchors.pages, &within);
  anchors.at.insert(anchors.at.begin() + static_cast<std::ptrdiff_t>(gap) + 1,
                    inside.at.begin(), inside.at.end());
  return inside.at.size();
}

}  // namespace

Region TrimEdges(const std::vector<TokenizedPage>& sample,
                 TemplateAnchors& anchors, Region region) {
  // The gaps that were the first edge gap, and those that were the last.
  const std::size_t first_split = SplitGap(sample, anchors, region.first);
  region.last += first_split;
  std::size_t last_begin = region.first;
  if (region.last - region.first > first_split + 1) {
    last_begin = region.last - 1;
    region.last += SplitGap(sample, anchors, region.last - 1);
  }
  // A gap at the edge with words of most pages' own, outside links (a
  // title), is not charged for: it stays unless those words are outweighed.
  const std::vector<double> scores = GapScores(sample, anchors, true);
  // An anchor that is text ("Home", "Next") is template text on every page:
  // a region that takes it in pays for its words as for common text.
  const auto crossing = [&](std::size_t k) {
    const TokenizedPage& page = sample[anchors.pages[0]];
    const PageToken& token = page.tokens[anchors.at[k][0]];
    if (token.kind != PageToken::Kind::kText) return 0.0;
    std::vector<std::uint64_t> words;
    AppendWords(std::u16string_view(page.text).substr(token.begin,
                                                      token.end - token.begin),
                words);
    return static_cast<double>(words.size() * anchors.pages.size());
  };
  // The start that keeps the most of the first edge's score, then the end
  // that keeps the most of the last edge's.
  double best = 0, sum = 0;
  std::size_t start = region.first;
  for (std::size_t k = region.first + first_split + 1; k-- > region.first;) {
    sum += scores[k];
    if (k + 1 < region.last) sum -= crossing(k + 1);
    if (sum >= best) best = sum, start = k;
  }
  region.first = start;
  last_begin = std::max(last_begin, start);
  best = sum = 0;
  std::size_t end = region.last;
  for (std::size_t k = last_begin; k < region.last; ++k) {
    sum += scores[k];
    if (k > start) sum -= crossing(k);
    if (sum >= best) best = sum, end = k + 1;
  }
  region.last = end;
  return region;
}

Region WidenOverTags(const std::vector<TokenizedPage>& sample,
                     const TemplateAnchors& anchors, Region region) {
  const auto textless = [&](std::size_t gap) {
    for (std::size_t j = 0; j < anchors.pages.size(); ++j) {
      const std::vector<PageToken>& tokens = sample[anchors.pages[j]].tokens;
      for (std::uint32_t t = anchors.at[gap][j] + 1; t < anchors.at[gap + 1][j];
           ++t) {
        if (tokens[t].kind == PageToken::Kind::kText) return false;
      }
    }
    return true;
  };
  while (region.first > 0 && textless(region.first - 1)) --region.first;
  while (region.last + 1 < anchors.at.size() && textless(region.last)) {
    ++region.last;
  }
  return region;
}

std::optional<FramedRegion> FrameRegion(
    const std::vector<TokenizedPage>& sample, const TemplateAnchors& anchors,
    Region region, const TemplateAnchors& trimmed_anchors, Region trimmed) {
  // The pages that hold the group's anchors outside the content and the
  // tags around it.
  const Region widened = WidenOverTags(sample, anchors, region);
  TemplateAnchors outside;
  outside.pages = anchors.pages;
  for (std::size_t k = 0; k < anchors.at.size(); ++k) {
    if (k <= widened.first || k >= widened.last) {
      outside.at.push_back(anchors.at[k]);
    }
  }
  const std::vector<std::size_t> pages =
      WithFramePages(sample, outside, kFrameShare);
  if (pages.size() <= anchors.pages.size()) return std::nullopt;
  FramedRegion framed{FindAnchors(sample, pages), {}, {}};
  const TemplateAnchors& frame = framed.anchors;
  if (frame.at.size() < 2) return std::nullopt;
  // Where each of the group's pages stands among the frame's pages.
  const std::vector<std::size_t>& group = trimmed_anchors.pages;
  std::vector<std::size_t> in_frame;
  for (const std::size_t page : group) {
    in_frame.push_back(static_cast<std::size_t>(
        std::find(frame.pages.begin(), frame.pages.end(), page) -
        frame.pages.begin()));
  }
  // The frame's anchors around the content on the group's first page.
  const std::uint32_t content_first = trimmed_anchors.at[trimmed.first][0];
  const std::uint32_t content_last = trimmed_anchors.at[trimmed.last][0];
  std::optional<std::size_t> first, last;
  for (std::size_t k = 0; k < frame.at.size(); ++k) {
    const std::uint32_t at = frame.at[k][in_frame[0]];
    if (at <= content_first) first = k;
    if (!last && at >= content_last) last = k;
  }
  if (!first || !last || *first >= *last) return std::nullopt;
  const auto has_text = [&](const TokenizedPage& page, std::uint32_t from,
                            std::uint32_t to, auto&& counts) {
    for (std::uint32_t t = from; t < to; ++t) {
      const PageToken& token = page.tokens[t];
      if (token.kind == PageToken::Kind::kText && counts(token)) return true;
    }
    return false;
  };
  const auto any = [](const PageToken&) { return true; };
  // The same text on the group's pages: only tags between the frame's
  // anchors and the content's (an anchor of text counts as text).
  for (std::size_t j = 0; j < group.size(); ++j) {
    const TokenizedPage& page = sample[group[j]];
    const std::uint32_t before = frame.at[*first][in_frame[j]];
    const std::uint32_t start = trimmed_anchors.at[trimmed.first][j];
    const std::uint32_t end = trimmed_anchors.at[trimmed.last][j];
    const std::uint32_t behind = frame.at[*last][in_frame[j]];
    if (before > start || end > behind) return std::nullopt;
    if (has_text(page, before + 1, start + (before < start ? 1 : 0), any) ||
        has_text(page, end, behind, any)) {
      return std::nullopt;
    }
  }
  // As far out as only tags lie between on the group's pages. Moving an
  // edge from anchor `inner` to anchor `outer` takes in the tokens between
  // them and `inner` itself.
  const auto tags_only = [&](std::size_t inner, std::size_t outer) {
    for (std::size_t j = 0; j < group.size(); ++j) {
      const std::uint32_t a = frame.at[inner][in_frame[j]];
      const std::uint32_t b = frame.at[outer][in_frame[j]];
      if (has_text(sample[group[j]], std::min(a, b + 1), std::max(a + 1, b),
                   any)) {
        return false;
      }
    }
    return true;
  };
  framed.region = framed.widest = {*first, *last};
  Region& widest = framed.widest;
  while (widest.first > 0 && tags_only(widest.first, widest.first - 1)) {
    --widest.first;
  }
  while (widest.last + 1 < frame.at.size() &&
         tags_only(widest.last, widest.last + 1)) {
    ++widest.last;
  }
  // Text of the other pages' own, outside links and navigation, on most
  // of them: on one page only, not a heading that index pages share.
  std::unordered_map<std::uint64_t, std::size_t> pages_with;
  std::vector<std::size_t> others;
  for (std::size_t jf = 0; jf < frame.pages.size(); ++jf) {
    if (std::find(group.begin(), group.end(), frame.pages[jf]) != group.end()) {
      continue;
    }
    others.push_back(jf);
    const TokenizedPage& page = sample[frame.pages[jf]];
    std::vector<std::uint64_t> keys;
    for (std::uint32_t t = frame.at[*first][jf] + 1; t < frame.at[*last][jf];
         ++t) {
      if (page.tokens[t].kind == PageToken::Kind::kText) {
        keys.push_back(page.tokens[t].key);
      }
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const std::uint64_t key : keys) ++pages_with[key];
  }
  std::size_t with_own = 0;
  for (const std::size_t jf : others) {
    const auto own = [&](const PageToken& token) {
      return !token.link && !token.aside && pages_with[token.key] == 1;
    };
    with_own += has_text(sample[frame.pages[jf]], frame.at[*first][jf] + 1,
                         frame.at[*last][jf], own);
  }
  if (2 * with_own <= others.size()) return std::nullopt;
  return framed;
}

namespace {

// Whether a text has words as a browser shows it: a non-breaking space,
// written as a character reference or not, has none.
bool HasWords(const TokenizedPage& page, const PageToken& token) {
  const std::size_t size = token.end - token.begin;
  std::vector<std::uint64_t> words;
  AppendWords(
      PreviewOf(std::u16string_view(page.text).substr(token.begin, size), size),
      words);
  return !words.empty();
}

// Where the region opens, on at least half the pages, with links of the
// template (a navigation header's "Next", which the last page lacks), the
// content's start moves behind them on every page: over the tags, links of
// the template and texts without words (a non-breaking space) that open
// the region, then over the end tags and empty elements that close them.
void PastLeadingLinks(const TemplateAnchors& anchors, Region region,
                      std::vector<PagePlace>& places) {
  const std::size_t pages = places.size();
  // The link texts with words that open the region on each page, before
  // its first other text with words.
  std::vector<std::vector<std::uint64_t>> opening(pages);
  std::unordered_map<std::uint64_t, std::size_t> pages_with;
  for (std::size_t j = 0; j < pages; ++j) {
    const TokenizedPage& page = *places[j].page;
    for (std::uint32_t t = anchors.at[region.first][j] + 1;
         t < anchors.at[region.last][j]; ++t) {
      const PageToken& token = page.tokens[t];
      if (token.kind != PageToken::Kind::kText || !HasWords(page, token)) {
        continue;
      }
      if (!token.link) break;
      opening[j].push_back(token.key);
    }
    std::sort(opening[j].begin(), opening[j].end());
    opening[j].erase(std::unique(opening[j].begin(), opening[j].end()),
                     opening[j].end());
    for (const std::uint64_t key : opening[j]) ++pages_with[key];
  }
  const auto of_template = [&](std::uint64_t key) {
    return 2 * pages_with[key] >= pages;
  };
  if (std::none_of(
          pages_with.begin(), pages_with.end(),
          [&](const auto& entry) { return of_template(entry.first); })) {
    return;
  }
  for (std::size_t j = 0; j < pages; ++j) {
    const TokenizedPage& page = *places[j].page;
    const std::uint32_t last = anchors.at[region.last][j];
    std::uint32_t behind = anchors.at[region.first][j] + 1;
    for (std::uint32_t t = behind; t < last; ++t) {
      const PageToken& token = page.tokens[t];
      if (token.kind != PageToken::Kind::kText) continue;
      if (HasWords(page, token) && !(token.link && of_template(token.key))) {
        break;
      }
      behind = t + 1;
    }
    for (; behind < last; ++behind) {
      const PageToken& token = page.tokens[behind];
      if (token.kind != PageToken::Kind::kTag) break;
      bool closing = false;
      const std::u16string name =
          TagName(std::u16string_view(page.text).substr(
                      token.begin, token.end - token.begin),
                  closing);
      if (!closing && !name.empty()) break;
    }
    if (behind < last) places[j].start = page.tokens[behind].begin;
  }
}

}  // namespace

std::vector<PagePlace> PlacesOf(const std::vector<TokenizedPage>& sample,
                                const TemplateAnchors& anchors, Region region) {
  const std::size_t pages = anchors.pages.size();
  std::vector<PagePlace> places(pages);
  for (std::size_t j = 0; j < pages; ++j) {
    const TokenizedPage& page = sample[anchors.pages[j]];
    const PageToken& before = page.tokens[anchors.at[region.first][j]];
    const PageToken& behind = page.tokens[anchors.at[region.last][j]];
    places[j] = {&page, before.begin, before.end, behind.begin, behind.end};
  }
  PastLeadingLinks(anchors, region, places);
  // How far the text after the anchor before is the same on every page,
  // and the text before the anchor behind.
  const auto text = [&](std::size_t j) -> std::u16string_view {
    return places[j].page->text;
  };
  std::size_t same_after = places[0].end - places[0].start;
  std::size_t same_before = same_after;
  for (std::size_t j = 1; j < pages; ++j) {
    const std::u16string_view a = text(0), b = text(j);
    const std::size_t room =
        std::min(same_after, places[j].end - places[j].start);
    std::size_t n = 0;
    while (n < room && a[places[0].start + n] == b[places[j].start + n]) ++n;
    same_after = n;
    const std::size_t back =
        std::min(same_before, places[j].end - places[j].start);
    n = 0;
    while (n < back && a[places[0].end - 1 - n] == b[places[j].end - 1 - n]) {
      ++n;
    }
    same_before = n;
  }
  // The tags of the first page that lie wholly in those stretches, from
  // the anchors inwards, with no text between.
  const TokenizedPage& first = *places[0].page;
  std::size_t inward_start = 0, inward_end = 0;
  for (std::uint32_t t = anchors.at[region.first][0] + 1;
       t < anchors.at[region.last][0]; ++t) {
    const PageToken& token = first.tokens[t];
    if (token.begin < places[0].start) continue;  // links passed over
    if (token.kind != PageToken::Kind::kTag ||
        token.end > places[0].start + same_after) {
      break;
    }
    inward_start = token.end - places[0].start;
  }
  for (std::uint32_t t = anchors.at[region.last][0];
       t-- > anchors.at[region.first][0] + 1;) {
    const PageToken& token = first.tokens[t];
    if (token.kind != PageToken::Kind::kTag ||
        token.begin < places[0].end - same_before ||
        token.begin < places[0].start + inward_start) {
      break;
    }
    inward_end = places[0].end - token.begin;
  }
  for (PagePlace& place : places) {
    place.start += inward_start;
    place.end -= inward_end;
  }
  return places;
}

namespace {

// On each page, the first text of the run of template text (text that
// stands on at least `most` pages) that closes it after the token `after`,
// where own text stands before that run; the pages whose run opens with the
// same text as on the most pages, when those are at least `most`, with the
// content's end at that text.
std::vector<PagePlace> ClosedPlaces(
    const std::vector<PagePlace>& places, const std::vector<std::size_t>& after,
    const std::unordered_map<std::uint64_t, std::size_t>& pages_with,
    std::size_t most) {
  const auto is_template = [&](const PageToken& token) {
    const auto found = pages_with.find(token.key);
    return found != pages_with.end() && found->second >= most;
  };
  std::vector<std::optional<std::size_t>> closing(places.size());
  std::unordered_map<std::uint64_t, std::size_t> pages_closed_by;
  for (std::size_t j = 0; j < places.size(); ++j) {
    const std::vector<PageToken>& tokens = places[j].page->tokens;
    std::optional<std::size_t> run;
    bool own_before = false;
    for (std::size_t t = tokens.size(); t-- > after[j] + 1;) {
      if (tokens[t].kind != PageToken::Kind::kText) continue;
      if (!is_template(tokens[t])) {
        own_before = true;
        break;
      }
      run = t;
    }
    if (!run || !own_before) continue;
    closing[j] = run;
    ++pages_closed_by[tokens[*run].key];
  }
  std::uint64_t key = 0;
  std::size_t count = 0;
  for (const auto& [k, n] : pages_closed_by) {
    if (n > count || (n == count && k < key)) key = k, count = n;
  }
  if (count < most) return {};
  std::vector<std::size_t> closed;  // indices into places
  for (std::size_t j = 0; j < places.size(); ++j) {
    if (closing[j] && places[j].page->tokens[*closing[j]].key == key) {
      closed.push_back(j);
    }
  }
  // The tags right before that text that every closed page has there, the
  // same with the white space between them.
  const auto before = [&](std::size_t j, std::size_t n) {
    const std::vector<PageToken>& tokens = places[j].page->tokens;
    return std::u16string_view(places[j].page->text)
        .substr(tokens[*closing[j] - n].begin,
                tokens[*closing[j]].begin - tokens[*closing[j] - n].begin);
  };
  std::size_t back = 0;
  for (;; ++back) {
    bool all = true;
    for (std::size_t c = 0; c < closed.size() && all; ++c) {
      const std::size_t j = closed[c];
      const std::size_t t = *closing[j] - back - 1;
      all = t > after[j] &&
            places[j].page->tokens[t].kind == PageToken::Kind::kTag &&
            before(j, back + 1) == before(closed[0], back + 1);
    }
    if (!all) break;
  }
  std::vector<PagePlace> ends;
  for (const std::size_t j : closed) {
    PagePlace place = places[j];
    place.end = place.page->tokens[*closing[j] - back].begin;
    ends.push_back(place);
  }
  return ends;
}

}  // namespace

std::optional<ContentToEnd> TailPlaces(const std::vector<TokenizedPage>& sample,
                                       const TemplateAnchors& anchors) {
  const std::size_t pages = anchors.pages.size();
  if (anchors.at.empty() || pages < 2) return std::nullopt;
  const auto page_of = [&](std::size_t j) -> const TokenizedPage& {
    return sample[anchors.pages[j]];
  };
  // The text from the anchor's end to the end of its `n`th tag after it.
  const auto after = [&](std::size_t j, std::size_t n) {
    const TokenizedPage& page = page_of(j);
    const std::size_t last = anchors.at.back()[j];
    return std::u16string_view(page.text).substr(
        page.tokens[last].end,
        page.tokens[last + n].end - page.tokens[last].end);
  };
  // The tags right after the last anchor that are the same on every page,
  // and the white space between them too.
  std::size_t same = 0;
  for (;; ++same) {
    bool all = true;
    for (std::size_t j = 0; j < pages && all; ++j) {
      const std::size_t t = anchors.at.back()[j] + 1 + same;
      all = t < page_of(j).tokens.size() &&
            page_of(j).tokens[t].kind == PageToken::Kind::kTag &&
            after(j, same + 1) == after(0, same + 1);
    }
    if (!all) break;
  }
  // Texts after it, and on how many pages each stands.
  std::unordered_map<std::uint64_t, std::size_t> pages_with;
  for (std::size_t j = 0; j < pages; ++j) {
    std::vector<std::uint64_t> keys;
    const std::vector<PageToken>& tokens = page_of(j).tokens;
    for (std::size_t t = anchors.at.back()[j] + 1; t < tokens.size(); ++t) {
      if (tokens[t].kind == PageToken::Kind::kText)
        keys.push_back(tokens[t].key);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const std::uint64_t key : keys) ++pages_with[key];
  }
  ContentToEnd tail;
  std::vector<std::size_t> last_before;  // the last token before the content
  std::size_t with_own = 0;
  for (std::size_t j = 0; j < pages; ++j) {
    const TokenizedPage& page = page_of(j);
    const std::size_t last = anchors.at.back()[j];
    bool own = false;
    for (std::size_t t = last + 1; t < page.tokens.size() && !own; ++t) {
      const PageToken& token = page.tokens[t];
      own = token.kind == PageToken::Kind::kText && !token.link &&
            !token.aside && pages_with[token.key] == 1;
    }
    with_own += own;
    const std::size_t start = page.tokens[last + same].end;
    tail.places.push_back({&page, page.tokens[last].begin, start,
                           page.text.size(), page.text.size()});
    last_before.push_back(last + same);
  }
  if (2 * with_own <= pages) return std::nullopt;
  tail.closed =
      ClosedPlaces(tail.places, last_before, pages_with, (3 * pages + 3) / 4);
  return tail;
}

std::optional<std::size_t> GapAt(const std::vector<TokenizedPage>& sample,
                                 const TemplateAnchors& anchors, std::size_t j,
                                 std::size_t at) {
  const TokenizedPage& page = sample[anchors.pages[j]];
  std::optional<std::size_t> gap;
  for (std::size_t k = 0; k < anchors.at.size(); ++k) {
    if (page.tokens[anchors.at[k][j]].end > at) break;
    gap = k;
  }
  return gap;
}

}  // namespace vantrel
