#include "extraction/transform/html_to_text.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/match/tag_cut.h"
#include "extraction/text/text.h"
#include "extraction/transform/html_parser.h"

namespace vantrel {
namespace {

template <std::size_t N>
bool IsOneOf(std::string_view name,
             const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements whose content a reader never sees.
constexpr std::array<std::string_view, 7> kHidden = {
    "script", "style", "template", "head", "title", "noscript", "iframe"};
// Elements set off from what surrounds them by a blank line.
constexpr std::array<std::string_view, 12> kParagraphs = {
    "p",  "h1",         "h2",  "h3",    "h4",     "h5",
    "h6", "blockquote", "pre", "table", "figure", "address"};
// Elements that begin and end a line of their own.
constexpr std::array<std::string_view, 28> kBlocks = {
    "div",     "section", "article",    "aside",    "header", "footer",
    "nav",     "main",    "li",         "tr",       "dd",     "dt",
    "dl",      "hr",      "form",       "fieldset", "legend", "details",
    "summary", "caption", "figcaption", "center",   "option", "hgroup",
    "dialog",  "menu",    "thead",      "tbody"};

bool IsHtmlSpace(char c) {
  // Most bytes are above the space: one test for them.
  return static_cast<unsigned char>(c) <= ' ' &&
         (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f');
}

// Builds the text as the walk goes. Breaks and spaces are held back until
// text follows them, so that no line begins or ends with a space and no
// blank lines begin or end the text.
class TextBuilder : public HtmlWalker {
 public:
  bool Enter(std::string_view name, std::string_view alt) override {
    if (IsOneOf(name, kHidden)) return false;
    if (name == "br") {
      if (!text_.empty()) ++breaks_;
      space_ = false;
    } else if (name == "img" && !alt.empty()) {
      // An image stands apart from the words beside it, as it does on
      // screen: two logos side by side are two names, not one word.
      space_ = true;
      Text(alt);
      space_ = true;
    } else if (name == "td" || name == "th") {
      if (!cells_.empty() && cells_.back()++ > 0) Put("\t");
    } else if (name == "tr") {
      cells_.push_back(0);
    }
    if (name == "ul" || name == "ol") {
      Break(lists_ == 0 ? 2 : 1);
      ++lists_;
    } else if (IsOneOf(name, kParagraphs)) {
      Break(2);
    } else if (IsOneOf(name, kBlocks)) {
      Break(1);
    }
    if (name == "pre") ++pre_;
    if (name == "li") {
      // A nested list's items stand two spaces further in per level.
      const int level = std::max(lists_, 1) - 1;
      indent_.assign(static_cast<std::size_t>(2 * level), ' ');
      indent_ += '-';
      Put(indent_);
      space_ = true;
    }
    return true;
  }

  void Leave(std::string_view name) override {
    if (name == "pre") --pre_;
    if (name == "tr" && !cells_.empty()) cells_.pop_back();
    if (name == "ul" || name == "ol") {
      --lists_;
      Break(lists_ == 0 ? 2 : 1);
    } else if (IsOneOf(name, kParagraphs)) {
      Break(2);
    } else if (IsOneOf(name, kBlocks)) {
      Break(1);
    }
  }

  void Text(std::string_view text) override {
    if (pre_ > 0) {
      if (!text.empty()) Put(text);
      return;
    }
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
      const char* const word = at;
      while (at != end && !IsHtmlSpace(*at)) ++at;
      if (at != word) Put({word, static_cast<std::size_t>(at - word)});
      if (at != end) space_ = true;
      while (at != end && IsHtmlSpace(*at)) ++at;
    }
  }

  // Writes the text into `out` from now on.
  explicit TextBuilder(std::string& out) : text_(out) {}

 private:
  // Asks for the next text to begin `lines` lines further down: 1 a new
  // line, 2 after a blank line.
  void Break(int lines) {
    breaks_ = std::max(breaks_, lines);
    space_ = false;
  }

  // Appends `text` after the breaks or the space held back.
  void Put(std::string_view text) {
    if (!text_.empty()) {
      if (breaks_ > 0) {
        text_.append(static_cast<std::size_t>(breaks_), '\n');
      } else if (space_ && text_.back() != '\n' && text_.back() != '\t') {
        text_.push_back(' ');
      }
    }
    breaks_ = 0;
    space_ = false;
    text_.append(text);
  }

  std::string& text_;
  int breaks_ = 0;
  bool space_ = false;
  int pre_ = 0;
  int lists_ = 0;
  std::string indent_;  // a list item's mark, kept for its memory
  // Per open table row, the number of cells met in it so far.
  std::vector<int> cells_;
};

bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), IsHtmlSpace);
}

// Drops the blank lines (white space only) that begin and end `text`, which
// only pre can leave there, so that pieces set off by one blank line are
// set off by exactly one.
void TrimBlankLines(std::string& text) {
  std::size_t end = text.size();
  while (true) {
    const std::size_t line = text.rfind('\n', end == 0 ? 0 : end - 1);
    const std::size_t from = line == std::string::npos ? 0 : line + 1;
    if (!IsBlankLine(std::string_view(text).substr(from, end - from))) break;
    end = line == std::string::npos ? 0 : line;
    if (end == 0) break;
  }
  text.resize(end);
  std::size_t begin = 0;
  while (true) {
    const std::size_t line = text.find('\n', begin);
    if (line == std::string::npos ||
        !IsBlankLine(std::string_view(text).substr(begin, line - begin))) {
      break;
    }
    begin = line + 1;
  }
  text.erase(0, begin);
}

}  // namespace

void HtmlToTextInto(std::string_view html, std::string& text,
                    TagCut begins_in) {
  text.clear();
  // The text is rarely longer than its HTML: one block for it.
  text.reserve(html.size());
  TextBuilder builder(text);
  WalkHtmlFragment(html.substr(CutTagLength(html, begins_in)), builder);
  TrimBlankLines(text);
}

std::string HtmlToText(std::string_view html, TagCut begins_in) {
  std::string text;
  HtmlToTextInto(html, text, begins_in);
  return text;
}

Piece HtmlToTextTransform::Apply(const Piece& piece,
                                 PieceScratch& scratch) const {
  std::string decoded;  // the HTML, unless it comes as UTF-8
  if (!piece.utf8) AppendTextAsUtf8(piece.text, decoded);
  HtmlToTextInto(piece.utf8 ? *piece.utf8 : decoded, scratch.bytes,
                 piece.tag_cut);
  // Gumbo writes well-formed UTF-8; should a character it lets through not
  // be, the text is decoded as any other UTF-8 would be.
  if (IsWellFormedUtf8(scratch.bytes)) return Piece::Utf8(scratch.bytes);
  scratch.text = Utf8ToText(scratch.bytes);
  return Piece(scratch.text);
}

}  // namespace vantrel
