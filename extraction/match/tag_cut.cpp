#include "extraction/match/tag_cut.h"

namespace vantrel {
namespace {

bool IsAsciiLetter(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHtmlSpace(char32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Reads a tag or comment one unit at a time, from a known place in it.
class TagReader {
 public:
  explicit TagReader(TagCut state) : state_(state) {}

  TagCut state() const { return state_; }

  // Reads `c`; true when it ends the tag or comment.
  bool Read(char32_t c) {
    switch (state_) {
      case TagCut::kNone:
        return true;
      case TagCut::kInComment:
        if (c == '>' && dashes_ >= 2) return Close();
        dashes_ = c == '-' ? dashes_ + 1 : 0;
        return false;
      case TagCut::kInDoubleQuote:
        if (c == '"') state_ = TagCut::kInTag;
        return false;
      case TagCut::kInSingleQuote:
        if (c == '\'') state_ = TagCut::kInTag;
        return false;
      case TagCut::kAfterEquals:
        if (IsHtmlSpace(c)) return false;
        if (c == '"') {
          state_ = TagCut::kInDoubleQuote;
          return false;
        }
        if (c == '\'') {
          state_ = TagCut::kInSingleQuote;
          return false;
        }
        state_ = TagCut::kInTag;
        [[fallthrough]];
      case TagCut::kInTag:
        if (c == '>') return Close();
        if (c == '=') state_ = TagCut::kAfterEquals;
        return false;
    }
    return false;
  }

 private:
  bool Close() {
    state_ = TagCut::kNone;
    return true;
  }

  TagCut state_;
  int dashes_ = 0;  // in a comment, the "-" just read in a row
};

template <typename Char>
TagCut TagCutIn(std::basic_string_view<Char> text, std::size_t at) {
  // The last "<" before the cut that begins a tag; the unit at the cut
  // may tell, when the "<" is the last before it.
  std::size_t open = at;
  while (true) {
    if (open == 0) return TagCut::kNone;
    open = text.substr(0, open).rfind(Char{'<'});
    if (open == std::basic_string_view<Char>::npos) return TagCut::kNone;
    if (open + 1 == text.size()) continue;
    const char32_t next = text[open + 1];
    if (IsAsciiLetter(next) || next == '/' || next == '!' || next == '?') {
      break;
    }
  }
  const std::basic_string_view<Char> tag = text.substr(open, at - open);
  std::size_t from = 1;
  TagCut state = TagCut::kInTag;
  if (tag.size() >= 4 && tag[1] == '!' && tag[2] == '-' && tag[3] == '-') {
    from = 4;
    state = TagCut::kInComment;
  }
  TagReader reader(state);
  for (std::size_t i = from; i < tag.size(); ++i) {
    if (reader.Read(tag[i])) return TagCut::kNone;
  }
  return reader.state();
}

template <typename Char>
std::size_t CutTagIn(std::basic_string_view<Char> piece, TagCut cut) {
  if (cut == TagCut::kNone) return 0;
  TagReader reader(cut);
  for (std::size_t i = 0; i < piece.size(); ++i) {
    if (reader.Read(piece[i])) return i + 1;
  }
  return piece.size();
}

}  // namespace

TagCut TagCutAt(std::string_view text, std::size_t at) {
  return TagCutIn(text, at);
}
TagCut TagCutAt(std::u16string_view text, std::size_t at) {
  return TagCutIn(text, at);
}

std::size_t CutTagLength(std::string_view piece, TagCut cut) {
  return CutTagIn(piece, cut);
}
std::size_t CutTagLength(std::u16string_view piece, TagCut cut) {
  return CutTagIn(piece, cut);
}

}  // namespace vantrel
