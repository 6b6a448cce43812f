// How much of each page's own text the pieces of a marker pair hold. A
// page's own text is its text that few pages of the sample share (the
// template's words, menus and footers, stand on most of them) and that no
// link or element beside the content holds; a pair is as good as its
// pieces are that text, all of it and little else.
#ifndef VANTREL_EXTRACTION_SUGGEST_OWN_TEXT_H_
#define VANTREL_EXTRACTION_SUGGEST_OWN_TEXT_H_

#include <vector>

#include "extraction/suggest/marker_making.h"
#include "extraction/suggest/page_tokens.h"

namespace vantrel {

struct OwnTextShare {
  // Over the sample's pages with text of their own, each weighed by how
  // much it has (a page of another template that holds a heading of its
  // own and links, an index among articles, says little of where the
  // content lies), the share of that text that the page's piece holds (0
  // where it gives none)...
  double held = 0;
  // ...and the F1 of the piece's text against it: its share held, and the
  // share of the piece's text that is the page's own (the rest is the
  // template's, or beside the content).
  double f1 = 0;
  // Pages on which an end of the piece stands inside the page's own text:
  // own text, not template text, lies between the piece and the template
  // text nearest it (a marker that also occurs in the content).
  std::size_t cut_inside = 0;
};

// For each pair, cut from each page of `sample` as a run cuts it.
std::vector<OwnTextShare> OwnTextShares(
    const std::vector<TokenizedPage>& sample,
    const std::vector<MarkerPair>& pairs);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_OWN_TEXT_H_
