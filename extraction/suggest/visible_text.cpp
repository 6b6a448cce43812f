#include "extraction/suggest/visible_text.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <array>
#include <span>
#include <string>
#include <unordered_map>

#include "extraction/suggest/page_tokens.h"
#include "extraction/text/text.h"
#include "extraction/transform/character_references.h"

namespace vantrel {
namespace {

bool IsWhite(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\f' ||
         u_isUWhiteSpace(static_cast<UChar32>(c));
}

bool IsAsciiAlnum(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= u'0' && c <= u'9');
}

// What a character reference stands for: up to two characters (a few
// named references stand for a letter and a combining mark), and how many
// units of the text it takes.
struct Reference {
  std::array<char32_t, 2> characters{};
  std::size_t count = 0;   // characters used; 0: no reference here
  std::size_t length = 0;  // units of the text
};

// The longest HTML5 reference name, `CounterClockwiseContourIntegral`,
// has 31 letters; a numeric reference is shorter.
constexpr std::size_t kLongestName = 32;

// The reference that begins at `at` (an `&`) of `text`, decoded by the
// HTML parser's own table. The parser takes the longest name it knows, with
// or without the semicolon where HTML5 allows that, and leaves the rest of
// what follows the `&` as text: what it leaves is the end of what it was
// given, so the reference is what comes before that end.
Reference ReferenceAt(std::u16string_view text, std::size_t at) {
  std::size_t end = at + 1;
  if (end < text.size() && text[end] == u'#') ++end;
  while (end < text.size() && end - at <= kLongestName &&
         IsAsciiAlnum(text[end])) {
    ++end;
  }
  if (end < text.size() && text[end] == u';') ++end;
  if (end - at < 3) return {};
  const std::u16string_view written = text.substr(at, end - at);
  // Pages use a few references many times over: each is decoded once per
  // thread. The written text is ASCII, so a unit is a byte.
  thread_local std::unordered_map<std::u16string, Reference> known;
  if (const auto found = known.find(std::u16string(written));
      found != known.end()) {
    return found->second;
  }
  const std::string ascii(written.begin(), written.end());
  const std::u16string shown = Utf8ToText(DecodeCharacterReferences(ascii));
  // The common end of what was written and what is shown, leaving at
  // least one character of the reference (`&semi;` shows `;`).
  std::size_t same = 0;
  while (same + 1 < shown.size() && same < written.size() &&
         shown[shown.size() - 1 - same] == written[written.size() - 1 - same]) {
    ++same;
  }
  Reference reference;
  const std::u16string_view value =
      std::u16string_view(shown).substr(0, shown.size() - same);
  if (value != written.substr(0, written.size() - same)) {
    reference.length = written.size() - same;
    for (std::size_t i = 0; i < value.size() && reference.count < 2;) {
      UChar32 c;
      U16_NEXT(value.data(), i, value.size(), c);
      reference.characters[reference.count++] = static_cast<char32_t>(c);
    }
  }
  if (known.size() >= 4096) known.clear();
  known.emplace(written, reference);
  return reference;
}

// Calls `visit(character)` for the character at `at` of `text` (or the two
// that a reference there stands for), and moves `at` behind it.
template <typename Visit>
void NextCharacter(std::u16string_view text, std::size_t& at,
                   const Visit& visit) {
  if (text[at] == u'&') {
    const Reference reference = ReferenceAt(text, at);
    if (reference.count > 0) {
      at += reference.length;
      for (std::size_t i = 0; i < reference.count; ++i) {
        visit(reference.characters[i]);
      }
      return;
    }
  }
  UChar32 c;
  U16_NEXT(text.data(), at, text.size(), c);
  visit(static_cast<char32_t>(c));
}

void Append(char32_t c, std::u16string& out) {
  if (c > 0xFFFF) {
    out += static_cast<char16_t>(U16_LEAD(c));
    out += static_cast<char16_t>(U16_TRAIL(c));
  } else {
    out += static_cast<char16_t>(c);
  }
}

// A character as it is compared with a paste: letter case folded (ICU's
// simple case folding); quotes, apostrophes and dashes as the ASCII ones a
// user types for them; 0 for white space (a paste rarely keeps the page's
// spacing, and a non-breaking space looks like any other) and for what a
// browser does not show (a soft hyphen, a zero-width space).
char32_t Searchable(char32_t c) {
  switch (c) {
    case U'\u2018':  // ‘
    case U'\u2019':  // ’
    case U'\u201A':  // ‚
    case U'\u201B':  // ‛
    case U'\u2032':  // ′
      return U'\'';
    case U'\u201C':  // “
    case U'\u201D':  // ”
    case U'\u201E':  // „
    case U'\u201F':  // ‟
    case U'\u2033':  // ″
      return U'"';
    case U'\u2010':  // hyphen
    case U'\u2011':  // non-breaking hyphen
    case U'\u2012':  // figure dash
    case U'\u2013':  // en dash
    case U'\u2014':  // em dash
    case U'\u2212':  // minus sign
      return U'-';
    case U'\u00AD':  // soft hyphen
    case U'\u200B':  // zero-width space
      return 0;
    default:
      break;
  }
  if (IsWhite(c)) return 0;
  return static_cast<char32_t>(
      u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// Calls `visit(character, begin, end)` for each visible character of
// `html`, and `visit(U' ', ...)` where white space or a tag separates two
// runs of text.
template <typename Visit>
void ForEachVisible(std::u16string_view html, std::span<const PageToken> tokens,
                    const Visit& visit) {
  std::size_t previous_end = std::u16string_view::npos;
  for (const PageToken& token : tokens) {
    if (token.kind != PageToken::Kind::kText) continue;
    if (previous_end != std::u16string_view::npos) {
      visit(U' ', previous_end, token.begin);
    }
    const std::u16string_view text = html.substr(0, token.end);
    for (std::size_t at = token.begin; at < token.end;) {
      const std::size_t begin = at;
      // The characters of a reference are all visited once `at` is behind
      // it: each spans the whole reference.
      std::array<char32_t, 2> shown{};
      std::size_t count = 0;
      NextCharacter(text, at, [&](char32_t c) { shown[count++] = c; });
      for (std::size_t i = 0; i < count; ++i) visit(shown[i], begin, at);
    }
    previous_end = token.end;
  }
}

}  // namespace

std::u16string PreviewOf(std::u16string_view html, std::size_t count) {
  std::u16string out;
  std::size_t characters = 0;
  bool space = false;
  // Only the start of the piece is looked at: a few times the preview's
  // length holds it unless the piece is mostly markup.
  for (std::size_t window = 4096;; window *= 4) {
    out.clear();
    characters = 0;
    space = false;
    const std::u16string_view start = html.substr(0, window);
    ForEachVisible(start, TokenizePage(start),
                   [&](char32_t c, std::size_t, std::size_t) {
                     if (characters >= count) return;
                     if (IsWhite(c)) {
                       space = !out.empty();
                       return;
                     }
                     if (space) {
                       out += u' ';
                       ++characters;
                       space = false;
                       if (characters >= count) return;
                     }
                     Append(c, out);
                     ++characters;
                   });
    if (characters >= count || window >= html.size()) break;
  }
  return out;
}

SearchableText SearchableTextOf(std::u16string_view html) {
  return SearchableTextOf(html, TokenizePage(html));
}

SearchableText SearchableTextOf(std::u16string_view html,
                                std::span<const PageToken> tokens) {
  SearchableText out;
  ForEachVisible(html, tokens,
                 [&](char32_t c, std::size_t begin, std::size_t end) {
                   c = Searchable(c);
                   if (c == 0) return;
                   Append(c, out.text);
                   // One unit, or two for a character beyond the BMP.
                   while (out.from.size() < out.text.size()) {
                     out.from.push_back(static_cast<std::uint32_t>(begin));
                     out.to.push_back(static_cast<std::uint32_t>(end));
                   }
                 });
  return out;
}

std::u16string SearchableSnippet(std::u16string_view pasted) {
  std::u16string out;
  for (std::size_t at = 0; at < pasted.size();) {
    NextCharacter(pasted, at, [&](char32_t c) {
      c = Searchable(c);
      if (c != 0) Append(c, out);
    });
  }
  return out;
}

}  // namespace vantrel
