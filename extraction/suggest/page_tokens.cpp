#include "extraction/suggest/page_tokens.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

namespace vantrel {
namespace {

constexpr std::uint64_t kHashStart = 1469598103934665603ull;

std::uint64_t Mix(std::uint64_t hash, char16_t unit) {
  return (hash ^ unit) * 1099511628211ull;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

// The key of a token's text: digit runs count as one digit, white space
// runs as one space, white space at either end not at all.
std::uint64_t KeyOf(std::u16string_view text) {
  std::uint64_t hash = kHashStart;
  bool digits = false, space = false, started = false;
  for (const char16_t c : text) {
    if (IsSpace(c)) {
      space = started;
      digits = false;
      continue;
    }
    if (space) hash = Mix(hash, u' ');
    space = false;
    started = true;
    if (IsDigit(c)) {
      if (!digits) hash = Mix(hash, u'0');
      digits = true;
      continue;
    }
    digits = false;
    hash = Mix(hash, c);
  }
  return hash;
}

bool StartsTag(std::u16string_view text, std::size_t at) {
  if (at + 1 >= text.size() || text[at] != u'<') return false;
  const char16_t next = text[at + 1];
  return next == u'/' || next == u'!' || next == u'?' ||
         (next < 0x80 && u_isalpha(next));
}

// Whether `text` is `lower` with ASCII letters in any case.
bool SameLowered(std::u16string_view text, std::u16string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c != lower[i]) return false;
  }
  return true;
}

// Whether the tag [begin, end) opens a script or a style, whose content is
// no markup.
bool OpensRawText(std::u16string_view tag) {
  for (const std::u16string_view name : {u"<script", u"<style"}) {
    if (tag.size() > name.size() &&
        SameLowered(tag.substr(0, name.size()), name)) {
      const char16_t after = tag[name.size()];
      if (after == u'>' || IsSpace(after) || after == u'/') return true;
    }
  }
  return false;
}

// Elements that have no end tag.
constexpr std::array<std::u16string_view, 14> kVoid{
    u"area",  u"base", u"br",   u"col",   u"embed",  u"hr",    u"img",
    u"input", u"link", u"meta", u"param", u"source", u"track", u"wbr"};

// Class and id words that name a region beside the content. A word counts
// whole, or as a part between hyphens or underscores ("site-nav",
// "comment_list"), never inside another word: "navigator" or "menuitem"
// says nothing, nor does "sidebar-visible" on the root, which is a state.
constexpr std::array<std::u16string_view, 16> kAsideWords{
    u"nav",           u"navbar",     u"navigation",  u"navheader",
    u"navfooter",     u"sidebar",    u"menu",        u"menubar",
    u"related",       u"comment",    u"comments",    u"footer",
    u"sphinxsidebar", u"breadcrumb", u"breadcrumbs", u"sphinxsidebarwrapper"};

bool IsAsideWord(std::u16string_view word) {
  return std::find(kAsideWords.begin(), kAsideWords.end(), word) !=
         kAsideWords.end();
}

// Whether a class or id value holds an aside word as a whole token, or as
// a part of one.
bool NamesAside(std::u16string_view value) {
  for (std::size_t at = 0; at < value.size();) {
    const std::size_t end = std::min(value.find(u' ', at), value.size());
    const std::u16string_view token = value.substr(at, end - at);
    if (IsAsideWord(token)) return true;
    for (std::size_t part = 0; part < token.size();) {
      const std::size_t stop =
          std::min(token.find_first_of(u"-_", part), token.size());
      if (IsAsideWord(token.substr(part, stop - part))) return true;
      part = stop + 1;
    }
    at = end + 1;
  }
  return false;
}

// Whether a start tag opens the page's main element: a main element, or
// one whose role is main.
bool OpensMain(std::u16string_view tag, std::u16string_view name) {
  if (name == u"main") return true;
  const auto role = AttributeValue(tag, u"role");
  return role && *role == u"main";
}

// Whether a start tag opens an element beside the content. A page's title
// shows in a window's or tab's bar, not on the page. The root and the body
// hold everything, content too: their classes describe the page, not a
// region of it.
bool OpensAside(std::u16string_view tag, std::u16string_view name) {
  if (name == u"nav" || name == u"aside" || name == u"footer" ||
      name == u"title") {
    return true;
  }
  if (name == u"html" || name == u"body") return false;
  if (const auto role = AttributeValue(tag, u"role")) {
    if (*role == u"navigation" || *role == u"complementary" ||
        *role == u"contentinfo") {
      return true;
    }
  }
  for (const std::u16string_view attribute : {u"class", u"id"}) {
    const auto value = AttributeValue(tag, attribute);
    if (value && NamesAside(*value)) return true;
  }
  return false;
}

}  // namespace

std::optional<std::u16string> AttributeValue(std::u16string_view tag,
                                             std::u16string_view name) {
  for (std::size_t at = 1; at + name.size() + 2 <= tag.size(); ++at) {
    if (!IsSpace(tag[at - 1]) ||
        !SameLowered(tag.substr(at, name.size()), name) ||
        tag[at + name.size()] != u'=') {
      continue;
    }
    const char16_t quote = tag[at + name.size() + 1];
    if (quote != u'"' && quote != u'\'') continue;
    const std::size_t from = at + name.size() + 2;
    std::size_t close = tag.find(quote, from);
    if (close == std::u16string_view::npos) close = tag.size();
    std::u16string value;
    for (std::size_t i = from; i < close; ++i) {
      const char16_t c = tag[i];
      value += c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    }
    return value;
  }
  return std::nullopt;
}

