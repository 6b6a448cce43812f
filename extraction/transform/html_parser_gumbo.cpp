// The HTML parser behind html_parser.h: gumbo, which follows the HTML5
// parsing rules.
#include <gumbo.h>

#include <memory>
#include <string>
#include <string_view>

#include "extraction/transform/html_parser.h"

namespace vantrel {
namespace {

std::string_view NameOf(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) {
    return gumbo_normalized_tagname(element.tag);
  }
  // An element gumbo has no name for: its name as written, which the
  // converter treats as inline whatever its case.
  GumboStringPiece written = element.original_tag;
  gumbo_tag_from_original_text(&written);
  return {written.data, written.length};
}

void Walk(const GumboNode& node, HtmlWalker& walker) {
  switch (node.type) {
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
      walker.Text(node.v.text.text);
      return;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
      const GumboElement& element = node.v.element;
      const std::string_view name = NameOf(element);
      const GumboAttribute* alt =
          gumbo_get_attribute(&element.attributes, "alt");
      if (!walker.Enter(name, alt != nullptr ? alt->value : "")) return;
      for (unsigned i = 0; i < element.children.length; ++i) {
        Walk(*static_cast<const GumboNode*>(element.children.data[i]), walker);
      }
      walker.Leave(name);
      return;
    }
    case GUMBO_NODE_DOCUMENT:
    case GUMBO_NODE_COMMENT:
      return;
  }
}

}  // namespace

void WalkHtmlFragment(std::string_view utf8, HtmlWalker& walker) {
  GumboOptions options = kGumboDefaultOptions;
  options.fragment_context = GUMBO_TAG_BODY;
  options.fragment_namespace = GUMBO_NAMESPACE_HTML;
  // Errors are of no use here; recording them costs time on broken pages.
  options.max_errors = 0;
  const auto free_output = [&options](GumboOutput* output) {
    gumbo_destroy_output(&options, output);
  };
  std::unique_ptr<GumboOutput, decltype(free_output)> output(
      gumbo_parse_with_options(&options, utf8.data(), utf8.size()),
      free_output);
  // A fragment's content lies under the root (the context element's
  // stand-in), whose own name is not the piece's.
  const GumboElement& root = output->root->v.element;
  for (unsigned i = 0; i < root.children.length; ++i) {
    Walk(*static_cast<const GumboNode*>(root.children.data[i]), walker);
  }
}

}  // namespace vantrel
