// Whether a cut through an HTML source went through a tag: a start marker
// such as `<div id="main"` ends inside the tag it begins, and what follows
// it up to the tag's real end (`data-x="1>2">`) is no text of the piece.
#ifndef VANTREL_EXTRACTION_MATCH_TAG_CUT_H_
#define VANTREL_EXTRACTION_MATCH_TAG_CUT_H_

#include <cstddef>
#include <string_view>

#include "extraction/base/piece.h"

namespace vantrel {

// Where `text` is, as HTML reads it, at the place `at` (a cut before the
// unit at `at`): inside the last tag or comment begun before it, when that
// has not ended by then. The tag is read from its "<" on, minding quoted
// attribute values, so that a ">" inside one does not end it. A "<" begins
// a tag when a letter, "/", "!" or "?" follows it.
TagCut TagCutAt(std::string_view text, std::size_t at);
TagCut TagCutAt(std::u16string_view text, std::size_t at);

// How many units at the start of `piece` are the rest of the tag or
// comment it begins inside (`cut`), its closing ">" included: 0 outside a
// tag, the whole piece when the tag does not end in it.
std::size_t CutTagLength(std::string_view piece, TagCut cut);
std::size_t CutTagLength(std::u16string_view piece, TagCut cut);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MATCH_TAG_CUT_H_
