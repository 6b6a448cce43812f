// The transform of a run with --text: each piece, HTML, becomes the plain
// text a reader sees. Scripts, styles, templates, the head and comments
// give nothing; entities are decoded; block elements end a line and
// paragraphs, headings, block quotes, tables, pre and top-level lists are
// set off by one blank line; a list item starts with "- ", two spaces
// further in per level of nested list; a table row's cells are separated
// by a tab; pre keeps its white space; elsewhere a run of white space is
// one space and lines are trimmed; an image gives its alt text; the text
// neither begins nor ends with a blank line. What is left at the start of
// a tag that the start marker cut through (as in `class="x">`) is dropped,
// as the source tells (Piece::tag_cut).
#ifndef VANTREL_EXTRACTION_TRANSFORM_HTML_TO_TEXT_H_
#define VANTREL_EXTRACTION_TRANSFORM_HTML_TO_TEXT_H_

#include <string>
#include <string_view>

#include "extraction/base/piece.h"

namespace vantrel {

// The text of the HTML fragment `html`, both UTF-8, which begins where
// `begins_in` tells: the rest of a tag it begins inside gives nothing.
std::string HtmlToText(std::string_view html, TagCut begins_in = TagCut::kNone);
// The same into `text`, replacing what it held, in its memory.
void HtmlToTextInto(std::string_view html, std::string& text,
                    TagCut begins_in = TagCut::kNone);

// Takes a UTF-8 piece as it is and gives the text as UTF-8 bytes.
class HtmlToTextTransform : public PieceTransform {
 public:
  bool NeedsText() const override { return true; }
  bool TakesUtf8() const override { return true; }
  bool GivesText() const override { return true; }
  Piece Apply(const Piece& piece, PieceScratch& scratch) const override;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TRANSFORM_HTML_TO_TEXT_H_
