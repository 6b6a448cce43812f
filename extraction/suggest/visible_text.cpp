#include "extraction/suggest/visible_text.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <array>
#include <utility>

#include "extraction/suggest/page_tokens.h"

namespace vantrel {
namespace {

// Named entities beyond the five of XML that documentation pages use; an
// unknown one is shown as it stands, as browsers show it.
constexpr std::array<std::pair<std::u16string_view, char32_t>, 28> kEntities{{
    {u"amp", U'&'},        {u"lt", U'<'},         {u"gt", U'>'},
    {u"quot", U'"'},       {u"apos", U'\''},      {u"nbsp", U'\u00A0'},
    {u"mdash", U'\u2014'}, {u"ndash", U'\u2013'}, {u"hellip", U'\u2026'},
    {u"copy", U'\u00A9'},  {u"reg", U'\u00AE'},   {u"trade", U'\u2122'},
    {u"laquo", U'\u00AB'}, {u"raquo", U'\u00BB'}, {u"lsquo", U'\u2018'},
    {u"rsquo", U'\u2019'}, {u"ldquo", U'\u201C'}, {u"rdquo", U'\u201D'},
    {u"para", U'\u00B6'},  {u"sect", U'\u00A7'},  {u"middot", U'\u00B7'},
    {u"bull", U'\u2022'},  {u"times", U'\u00D7'}, {u"euro", U'\u20AC'},
    {u"shy", U'\u00AD'},   {u"larr", U'\u2190'},  {u"rarr", U'\u2192'},
    {u"deg", U'\u00B0'},
}};

bool IsWhite(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\f' ||
         u_isUWhiteSpace(static_cast<UChar32>(c));
}

// The character at `at` of `text` (an entity decoded), and the index
// behind it.
char32_t NextCharacter(std::u16string_view text, std::size_t& at) {
  if (text[at] == u'&') {
    const std::size_t semicolon = text.find(u';', at + 1);
    if (semicolon != std::u16string_view::npos && semicolon - at <= 10) {
      const std::u16string_view name = text.substr(at + 1, semicolon - at - 1);
      char32_t value = 0;
      if (name.size() >= 2 && name[0] == u'#') {
        const bool hex = name[1] == u'x' || name[1] == u'X';
        for (const char16_t c : name.substr(hex ? 2 : 1)) {
          int digit = -1;
          if (c >= u'0' && c <= u'9') digit = c - u'0';
          if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
          if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
          if (digit < 0 || value > 0x10FFFF) {
            value = 0;
            break;
          }
          value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        }
        if (value > 0x10FFFF) value = 0;
      } else {
        for (const auto& [entity, character] : kEntities) {
          if (entity == name) value = character;
        }
      }
      if (value != 0) {
        at = semicolon + 1;
        return value;
      }
    }
  }
  UChar32 c;
  U16_NEXT(text.data(), at, text.size(), c);
  return static_cast<char32_t>(c);
}

void Append(char32_t c, std::u16string& out) {
  if (c > 0xFFFF) {
    out += static_cast<char16_t>(U16_LEAD(c));
    out += static_cast<char16_t>(U16_TRAIL(c));
  } else {
    out += static_cast<char16_t>(c);
  }
}

char32_t Folded(char32_t c) {
  return static_cast<char32_t>(
      u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// Calls `visit(character, begin, end)` for each visible character of
// `html`, and `visit(U' ', ...)` where white space or a tag separates two
// runs of text.
template <typename Visit>
void ForEachVisible(std::u16string_view html, const Visit& visit) {
  std::size_t previous_end = std::u16string_view::npos;
  for (const PageToken& token : TokenizePage(html)) {
    if (token.kind != PageToken::Kind::kText) continue;
    if (previous_end != std::u16string_view::npos) {
      visit(U' ', previous_end, token.begin);
    }
    for (std::size_t at = token.begin; at < token.end;) {
      const std::size_t begin = at;
      const char32_t c = NextCharacter(html.substr(0, token.end), at);
      visit(c, begin, at);
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
    ForEachVisible(html.substr(0, window),
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
  SearchableText out;
  ForEachVisible(html, [&](char32_t c, std::size_t begin, std::size_t end) {
    if (IsWhite(c)) return;
    Append(Folded(c), out.text);
    out.from.resize(out.text.size(), static_cast<std::uint32_t>(begin));
    out.to.resize(out.text.size(), static_cast<std::uint32_t>(end));
  });
  return out;
}

std::u16string SearchableSnippet(std::u16string_view pasted) {
  std::u16string out;
  for (std::size_t at = 0; at < pasted.size();) {
    const char32_t c = NextCharacter(pasted, at);
    if (!IsWhite(c)) Append(Folded(c), out);
  }
  return out;
}

}  // namespace vantrel
