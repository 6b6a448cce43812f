// Finding text that the user pasted as a browser shows it on a page, and
// the elements of the page that hold it.
#ifndef VANTREL_EXTRACTION_SUGGEST_AROUND_TEXT_H_
#define VANTREL_EXTRACTION_SUGGEST_AROUND_TEXT_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "extraction/suggest/content_region.h"
#include "extraction/suggest/page_tokens.h"

namespace vantrel {

// Where a pasted text stands on a page: units [begin, end) of its HTML.
struct FoundText {
  std::size_t begin = 0, end = 0;
};

// Finds `snippet` (made by SearchableSnippet) in the visible text of
// `page`: whole, or else from its first to its last few characters. Where
// it stands more than once, the first place that `aside` does not call
// beside the content (a link to the page in a menu) wins over the first.
std::optional<FoundText> FindPasted(
    const TokenizedPage& page, std::u16string_view snippet,
    const std::function<bool(const FoundText&)>& aside = nullptr);

// The longest run of ASCII letters and digits in the pasted text, lowered:
// a page that shows the text holds it, in some letter case, in its HTML.
// Empty when the text has none.
std::u16string KeyWord(std::u16string_view pasted);

// Whether `html` holds `key_word` in any letter case; a page that does not
// cannot show the text, and is passed over without more work.
bool MayShow(std::u16string_view html, std::u16string_view key_word);

// The elements of `page` that hold `found`, innermost first, each as the
// place of its content: from its start tag's end to its end tag's start,
// framed by the two tags.
std::vector<PagePlace> ElementsHolding(const TokenizedPage& page,
                                       FoundText found);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_AROUND_TEXT_H_
