#include "extraction/suggest/marker_suggestion.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <tuple>

#include "extraction/suggest/around_text.h"
#include "extraction/suggest/content_region.h"
#include "extraction/suggest/landmarks.h"
#include "extraction/suggest/own_text.h"
#include "extraction/suggest/page_tokens.h"
#include "extraction/suggest/suggestion_messages.h"
#include "extraction/suggest/template_groups.h"
#include "extraction/suggest/visible_text.h"

namespace vantrel {
namespace {

constexpr std::size_t kMostPairs = 3;
// The share of a group's anchors that a page holds to count as one of the
// group's template whose content looked unlike the pages compared first.
constexpr double kSameTemplateShare = 0.9;
// A suggestion around text compares fewer pages where they are large (a
// reference manual's pages of 300 KB): the template around the text needs
// only a few to show. Pages that are small are compared as many as for the
// pages alone where so many of the largest fit in kAroundSampleUnits: ends
// made from a few pages miss those whose content closes otherwise (a
// product without reviews). Every pair is still checked on every file.
constexpr std::size_t kAroundSamplePages = 16;
constexpr std::size_t kAroundSampleUnits = std::size_t{1} << 22;
// A suggestion around text tries the element that holds it and a few of
// those around it.
constexpr std::size_t kElements = 4;
// How many end tags inside a landmark an end marker may take in.
constexpr std::size_t kInnerEndTags = 3;

TokenizedPage PageOf(std::u16string text, std::size_t file) {
  TokenizedPage page;
  page.text = std::move(text);
  page.tokens = TokenizePage(page.text);
  page.file = file;
  return page;
}

std::vector<TokenizedPage> ReadSample(PageReader& reader,
                                      std::size_t pages = kSamplePages) {
  const std::size_t n = reader.size();
  const std::size_t count = std::min(n, pages);
  std::vector<TokenizedPage> sample;
  sample.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t file = i * n / count;
    sample.push_back(PageOf(reader.Read(file), file));
  }
  return sample;
}

// Whether text found on `page` stands in a link or beside the content
// (navigation, a sidebar): where a menu names another page.
bool BesideContent(const TokenizedPage& page, const FoundText& found) {
  const auto token = std::upper_bound(
      page.tokens.begin(), page.tokens.end(), found.begin,
      [](std::size_t at, const PageToken& t) { return at < t.end; });
  return token != page.tokens.end() && token->kind == PageToken::Kind::kText &&
         (token->link || token->aside);
}

std::function<bool(const FoundText&)> BesideContentOf(
    const TokenizedPage& page) {
  return [&page](const FoundText& found) { return BesideContent(page, found); };
}

// The sample's pages and their tokens are done with once the pairs are
// made: checking the pairs reads every file afresh, with a run's read-ahead,
// so the sample's memory goes before it.
void ForgetPages(std::vector<TokenizedPage>& sample) {
  sample.clear();
  sample.shrink_to_fit();
}

// Adds `pair` to `pairs` unless it is there already, as literal text or as
// a pattern of the same text.
void AddPair(std::optional<MarkerPair> pair, std::u16string_view basis,
             std::vector<MarkerPair>& pairs) {
  if (!pair) return;
  pair->basis = basis;
  const bool known =
      std::any_of(pairs.begin(), pairs.end(), [&](const MarkerPair& other) {
        return other.start == pair->start && other.end == pair->end;
      });
  if (!known) pairs.push_back(std::move(*pair));
}

// The pairs for the region: shortest markers, then markers that take in
// the anchors whole; then the same for the region one gap wider on each
// side.
void AddRegionPairs(const std::vector<TokenizedPage>& sample,
                    const TemplateAnchors& anchors, Region region,
                    std::vector<MarkerPair>& pairs) {
  const std::vector<PagePlace> places = PlacesOf(sample, anchors, region);
  AddPair(MarkersFor(places, MarkerReach::kShortest), kBasisDiffering, pairs);
  AddPair(MarkersFor(places, MarkerReach::kWholeAnchors), kBasisWholeAnchors,
          pairs);
  const Region wider{region.first > 0 ? region.first - 1 : 0,
                     std::min(region.last + 1, anchors.at.size() - 1)};
  if (wider != region) {
    AddPair(
        MarkersFor(PlacesOf(sample, anchors, wider), MarkerReach::kShortest),
        kBasisWider, pairs);
  }
}

// The pairs with their outcomes on every file, those that give nothing (or,
// around text, whose piece does not hold it) left out; the first that is
// left stays first (it is the best region's), the others by how many
// pieces they give, of equals the earlier first.
FoundPairs Checked(PageReader& reader, std::vector<MarkerPair> pairs,
                   std::optional<HeldText> held,
                   std::optional<MarkerPair> first_further = std::nullopt) {
  FoundPairs found;
  found.files = static_cast<std::int64_t>(reader.size());
  // The pair with the first pair's end taken further: one of the others
  // where it is among them already, else checked beside them.
  std::optional<std::size_t> further_at;
  bool further_added = false;
  if (first_further) {
    const auto same =
        std::find_if(pairs.begin(), pairs.end(), [&](const MarkerPair& pair) {
          return pair.start == first_further->start &&
                 pair.end == first_further->end;
        });
    further_added = same == pairs.end();
    if (further_added) pairs.push_back(*first_further);
    further_at = static_cast<std::size_t>(
        (further_added ? pairs.end() - 1 : same) - pairs.begin());
  }
  std::vector<PairOutcome> outcomes = CheckPairs(reader, pairs, held);
  if (further_at) {
    // The first pair's end stands inside the content of some file where
    // the same end taken further gives a longer piece: that one goes first.
    const std::size_t at = *further_at;
    const PairOutcome& further = outcomes[at];
    bool cut_short = false;
    for (std::size_t f = 0; f < further.lengths.size(); ++f) {
      cut_short = cut_short || (outcomes[0].lengths[f] >= 0 &&
                                further.lengths[f] > outcomes[0].lengths[f]);
    }
    if (cut_short && further.pieces >= outcomes[0].pieces) {
      pairs[at].basis = pairs[0].basis;
      std::swap(pairs[0], pairs[at]);
      std::swap(outcomes[0], outcomes[at]);
    }
    if (further_added) {
      pairs.pop_back();
      outcomes.pop_back();
    }
  }
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (outcomes[i].pieces == 0 || (held && !outcomes[i].holds)) continue;
    found.pairs.emplace_back(pairs[i], outcomes[i]);
  }
  if (found.pairs.size() > 1) {
    std::stable_sort(found.pairs.begin() + 1, found.pairs.end(),
                     [](const auto& a, const auto& b) {
                       return a.second.pieces > b.second.pieces;
                     });
    // A pattern first (made of a page's own values: the link of a language
    // switcher to the page itself) misses pages where the value's tag
    // differs more; a pair that gives more pieces of about the same length
    // (the same content, on more pages) goes before it, but not one that
    // gives more by cutting much more (the template around the content, on
    // pages of another template too).
    const PairOutcome& pattern = found.pairs[0].second;
    const PairOutcome& other = found.pairs[1].second;
    if (found.pairs[0].first.regex && other.pieces > pattern.pieces &&
        4 * other.median_length <= 5 * pattern.median_length) {
      std::swap(found.pairs[0], found.pairs[1]);
    }
  }
  if (found.pairs.size() > kMostPairs) found.pairs.resize(kMostPairs);
  if (found.pairs.empty()) found.lack = FoundPairs::Lack::kNoMarkers;
  return found;
}

