#include "extraction/suggest/around_text.h"

#include <algorithm>
#include <string>

#include "extraction/suggest/visible_text.h"

namespace vantrel {
namespace {

// From this many characters on, a snippet not found whole is looked for by
// its first and its last kEdge characters: a paste often differs from the
// page somewhere in the middle (a formula, an image's text, a footnote).
constexpr std::size_t kEdge = 20;

char16_t LoweredAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool IsAsciiWordUnit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= u'0' && c <= u'9');
}

}  // namespace

std::u16string KeyWord(std::u16string_view pasted) {
  std::u16string longest, current;
  for (const char16_t c : pasted) {
    if (IsAsciiWordUnit(c)) {
      current += LoweredAscii(c);
      if (current.size() > longest.size()) longest = current;
    } else {
      current.clear();
    }
  }
  return longest;
}

bool MayShow(std::u16string_view html, std::u16string_view key_word) {
  if (key_word.empty()) return true;
  const auto found =
      std::search(html.begin(), html.end(), key_word.begin(), key_word.end(),
                  [](char16_t a, char16_t b) { return LoweredAscii(a) == b; });
  return found != html.end();
}

std::optional<FoundText> FindPasted(
    const TokenizedPage& page, std::u16string_view snippet,
    const std::function<bool(const FoundText&)>& aside) {
  if (snippet.empty()) return std::nullopt;
  const SearchableText visible = SearchableTextOf(page.text, page.tokens);
  const std::u16string_view text = visible.text;
  const auto range = [&](std::size_t first, std::size_t last) {
    return FoundText{visible.from[first], visible.to[last]};
  };
  // The places in order, the first that is not aside kept, else the first.
  std::optional<FoundText> first;
  const auto take = [&](FoundText found) {
    if (!first) first = found;
    return !aside || !aside(found);
  };
  for (std::size_t at = text.find(snippet); at != std::u16string_view::npos;
       at = text.find(snippet, at + 1)) {
    if (const FoundText found = range(at, at + snippet.size() - 1);
        take(found)) {
      return found;
    }
  }
  if (first || snippet.size() < 2 * kEdge) return first;
  const std::u16string_view head_text = snippet.substr(0, kEdge);
  const std::u16string_view tail_text = snippet.substr(snippet.size() - kEdge);
  for (std::size_t head = text.find(head_text);
       head != std::u16string_view::npos;
       head = text.find(head_text, head + 1)) {
    const std::size_t tail = text.find(tail_text, head + kEdge);
    if (tail == std::u16string_view::npos) break;
    if (const FoundText found = range(head, tail + kEdge - 1); take(found)) {
      return found;
    }
  }
  return first;
}

std::vector<PagePlace> ElementsHolding(const TokenizedPage& page,
                                       FoundText found) {
  const std::u16string_view text = page.text;
  struct Open {
    std::u16string name;
    const PageToken* tag;
  };
  std::vector<Open> open;
  std::vector<PagePlace> holding;
  for (const PageToken& token : page.tokens) {
    if (token.kind != PageToken::Kind::kTag) continue;
    bool closing = false;
    std::u16string name =
        TagName(text.substr(token.begin, token.end - token.begin), closing);
    if (name.empty()) continue;
    if (!closing) {
      open.push_back({std::move(name), &token});
      continue;
    }
    // An end tag closes its element and any left open inside it.
    auto match = std::find_if(open.rbegin(), open.rend(),
                              [&](const Open& o) { return o.name == name; });
    if (match == open.rend()) continue;
    const PageToken& start = *match->tag;
    if (start.end <= found.begin && token.begin >= found.end) {
      holding.push_back(
          {&page, start.begin, start.end, token.begin, token.end});
    }
    open.erase(std::next(match).base(), open.end());
  }
  std::sort(
      holding.begin(), holding.end(),
      [](const PagePlace& a, const PagePlace& b) { return a.start > b.start; });
  return holding;
}

}  // namespace vantrel
