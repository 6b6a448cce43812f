// The text a browser shows of a piece of HTML: tags, scripts, styles and
// comments left out, character references decoded (as --text decodes them:
// transform/character_references.h), white space collapsed; and the same
// text made for finding a pasted snippet in it, with a way back to where
// each of its units lies in the HTML.
#ifndef VANTREL_EXTRACTION_SUGGEST_VISIBLE_TEXT_H_
#define VANTREL_EXTRACTION_SUGGEST_VISIBLE_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/suggest/page_tokens.h"

namespace vantrel {

// The first `count` characters of the visible text of `html`, each run of
// white space one space, none at either end.
std::u16string PreviewOf(std::u16string_view html, std::size_t count = 80);

// The visible text of a page for finding a snippet in: white space left out
// altogether (a paste rarely keeps the page's spacing), letter case folded
// (ICU's simple case folding, character by character), and curly quotes,
// primes and dashes taken as the straight quote, apostrophe and hyphen a
// user types for them.
struct SearchableText {
  std::u16string text;
  // For each unit of `text`: where the character it comes from begins and
  // ends in the HTML (an entity's whole text, for example).
  std::vector<std::uint32_t> from, to;
};

SearchableText SearchableTextOf(std::u16string_view html);
// The same for a page already cut into tokens (`tokens` of `html`, as
// TokenizePage gives them).
SearchableText SearchableTextOf(std::u16string_view html,
                                std::span<const PageToken> tokens);

// A pasted snippet made comparable with a SearchableText: character
// references decoded as in the HTML (a paste may hold them too), white
// space left out, letter case, quotes and dashes folded alike.
std::u16string SearchableSnippet(std::u16string_view pasted);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_VISIBLE_TEXT_H_