// The markers of the framed region, or where those are patterns (its
// anchors stand inside the content's own varying tags), of the nearest
// region out to the widest that has literal markers.
std::optional<MarkerPair> FramePair(const std::vector<TokenizedPage>& sample,
                                    const FramedRegion& framed) {
  std::optional<MarkerPair> narrowest;
  for (Region region = framed.region;;) {
    std::optional<MarkerPair> pair = MarkersFor(
        PlacesOf(sample, framed.anchors, region), MarkerReach::kShortest);
    if (pair && !pair->regex) return pair;
    if (!narrowest) narrowest = std::move(pair);
    if (region == framed.widest) return narrowest;
    region.first -= region.first > framed.widest.first ? 1 : 0;
    region.last += region.last < framed.widest.last ? 1 : 0;
  }
}

// The pairs of the landmarks that hold the content of the region, in the
// order found.
std::vector<MarkerPair> LandmarkPairs(const std::vector<TokenizedPage>& sample,
                                      const TemplateAnchors& anchors,
                                      Region region) {
  std::vector<MarkerPair> pairs;
  for (const Landmark& landmark : FindLandmarks(
           sample, anchors.pages, PlacesOf(sample, anchors, region))) {
    if (!HoldsContent(landmark)) continue;
    // Where what follows the landmark differs between pages, an end marker
    // may start at the last tags inside it instead.
    std::optional<MarkerPair> pair =
        MarkersFor(landmark.places, MarkerReach::kShortest);
    for (std::size_t tags = 1; !pair && tags <= kInnerEndTags; ++tags) {
      if (const auto places = EndMovedIn(landmark, tags)) {
        pair = MarkersFor(*places, MarkerReach::kShortest);
      }
    }
    AddPair(std::move(pair), landmark.basis, pairs);
  }
  return pairs;
}

