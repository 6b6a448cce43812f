#include "extraction/suggest/landmarks.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

#include "extraction/suggest/suggestion_messages.h"

namespace vantrel {
namespace {

// Class and id values that name the content, as whole tokens.
constexpr std::array<std::u16string_view, 14> kContentWords{
    u"content",       u"main-content",   u"maincontent",  u"main_content",
    u"main",          u"body",           u"document",     u"page-content",
    u"post-content",  u"entry-content",  u"article-body", u"post-body",
    u"markdown-body", u"article-content"};

// What a start tag marks, each as a key (the same key on every page is the
// same landmark) and what to tell the user.
struct Mark {
  std::u16string key;
  std::u16string basis;
};

std::vector<Mark> MarksOf(std::u16string_view tag, std::u16string_view name) {
  std::vector<Mark> marks;
  if (name == u"main") marks.push_back({u"main", std::u16string(kBasisMain)});
  if (name == u"article") {
    marks.push_back({u"article", std::u16string(kBasisArticle)});
  }
  const auto role = AttributeValue(tag, u"role");
  if (role && *role == u"main") {
    marks.push_back({u"role", std::u16string(kBasisRoleMain)});
  }
  for (const std::u16string_view attribute : {u"id", u"class"}) {
    const auto value = AttributeValue(tag, attribute);
    if (!value) continue;
    for (std::size_t at = 0; at < value->size();) {
      const std::size_t end = std::min(value->find(u' ', at), value->size());
      const std::u16string_view word =
          std::u16string_view(*value).substr(at, end - at);
      if (std::find(kContentWords.begin(), kContentWords.end(), word) !=
          kContentWords.end()) {
        marks.push_back(
            {std::u16string(attribute) + u" " + std::u16string(word),
             std::u16string(kBasisElementOf) + std::u16string(attribute) +
                 u" \"" + std::u16string(word) + u"\""});
      }
      at = end + 1;
    }
  }
  return marks;
}

// The token that ends the element whose start tag is token `open`, or
// nothing.
std::optional<std::size_t> ElementEnd(const TokenizedPage& page,
                                      std::size_t open,
                                      std::u16string_view name) {
  std::size_t depth = 0;
  for (std::size_t t = open; t < page.tokens.size(); ++t) {
    const PageToken& token = page.tokens[t];
    if (token.kind != PageToken::Kind::kTag) continue;
    bool closing = false;
    const std::u16string other =
        TagName(std::u16string_view(page.text).substr(token.begin,
                                                      token.end - token.begin),
                closing);
    if (other != name) continue;
    if (!closing) {
      ++depth;
    } else if (--depth == 0) {
      return t;
    }
  }
  return std::nullopt;
}

// Whether a tag opens or closes an element whose content can hold text:
// not a void element, a self-closed tag, a comment or a declaration.
bool Encloses(std::u16string_view tag, const std::u16string& name) {
  static constexpr std::array<std::u16string_view, 14> kVoid{
      u"area",  u"base", u"br",   u"col",    u"embed", u"hr",  u"img",
      u"input", u"link", u"meta", u"source", u"track", u"wbr", u"param"};
  if (name.empty() || !((name[0] >= u'a' && name[0] <= u'z') ||
                        (name[0] >= u'A' && name[0] <= u'Z'))) {
    return false;
  }
  if (tag.size() >= 2 && tag[tag.size() - 2] == u'/') return false;
  return std::find(kVoid.begin(), kVoid.end(), name) == kVoid.end();
}

// The text tokens beside the element of tokens [open, close] among its
// siblings: in its parent element itself, or in a sibling element's own
// text (a title heading and a byline beside an article's text), not deeper
// (a page header's heading, inside a header element of its own).
std::vector<bool> SiblingTexts(const TokenizedPage& page, std::size_t open,
                               std::size_t close) {
  std::vector<bool> beside(page.tokens.size(), false);
  const std::u16string_view text = page.text;
  const auto step = [&](std::size_t t, int& depth, bool back) {
    const PageToken& token = page.tokens[t];
    if (token.kind == PageToken::Kind::kText) {
      beside[t] = depth <= 1;
      return true;
    }
    const std::u16string_view tag =
        text.substr(token.begin, token.end - token.begin);
    bool closing = false;
    const std::u16string name = TagName(tag, closing);
    if (!Encloses(tag, name)) return true;
    // Back, an end tag goes in and a start tag out; forward the other way.
    if (closing == back) {
      ++depth;
      return true;
    }
    return depth-- > 0;  // the parent's own tag ends the walk
  };
  int depth = 0;
  for (std::size_t t = open; t-- > 0 && step(t, depth, true);) {
  }
  depth = 0;
  for (std::size_t t = close + 1;
       t < page.tokens.size() && step(t, depth, false); ++t) {
  }
  return beside;
}

}  // namespace

std::vector<Landmark> FindLandmarks(const std::vector<TokenizedPage>& sample,
                                    const std::vector<std::size_t>& group,
                                    const std::vector<PagePlace>& content) {
  // Each mark's start tags on each page, and its basis.
  struct Found {
    std::u16string basis;
    std::vector<std::size_t> open;  // per page; SIZE_MAX: twice or more
  };
  constexpr std::size_t kTwice = SIZE_MAX;
  std::unordered_map<std::u16string, Found> found;
  for (std::size_t j = 0; j < group.size(); ++j) {
    const TokenizedPage& page = sample[group[j]];
    for (std::size_t t = 0; t < page.tokens.size(); ++t) {
      const PageToken& token = page.tokens[t];
      if (token.kind != PageToken::Kind::kTag) continue;
      const std::u16string_view tag = std::u16string_view(page.text).substr(
          token.begin, token.end - token.begin);
      bool closing = false;
      const std::u16string name = TagName(tag, closing);
      if (name.empty() || closing) continue;
      for (Mark& mark : MarksOf(tag, name)) {
        Found& of = found[mark.key];
        if (of.open.empty()) {
          of.basis = std::move(mark.basis);
          of.open.assign(group.size(), kTwice - 1);
        }
        of.open[j] = of.open[j] == kTwice - 1 ? t : kTwice;
      }
    }
  }
  // How many of the group's pages each text stands on: one that stands on
  // most is the template's.
  std::unordered_map<std::uint64_t, std::size_t> pages_with;
  for (const std::size_t i : group) {
    std::vector<std::uint64_t> keys;
    for (const PageToken& token : sample[i].tokens) {
      if (token.kind == PageToken::Kind::kText) keys.push_back(token.key);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const std::uint64_t key : keys) ++pages_with[key];
  }
  const double pages = static_cast<double>(group.size());
  std::vector<Landmark> landmarks;
  std::vector<std::uint64_t> words;
  for (auto& [key, of] : found) {
    Landmark landmark;
    landmark.basis = of.basis;
    std::vector<std::vector<bool>> siblings;
    for (std::size_t j = 0; j < group.size(); ++j) {
      if (of.open[j] >= kTwice - 1) break;
      const TokenizedPage& page = sample[group[j]];
      const PageToken& open = page.tokens[of.open[j]];
      bool closing = false;
      const std::u16string name =
          TagName(std::u16string_view(page.text).substr(open.begin,
                                                        open.end - open.begin),
                  closing);
      const auto end = ElementEnd(page, of.open[j], name);
      if (!end) break;
      const PageToken& close = page.tokens[*end];
      landmark.places.push_back(
          {&page, open.begin, open.end, close.begin, close.end});
      siblings.push_back(SiblingTexts(page, of.open[j], *end));
    }
    if (landmark.places.size() != group.size()) continue;
    // Its words beside the content's, page by page.
    for (std::size_t j = 0; j < group.size(); ++j) {
      const PagePlace& in = landmark.places[j];
      const PagePlace& own = content[j];
      // Whether a text of the page's own, outside links, has stood in the
      // landmark yet: template text that follows it before the content
      // (the labels of an info box under the page's name line) is the
      // content's own form, where template text that opens the landmark
      // (a menu, a breadcrumb) is not.
      bool own_seen = false;
      bool missing = false;
      for (std::size_t t = 0; t < in.page->tokens.size(); ++t) {
        const PageToken& token = in.page->tokens[t];
        if (token.kind != PageToken::Kind::kText) continue;
        words.clear();
        AppendWords(std::u16string_view(in.page->text)
                        .substr(token.begin, token.end - token.begin),
                    words);
        const double count = static_cast<double>(words.size());
        const bool inside = token.begin >= in.start && token.end <= in.end;
        const bool in_content =
            token.begin >= own.start && token.end <= own.end;
        const bool common =
            token.aside || 2 * pages_with[token.key] > group.size();
        const bool opening = token.end <= own.start && !own_seen;
        if (inside && !common && !token.link && count > 0) own_seen = true;
        if (inside && !in_content && token.aside) {
          landmark.aside_words += count;
        } else if (inside && !in_content && common &&
                   (opening || token.begin >= own.end)) {
          landmark.template_words += count;
        }
        if (in_content && !common) {
          landmark.own_words += count;
          if (!inside) landmark.missed_words += count;
          if (!inside && count > 0 && siblings[j][t]) missing = true;
        }
      }
      if (missing) landmark.missing_pages += 1;
    }
    landmark.aside_words /= pages;
    landmark.template_words /= pages;
    landmark.missed_words /= pages;
    landmark.own_words /= pages;
    landmark.missing_pages /= pages;
    landmarks.push_back(std::move(landmark));
  }
  // Widest first, so that a main element around an article, with the
  // page's title, comes before it; then in their order of basis, so that
  // the order is the same on every run.
  std::sort(landmarks.begin(), landmarks.end(),
            [](const Landmark& a, const Landmark& b) {
              const std::size_t wa = a.places[0].end - a.places[0].start;
              const std::size_t wb = b.places[0].end - b.places[0].start;
              if (wa != wb) return wa > wb;
              return a.basis < b.basis;
            });
  return landmarks;
}

std::optional<std::vector<PagePlace>> EndMovedIn(const Landmark& landmark,
                                                 std::size_t tags) {
  std::vector<PagePlace> places = landmark.places;
  for (PagePlace& place : places) {
    const std::vector<PageToken>& tokens = place.page->tokens;
    // The landmark's end tag, then the tokens before it.
    auto token = std::lower_bound(
        tokens.begin(), tokens.end(), place.end,
        [](const PageToken& t, std::size_t at) { return t.begin < at; });
    for (std::size_t n = 0; n < tags; ++n) {
      if (token == tokens.begin()) return std::nullopt;
      --token;
      if (token->kind != PageToken::Kind::kTag || token->begin < place.start) {
        return std::nullopt;
      }
    }
    place.end = token->begin;
  }
  return places;
}

bool HoldsContent(const Landmark& landmark) {
  // A few words of the template (a "Contents" heading, a permalink's sign,
  // the names of a reference page's sections) may stand in the content; a
  // sidebar or a menu beside it may not, however long the content.
  constexpr double kFewTemplateWords = 8;
  constexpr double kTemplateShare = 0.02;
  constexpr double kFewAsideWords = 2;
  constexpr double kMissedShare = 0.02;
  // Words of the pages' own that most pages have beside it (the title and
  // byline above an article's text) are part of the content it leaves out,
  // however few beside a long text.
  return landmark.own_words > 0 &&
         landmark.missed_words <= kMissedShare * landmark.own_words &&
         2 * landmark.missing_pages <= 1 &&
         landmark.aside_words <= kFewAsideWords &&
         landmark.template_words <=
             std::max(kFewTemplateWords, kTemplateShare * landmark.own_words);
}

}  // namespace vantrel
