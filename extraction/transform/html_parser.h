// The one thing the HTML-to-text converter asks of an HTML parser: parse a
// piece as a fragment of a page's body and walk what it builds. The
// converter depends only on this, so another parser can replace the one
// the engine links (html_parser_gumbo.cpp) without touching it.
#ifndef VANTREL_EXTRACTION_TRANSFORM_HTML_PARSER_H_
#define VANTREL_EXTRACTION_TRANSFORM_HTML_PARSER_H_

#include <cstddef>
#include <string_view>

namespace vantrel {

// What a walk over a parsed fragment reports, in document order. Names are
// lower-case ASCII; texts are UTF-8 with entities already decoded. Comments
// are not reported.
class HtmlWalker {
 public:
  virtual ~HtmlWalker() = default;
  // An element opens. Returns false to skip its content (and its end).
  // `alt` is an img element's alt attribute value; empty without one, and
  // for every other element.
  virtual bool Enter(std::string_view name, std::string_view alt) = 0;
  virtual void Leave(std::string_view name) = 0;
  virtual void Text(std::string_view text) = 0;
};

// How deep elements nest in a parsed fragment, at most. The tags of the
// elements nested deeper are dropped before parsing, their content kept in
// the element at this depth, as browsers bound the depth of a page's tree:
// an HTML5 parser looks through the open elements at each tag, so that an
// unbounded depth costs time in its square. Elements whose end tag may be
// left out (p, li, td...) and void elements (br, img...) are not counted.
inline constexpr std::size_t kMaxHtmlDepth = 256;

// Parses `utf8` as HTML5 parses the content of a body element (unclosed
// elements closed, entities decoded, a tag cut at the end dropped) and
// walks the result.
void WalkHtmlFragment(std::string_view utf8, HtmlWalker& walker);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TRANSFORM_HTML_PARSER_H_