// The majority's template: the largest group of pages alike, without those
// that lack much of its frame.
std::vector<std::size_t> MajorityGroup(
    const std::vector<TokenizedPage>& sample) {
  return WithoutOutliers(sample, GroupByTemplate(sample).front());
}

// The group's anchors, the pages that share its whole frame among its pages.
TemplateAnchors AnchorsOf(const std::vector<TokenizedPage>& sample,
                          const std::vector<std::size_t>& group) {
  TemplateAnchors anchors = FindAnchors(sample, group);
  const std::vector<std::size_t> framed_group =
      WithFramePages(sample, anchors, kSameTemplateShare);
  if (framed_group.size() > group.size()) {
    TemplateAnchors framed = FindAnchors(sample, framed_group);
    if (framed.at.size() >= 2) anchors = std::move(framed);
  }
  return anchors;
}

// The groups, those whose pages hold the most words outside links and
// asides first: a folder's content pages before its stubs and indexes, even
// where those are more; groups of only a few pages of the sample last.
std::vector<std::vector<std::size_t>> ByWords(
    const std::vector<TokenizedPage>& sample,
    std::vector<std::vector<std::size_t>> groups) {
  std::vector<std::pair<std::size_t, std::size_t>> words;  // words, group
  std::vector<std::uint64_t> scratch;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    std::size_t count = 0;
    for (const std::size_t i : groups[g]) {
      for (const PageToken& token : sample[i].tokens) {
        if (token.kind != PageToken::Kind::kText || token.link || token.aside) {
          continue;
        }
        scratch.clear();
        AppendWords(std::u16string_view(sample[i].text)
                        .substr(token.begin, token.end - token.begin),
                    scratch);
        count += scratch.size();
      }
    }
    words.emplace_back(count, g);
  }
  // A group of a few pages beside many others (two long pages alike in a
  // manual of short ones) goes after those of more: two pages alike among
  // many say little of a template.
  const std::size_t few = std::max<std::size_t>(2, sample.size() / 16);
  const auto many = [&](std::size_t g) { return groups[g].size() > few; };
  std::stable_sort(words.begin(), words.end(),
                   [&](const auto& a, const auto& b) {
                     if (many(a.second) != many(b.second)) {
                       return many(a.second);
                     }
                     return a.first > b.first;
                   });
  std::vector<std::vector<std::size_t>> sorted;
  for (const auto& [count, g] : words) sorted.push_back(std::move(groups[g]));
  return sorted;
}

bool AllAlike(const std::vector<TokenizedPage>& sample,
              const std::vector<std::size_t>& group) {
  return std::all_of(group.begin(), group.end(), [&](std::size_t j) {
    return sample[j].text == sample[group[0]].text;
  });
}

// What comparing a sample's pages suggests: the pairs, the region's first,
// or why there are none.
struct SamplePairs {
  std::vector<MarkerPair> pairs;
  // The first pair's end taken on over the template behind it.
  std::optional<MarkerPair> further;
  // The content runs to the end of each page: its pair is the only one.
  bool to_end = false;
  // The sample held pages of another template than the one compared.
  bool other_pages = false;
  FoundPairs::Lack lack = FoundPairs::Lack::kNone;
};