std::u16string TagName(std::u16string_view tag, bool& closing) {
  closing = tag.size() > 1 && tag[1] == u'/';
  std::u16string name;
  for (std::size_t i = closing ? 2 : 1; i < tag.size(); ++i) {
    char16_t c = tag[i];
    const bool name_unit = (c >= u'a' && c <= u'z') ||
                           (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u':';
    if (!name_unit) break;
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    name += c;
  }
  if (!closing && tag.ends_with(u"/>")) name.clear();
  if (std::find(kVoid.begin(), kVoid.end(), name) != kVoid.end()) name.clear();
  return name;
}

std::size_t TagEnd(std::u16string_view text, std::size_t at) {
  if (!StartsTag(text, at)) return std::u16string_view::npos;
  if (text.substr(at, 4) == u"<!--") {
    const std::size_t close = text.find(u"-->", at + 4);
    return close == std::u16string_view::npos ? text.size() : close + 3;
  }
  const std::size_t close = text.find(u'>', at + 1);
  return close == std::u16string_view::npos ? text.size() : close + 1;
}

std::vector<PageToken> TokenizePage(std::u16string_view text) {
  std::vector<PageToken> tokens;
  tokens.reserve(text.size() / 16);
  bool link = false;
  // The open elements, and how many of them are beside the content.
  std::vector<std::pair<std::u16string, bool>> open;
  std::size_t asides = 0;
  const auto add_text = [&](std::size_t begin, std::size_t end,
                            PageToken::Kind kind) {
    std::size_t b = begin, e = end;
    while (b < e && IsSpace(text[b])) ++b;
    while (e > b && IsSpace(text[e - 1])) --e;
    if (b == e) return;
    tokens.push_back({static_cast<std::uint32_t>(b),
                      static_cast<std::uint32_t>(e), kind, link, asides > 0,
                      KeyOf(text.substr(b, e - b))});
  };
  std::size_t at = 0, text_begin = 0;
  while (at < text.size()) {
    const std::size_t next = text.find(u'<', at);
    if (next == std::u16string_view::npos) break;
    const std::size_t end = TagEnd(text, next);
    if (end == std::u16string_view::npos) {
      at = next + 1;
      continue;
    }
    add_text(text_begin, next, PageToken::Kind::kText);
    const std::u16string_view tag = text.substr(next, end - next);
    tokens.push_back({static_cast<std::uint32_t>(next),
                      static_cast<std::uint32_t>(end), PageToken::Kind::kTag,
                      false, false, KeyOf(tag)});
    at = text_begin = end;
    if (SameLowered(tag.substr(0, 2), u"<a") && tag.size() > 2 &&
        (tag[2] == u'>' || IsSpace(tag[2]))) {
      link = true;
    } else if (SameLowered(tag.substr(0, 3), u"</a") && tag.size() > 3 &&
               (tag[3] == u'>' || IsSpace(tag[3]))) {
      link = false;
    }
    bool closing = false;
    std::u16string name = TagName(tag, closing);
    if (!name.empty() && !closing) {
      bool aside = OpensAside(tag, name);
      if (OpensMain(tag, name)) {
        // The page's main element is not beside the content, nor is any
        // element around it, whatever its class says ("wy-nav-content",
        // the part of a page beside its menu).
        for (auto& element : open) element.second = false;
        asides = 0;
        aside = false;
      }
      asides += aside;
      open.emplace_back(std::move(name), aside);
    } else if (!name.empty()) {
      // An end tag closes its element and any left open inside it.
      const auto match = std::find_if(
          open.rbegin(), open.rend(),
          [&](const auto& element) { return element.first == name; });
      if (match != open.rend()) {
        for (auto element = open.rbegin(); element != std::next(match);
             ++element) {
          asides -= element->second;
        }
        open.erase(std::next(match).base(), open.end());
      }
    }
    if (OpensRawText(tag)) {
      // Everything up to the closing tag is the script's or style's.
      const bool script = SameLowered(tag.substr(0, 7), u"<script");
      const std::u16string_view close = script ? u"</script" : u"</style";
      std::size_t close_at = at;
      for (;; ++close_at) {
        close_at = text.find(u"</", close_at);
        if (close_at == std::u16string_view::npos ||
            SameLowered(text.substr(close_at, close.size()), close)) {
          break;
        }
      }
      if (close_at == std::u16string_view::npos) close_at = text.size();
      add_text(at, close_at, PageToken::Kind::kHidden);
      at = text_begin = close_at;
    }
  }
  add_text(text_begin, text.size(), PageToken::Kind::kText);
  // The sample keeps every page's tokens while it is compared; what the
  // vector grew beyond its tokens would stay with them.
  tokens.shrink_to_fit();
  return tokens;
}

void AppendWords(std::u16string_view text, std::vector<std::uint64_t>& words) {
  std::uint64_t hash = kHashStart;
  bool in_word = false;
  for (const char16_t c : text) {
    const bool word_unit =
        IsDigit(c) ||
        (c < 0x80 ? u_isalpha(c) != 0
                  : u_isalnum(c) != 0 || (c >= 0xD800 && c < 0xE000));
    if (word_unit) {
      const char16_t lowered =
          c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
      hash = Mix(hash, lowered);
      in_word = true;
    } else if (in_word) {
      words.push_back(hash);
      hash = kHashStart;
      in_word = false;
    }
  }
  if (in_word) words.push_back(hash);
}

}  // namespace vantrel
