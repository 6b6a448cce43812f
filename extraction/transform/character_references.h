// Character references (`&ccedil;`, `&#x2019;`, `&amp`) decoded as the
// HTML parser decodes them in a page's text, so that everything that shows
// a page's text (--text, a suggestion's preview, finding pasted text) reads
// them from the one table: the parser's, with every HTML5 named reference.
#ifndef VANTREL_EXTRACTION_TRANSFORM_CHARACTER_REFERENCES_H_
#define VANTREL_EXTRACTION_TRANSFORM_CHARACTER_REFERENCES_H_

#include <string>
#include <string_view>

namespace vantrel {

// The text a browser shows for `utf8`, a run of a page's text without tags:
// its character references decoded, every other character as it stands.
// Both UTF-8.
std::string DecodeCharacterReferences(std::string_view utf8);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TRANSFORM_CHARACTER_REFERENCES_H_