SamplePairs PairsOfSample(const std::vector<TokenizedPage>& sample) {
  SamplePairs found;
  // The first template, most words first, whose pages differ between its
  // anchors: redirect stubs and other pages alike are grouped away, however
  // many they are.
  const std::vector<std::vector<std::size_t>> groups =
      ByWords(sample, GroupByTemplate(sample));
  std::optional<FoundPairs::Lack> first_lack;
  TemplateAnchors anchors;
  std::optional<Region> region;
  for (const std::vector<std::size_t>& candidate : groups) {
    if (candidate.size() < 2) continue;
    const std::vector<std::size_t> group = WithoutOutliers(sample, candidate);
    FoundPairs::Lack lack = FoundPairs::Lack::kAllAlike;
    const bool alike = AllAlike(sample, group);
    if (!alike) {
      anchors = AnchorsOf(sample, group);
      region = BestRegion(GapScores(sample, anchors));
      // The content's opening lines, each in a gap of its own, are not
      // left out for the anchors between them.
      if (region) region = WidenOverOwnLines(sample, anchors, *region);
      // Pages that differ, but not between two anchors, give no markers;
      // with anchors, no gap holds text of a page's own.
      if (anchors.at.size() < 2) lack = FoundPairs::Lack::kNoMarkers;
    }
    if (region) break;
    // Pages that differ after their last anchor only: the content runs to
    // the end of each, which no anchor stands behind.
    if (!alike && lack == FoundPairs::Lack::kAllAlike) {
      if (const auto tail = TailPlaces(sample, anchors)) {
        std::optional<MarkerPair> pair =
            MarkersToEnd(tail->places, tail->closed);
        AddPair(pair,
                pair && pair->end != kEndOfFilePattern ? kBasisToClosing
                                                       : kBasisToEnd,
                found.pairs);
        if (!found.pairs.empty()) {
          found.to_end = true;
          return found;
        }
      }
      // They differ, but not in text of their own.
      lack = FoundPairs::Lack::kNoMarkers;
    }
    if (!first_lack) first_lack = lack;
  }
  if (!region) {
    // Of one template, what it lacks; of several, that none has pages
    // that differ, which is not to say that the files do not.
    found.lack =
        groups.size() == 1 ? *first_lack : FoundPairs::Lack::kNoSharedTemplate;
    return found;
  }
  std::vector<MarkerPair>& pairs = found.pairs;
  const TemplateAnchors untrimmed = anchors;
  const Region trimmed = TrimEdges(sample, anchors, *region);
  // A landmark that holds all of what differs, and little template beside
  // it, goes first: it takes in the content's title and declarations,
  // whose shape repeats on every page, where the comparison sees only the
  // most varying part. The others that hold it follow the comparison's.
  const std::vector<MarkerPair> landmark_pairs =
      LandmarkPairs(sample, anchors, trimmed);
  if (!landmark_pairs.empty()) pairs.push_back(landmark_pairs.front());
  // Markers in the frame go first where they cut the same text out of the
  // group's pages and also the content of pages of another template.
  if (const auto framed =
          FrameRegion(sample, untrimmed, *region, anchors, trimmed)) {
    AddPair(FramePair(sample, *framed), kBasisFrame, pairs);
  }
  AddRegionPairs(sample, anchors, trimmed, pairs);
  const std::vector<PagePlace> framed =
      PlacesOf(sample, untrimmed, WidenOverTags(sample, untrimmed, *region));
  AddPair(MarkersFor(framed, MarkerReach::kShortest), kBasisOverTags, pairs);
  AddRegionPairs(sample, untrimmed, *region, pairs);
  for (const MarkerPair& pair : landmark_pairs)
    AddPair(pair, pair.basis, pairs);
  found.other_pages = anchors.pages.size() < sample.size();
  if (!pairs.empty())
    found.further = EndTakenFurther(pairs[0], sample, anchors.pages);
  return found;
}

FoundPairs FromPages(PageReader& reader) {
  FoundPairs found;
  found.files = static_cast<std::int64_t>(reader.size());
  if (reader.size() < 3) {
    found.lack = FoundPairs::Lack::kTooFewFiles;
    return found;
  }
  std::vector<TokenizedPage> sample = ReadSample(reader);
  SamplePairs made = PairsOfSample(sample);
  ForgetPages(sample);
  if (made.pairs.empty()) {
    found.lack = made.lack == FoundPairs::Lack::kNone
                     ? FoundPairs::Lack::kNoMarkers
                     : made.lack;
    return found;
  }
  if (made.to_end) return Checked(reader, std::move(made.pairs), std::nullopt);
  found = Checked(reader, std::move(made.pairs), std::nullopt,
                  std::move(made.further));
  if (made.other_pages && !found.pairs.empty()) {
    found.other_template = found.files - found.pairs.front().second.pieces;
  }
  return found;
}

