// Where the content lies on the pages of one template.
//
// Anchors are tokens that stand exactly once on every page of the group, in
// one order on all of them: the template's frame. Between two anchors lies a
// gap; a gap whose visible texts are the page's own (few other pages have
// them there) holds content, one whose texts are the same on most pages
// (navigation, a table of contents whose current entry moves, lists of
// related pages) holds template. The content region is the run of
// consecutive gaps with the highest score, so that inner structure of the
// content (a heading, a signature, a description) does not narrow it.
#ifndef VANTREL_EXTRACTION_SUGGEST_CONTENT_REGION_H_
#define VANTREL_EXTRACTION_SUGGEST_CONTENT_REGION_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "extraction/suggest/page_tokens.h"

namespace vantrel {

struct TemplateAnchors {
  // The group's pages, as indices into the sample.
  std::vector<std::size_t> pages;
  // at[k][j]: the index of anchor k among the tokens of page pages[j].
  std::vector<std::vector<std::uint32_t>> at;
};

// With `within`, only the tokens [first, last) of each page count, and a
// token need stand only once among them.
TemplateAnchors FindAnchors(
    const std::vector<TokenizedPage>& sample,
    const std::vector<std::size_t>& group,
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>* within =
        nullptr);

// The group's pages and the other pages of the sample that hold at least
// `share` of its anchors, each once: pages in the site's frame whose
// content made them look unlike the group (a chapter's table of contents
// beside reference pages), in the sample's order.
std::vector<std::size_t> WithFramePages(
    const std::vector<TokenizedPage>& sample, const TemplateAnchors& anchors,
    double share);

// For each gap k, between anchors k and k + 1: the words of the visible
// texts that are the pages' own less those of its template texts, over all
// the group's pages, less a little for each gap crossed; with
// `spare_own_words`, only for a gap with words, and not for one where most
// pages have a text that no other page has there. With `opening`, whether
// each gap could be an opening line of the content: only tags, or on most
// pages a text that fewer than half the others have there (a title, a
// price, a byline). With `label`, whether each gap is a label of the
// template: a few words that most pages have there, outside links, and no
// text of a page's own (a "Description" heading).
std::vector<double> GapScores(const std::vector<TokenizedPage>& sample,
                              const TemplateAnchors& anchors,
                              bool spare_own_words = false,
                              std::vector<bool>* opening = nullptr,
                              std::vector<bool>* label = nullptr);

// The content between anchor `first` and anchor `last` (first < last).
struct Region {
  std::size_t first = 0;
  std::size_t last = 0;
  bool operator==(const Region&) const = default;
};

// The run of gaps with the highest positive score; with `cover` (first and
// last gap), the best run that holds those gaps. Nothing when no gap holds
// text of the pages' own.
std::optional<Region> BestRegion(
    const std::vector<double>& scores,
    std::optional<std::pair<std::size_t, std::size_t>> cover = std::nullopt);

// The region widened over the gaps beside it, as far as each could be an
// opening line of the content (see GapScores: the content's title, a
// byline, a product's price, each between anchors of its own) and that adds
// to the region's words; a gap of template text, or of text that only some
// pages have (a notice above the article), stops it.
Region WidenOverOwnLines(const std::vector<TokenizedPage>& sample,
                         const TemplateAnchors& anchors, Region region);

// The region with its edges moved inwards: inside the gap at each edge,
// tokens that stand once in that gap on every page are anchors too, and the
// edge moves past those of the new gaps that hold template rather than
// content (a navigation header that shares its last tags with the
// content). The anchors come back with the new ones among them.
Region TrimEdges(const std::vector<TokenizedPage>& sample,
                 TemplateAnchors& anchors, Region region);

// The content as pages of another template in the same frame have it too:
// the anchors of the group's pages together with theirs, and the region
// between the last of those before the content and the first behind it.
struct FramedRegion {
  TemplateAnchors anchors;
  Region region;
  // As far out as only tags lie between it and `region` on the group's
  // pages: where markers may be made of the frame's tags instead.
  Region widest;
};

// The framed region of the content that `region` of `anchors` marks out
// (`trimmed` of `trimmed_anchors`, its edges moved in), where it cuts the
// same text out of the group's pages (nothing but tags lies between the
// frame's anchors and the content) and most other pages that share the
// frame have text of their own there: a manual's chapter pages beside its
// reference pages, but not lists of links. Nothing otherwise.
std::optional<FramedRegion> FrameRegion(
    const std::vector<TokenizedPage>& sample, const TemplateAnchors& anchors,
    Region region, const TemplateAnchors& trimmed_anchors, Region trimmed);

// The region widened over the gaps next to it that hold no visible text on
// any page: the same text, with markers in the frame of the template,
// which pages of another template may share.
Region WidenOverTags(const std::vector<TokenizedPage>& sample,
                     const TemplateAnchors& anchors, Region region);

// Where a marker pair should cut one page: the content [start, end), and
// the template text around it that markers may be made of: from
// `frame_begin` (the start of the anchor before) to `frame_end` (the end of
// the anchor behind).
struct PagePlace {
  const TokenizedPage* page = nullptr;
  std::size_t frame_begin = 0, start = 0, end = 0, frame_end = 0;
};

// The region's place on each page of the group. The content's edges are
// moved inwards over tags that every page has there, so that markers may
// take them in; never over text.
std::vector<PagePlace> PlacesOf(const std::vector<TokenizedPage>& sample,
                                const TemplateAnchors& anchors, Region region);

// Where the pages' content runs from the last anchor to the end of each
// page (pages that end without closing their elements, so that no anchor
// stands behind the content): the place after the anchor and the tags that
// follow it on every page, to the end, when most pages have a text of their
// own there...
struct ContentToEnd {
  std::vector<PagePlace> places;
  // ...and where most pages close with the same template text after their
  // own (a paragraph of links to the site's lists, which a few pages of
  // another kind lack), those pages' places with the content's end before
  // it, moved back over the tags that all of them have there.
  std::vector<PagePlace> closed;
};
std::optional<ContentToEnd> TailPlaces(const std::vector<TokenizedPage>& sample,
                                       const TemplateAnchors& anchors);

// The gap of the anchors that holds the unit `at` of page pages[j]: the last
// anchor that ends at or before it; nothing before the first anchor.
std::optional<std::size_t> GapAt(const std::vector<TokenizedPage>& sample,
                                 const TemplateAnchors& anchors, std::size_t j,
                                 std::size_t at);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_CONTENT_REGION_H_
