// A page's text cut into the pieces that the template analysis compares:
// tags (comments and declarations among them) and the text between them.
//
// Each token carries a key: a hash of its text in which every run of digits
// counts as one digit, and for text, every run of white space as one space,
// so that two pages whose tag differs only in an id or a counter give the
// same key. Text that is only white space is no token.
#ifndef VANTREL_EXTRACTION_SUGGEST_PAGE_TOKENS_H_
#define VANTREL_EXTRACTION_SUGGEST_PAGE_TOKENS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct PageToken {
  enum class Kind : std::uint8_t {
    kTag,     // <...>, a comment, a declaration
    kText,    // visible text
    kHidden,  // the content of a script or a style
  };
  // A sample holds a token for every few characters of its pages, so a
  // token is kept to 16 bytes: the flags and the key share 8.
  std::uint32_t begin = 0;  // units of the page's text
  std::uint32_t end = 0;
  Kind kind : 8 = Kind::kText;
  // Text inside a link: navigation, tables of contents and lists of other
  // pages are made of links, content mostly is not.
  bool link : 1 = false;
  // Text inside an element that says it is beside the content: a nav,
  // aside, footer or title element, one whose role is navigation,
  // complementary or contentinfo, or one below the body whose class or id
  // names navigation, a sidebar, a menu, related pages, comments or a
  // footer by a whole word.
  bool aside : 1 = false;
  // The low 54 bits of the text's key; tokens are compared by this.
  std::uint64_t key : 54 = 0;
};

// A page of the sample with its tokens; `file` is its place among the
// folder's files.
struct TokenizedPage {
  std::u16string text;
  std::vector<PageToken> tokens;
  std::size_t file = 0;
};

// The tokens of `text`, in order.
std::vector<PageToken> TokenizePage(std::u16string_view text);

// Where the tag that starts at `at` (a '<') ends, just behind its '>' (or a
// comment's "-->"); npos when `at` starts no tag.
std::size_t TagEnd(std::u16string_view text, std::size_t at);

// The lower-cased name of a start or end tag, and whether it ends one;
// empty for a comment, a declaration, a tag that closes itself and an
// element without an end tag (br, img, ...).
std::u16string TagName(std::u16string_view tag, bool& closing);

// The lower-cased value of the attribute `name` (lower case) of a start
// tag, quoted with either quote; nothing where the tag has none.
std::optional<std::u16string> AttributeValue(std::u16string_view tag,
                                             std::u16string_view name);

// The words of a text token (letters and digits, ASCII letters lowered),
// as hashes, appended to `words`.
void AppendWords(std::u16string_view text, std::vector<std::uint64_t>& words);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_PAGE_TOKENS_H_