// The pairs around pasted text that give a piece holding it, best first: the
// pair of `landmark` (a landmark that holds the content, or `further`, its end
// taken on, where that one is needed), then the pair whose pieces are most
// nearly each page's own text; of nearly equal ones, the one whose ends stand
// inside the content of the fewest pages, the literal before the pattern, the
// one nearer to the pages' own text, the one that holds more of it (not the
// one that holds a page of another kind whole, template and all), the one
// with longer markers (more of the template, less likely to occur in a page's
// content), the one that gives more pieces.
FoundPairs RankedAround(PageReader& reader,
                        const std::vector<MarkerPair>& pairs,
                        const std::vector<OwnTextShare>& shares,
                        const HeldText& held,
                        std::optional<std::size_t> landmark,
                        std::optional<std::size_t> further) {
  FoundPairs found;
  found.files = static_cast<std::int64_t>(reader.size());
  const std::vector<PairOutcome> outcomes = CheckPairs(reader, pairs, held);
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (outcomes[i].pieces > 0 && outcomes[i].holds) order.push_back(i);
  }
  // F1 within a fiftieth counts as equal: the sample's pages are few.
  const auto rank = [&](std::size_t i) {
    return std::make_tuple(static_cast<int>(shares[i].f1 * 50 + 0.5),
                           -static_cast<std::ptrdiff_t>(shares[i].cut_inside),
                           !pairs[i].regex, shares[i].f1, shares[i].held,
                           pairs[i].start.size() + pairs[i].end.size(),
                           outcomes[i].pieces);
  };
  std::stable_sort(
      order.begin(), order.end(),
      [&](std::size_t a, std::size_t b) { return rank(a) > rank(b); });
  // The landmark's end taken on over the template behind it stands in for
  // it where the landmark's own end stands inside the content of some file
  // (a page not compared), as for the pages alone.
  if (landmark && further) {
    const PairOutcome& near = outcomes[*landmark];
    const PairOutcome& far = outcomes[*further];
    bool cut_short = false;
    for (std::size_t f = 0; f < far.lengths.size(); ++f) {
      cut_short = cut_short ||
                  (near.lengths[f] >= 0 && far.lengths[f] > near.lengths[f]);
    }
    if (cut_short && far.pieces >= near.pieces) landmark = further;
  }
  // A landmark that holds the content and the text goes first, as for the
  // pages alone: the page's own text beside it (a title in the site's
  // header, a line under the content) is the template's place for it, not
  // the content's.
  const auto at = std::find(order.begin(), order.end(), landmark);
  if (landmark && at != order.end()) {
    std::rotate(order.begin(), at, at + 1);
  }
  for (std::size_t i = 0; i < order.size() && i < kMostPairs; ++i) {
    found.pairs.emplace_back(pairs[order[i]], outcomes[order[i]]);
  }
  if (found.pairs.empty()) found.lack = FoundPairs::Lack::kNoMarkers;
  return found;
}

