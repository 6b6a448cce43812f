// The elements a template marks as its content: HTML's main and article
// elements, an element whose role is main, and one whose class or id is a
// word such as "content", "main-content" or "body". Most templates mark
// their content so; comparing the pages then tells whether the element
// holds the whole of what differs between the pages and little of the
// template (a main element that wraps a sidebar too does not).
#ifndef VANTREL_EXTRACTION_SUGGEST_LANDMARKS_H_
#define VANTREL_EXTRACTION_SUGGEST_LANDMARKS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "extraction/suggest/content_region.h"

namespace vantrel {

struct Landmark {
  // What marks it, to tell the user: "the pages' main element".
  std::u16string basis;
  // Its inside on each of the group's pages, from behind its start tag to
  // its end tag; the frame is the two tags.
  std::vector<PagePlace> places;
  // Words a page holds, on average over the group's pages: outside the
  // content, texts beside it (a sidebar, a menu) and other texts that stand
  // on most of the pages; inside the content, the page's own, and those of
  // them that lie outside the landmark.
  double aside_words = 0;
  double template_words = 0;
  double own_words = 0;
  double missed_words = 0;
  // The share of the group's pages with words of their own beside it,
  // among its siblings (a title heading above an article's text).
  double missing_pages = 0;
};

// The landmarks that stand exactly once on every page of `group`, each with
// what it holds compared with the content that `content` (the place of the
// text the pages differ in, one per page of the group) marks out.
std::vector<Landmark> FindLandmarks(const std::vector<TokenizedPage>& sample,
                                    const std::vector<std::size_t>& group,
                                    const std::vector<PagePlace>& content);

// The landmark's places with the content's end moved inwards over the
// `tags` tags that stand last in it (end tags of its own inner elements,
// with no text between): where what follows the landmark differs between
// pages (a table of contents on some), an end marker may start at those
// instead. Nothing where some page has text there.
std::optional<std::vector<PagePlace>> EndMovedIn(const Landmark& landmark,
                                                 std::size_t tags);

// Whether a landmark holds the pages' content: nearly all the words of the
// pages' own, on most pages all of them, and few of the template's beside
// them.
bool HoldsContent(const Landmark& landmark);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_LANDMARKS_H_