FoundPairs AroundText(PageReader& reader, std::u16string_view around) {
  FoundPairs found;
  found.files = static_cast<std::int64_t>(reader.size());
  if (reader.size() == 0) {
    found.lack = FoundPairs::Lack::kTooFewFiles;
    return found;
  }
  const std::u16string snippet = SearchableSnippet(around);
  const std::u16string key_word = KeyWord(around);
  std::vector<TokenizedPage> sample = ReadSample(reader, kAroundSamplePages);
  if (reader.size() > sample.size()) {
    // As many as pages the size of the largest so far fit in the budget:
    // a folder of pages of very unequal size (a manual's one page of
    // megabytes) keeps the small sample.
    std::size_t largest = 1;
    for (const TokenizedPage& page : sample) {
      largest = std::max(largest, page.text.size());
    }
    const std::size_t pages =
        std::min(kSamplePages, kAroundSampleUnits / largest);
    if (pages > sample.size()) {
      ForgetPages(sample);
      sample = ReadSample(reader, pages);
    }
  }
  // The first page of the sample that shows the text in its content, or
  // else the first file of the folder that does; where the text stands
  // only in links and menus (another page's title), the first page that
  // shows it there.
  std::optional<std::size_t> labelled;
  std::optional<FoundText> place;
  std::optional<std::pair<std::size_t, FoundText>> in_menu;
  for (std::size_t i = 0; i < sample.size() && !place; ++i) {
    if (!MayShow(sample[i].text, key_word)) continue;
    const auto found =
        FindPasted(sample[i], snippet, BesideContentOf(sample[i]));
    if (!found) continue;
    if (!BesideContent(sample[i], *found)) {
      place = found, labelled = i;
    } else if (!in_menu) {
      in_menu.emplace(i, *found);
    }
  }
  if (!place && sample.size() < reader.size()) {
    reader.ForEach([&](std::size_t file, std::u16string_view text) {
      if (!MayShow(text, key_word)) return true;
      TokenizedPage page = PageOf(std::u16string(text), file);
      const auto found = FindPasted(page, snippet, BesideContentOf(page));
      if (!found) return true;
      const bool beside = BesideContent(page, *found);
      if (beside && in_menu) return true;
      if (beside) in_menu.emplace(sample.size(), *found);
      if (!beside) place = found, labelled = sample.size();
      sample.push_back(std::move(page));
      return beside;
    });
  }
  if (!place && in_menu) {
    labelled = in_menu->first;
    place = in_menu->second;
  }
  if (!place) {
    found.lack = FoundPairs::Lack::kTextNotFound;
    return found;
  }
  std::vector<MarkerPair> pairs;
  // The landmark's pair in `pairs`, and the same with its end taken on.
  std::optional<std::size_t> landmark, further;
  if (sample.size() >= 3) {
    // The majority's template, with the labelled page among its pages even
    // where its own content made it look unlike them: only anchors that it
    // has too count.
    std::vector<std::size_t> group = MajorityGroup(sample);
    if (std::find(group.begin(), group.end(), *labelled) == group.end()) {
      group.push_back(*labelled);
    }
    if (group.size() >= 3) {
      TemplateAnchors anchors = AnchorsOf(sample, group);
      const std::size_t j = static_cast<std::size_t>(
          std::find(anchors.pages.begin(), anchors.pages.end(), *labelled) -
          anchors.pages.begin());
      const auto first = GapAt(sample, anchors, j, place->begin);
      const auto last = GapAt(sample, anchors, j, place->end - 1);
      if (first && last && *last + 1 < anchors.at.size()) {
        const std::vector<double> scores = GapScores(sample, anchors);
        if (auto region = BestRegion(scores, {{*first, *last}})) {
          // As for the pages alone, with the content's opening lines.
          region = WidenOverOwnLines(sample, anchors, *region);
          // Trimmed, when that keeps the text in (the check tells), and as
          // found.
          const std::vector<PagePlace> places =
              PlacesOf(sample, anchors, *region);
          TemplateAnchors trimmed_anchors = anchors;
          const Region trimmed = TrimEdges(sample, trimmed_anchors, *region);
          AddPair(MarkersFor(PlacesOf(sample, trimmed_anchors, trimmed),
                             MarkerReach::kShortest),
                  kBasisAroundRegion, pairs);
          AddPair(MarkersFor(places, MarkerReach::kShortest),
                  kBasisAroundRegion, pairs);
          AddPair(MarkersFor(places, MarkerReach::kWholeAnchors),
                  kBasisAroundRegion, pairs);
          const std::vector<MarkerPair> landmark_pairs =
              LandmarkPairs(sample, trimmed_anchors, trimmed);
          if (!landmark_pairs.empty()) {
            landmark = pairs.size();
            AddPair(landmark_pairs.front(), landmark_pairs.front().basis,
                    pairs);
            if (pairs.size() == *landmark) {
              landmark.reset();
            } else if (auto end_further = EndTakenFurther(
                           pairs[*landmark], sample, trimmed_anchors.pages)) {
              further = pairs.size();
              AddPair(std::move(end_further), pairs[*landmark].basis, pairs);
              if (pairs.size() == *further) further.reset();
            }
          }
        }
      }
    }
  }
  // What the pages alone suggest, where the pages compared show it: the
  // content as a whole, where the template around the text (a heading in
  // a gap of its own, pages that run to their end) gives no region that
  // holds it, or only a part of it.
  if (sample.size() >= 3) {
    for (const MarkerPair& pair : PairsOfSample(sample).pairs) {
      AddPair(pair, pair.basis, pairs);
    }
  }
  const std::vector<PagePlace> elements =
      ElementsHolding(sample[*labelled], *place);
  for (std::size_t i = 0; i < elements.size() && i < kElements; ++i) {
    AddPair(MarkersFor({elements[i]}, MarkerReach::kShortest),
            kBasisAroundElement, pairs);
  }
  const HeldText held{sample[*labelled].file, place->begin, place->end};
  const std::vector<OwnTextShare> shares = OwnTextShares(sample, pairs);
  ForgetPages(sample);
  return RankedAround(reader, pairs, shares, held, landmark, further);
}

}  // namespace

FoundPairs FindMarkerPairs(PageReader& reader, std::u16string_view around) {
  return around.empty() ? FromPages(reader) : AroundText(reader, around);
}

}  // namespace vantrel
