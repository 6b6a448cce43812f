#include "extraction/transform/character_references.h"

#include "extraction/transform/html_parser.h"

namespace vantrel {
namespace {

// Keeps the texts of a walk, whatever elements stand around them.
class TextKeeper final : public HtmlWalker {
 public:
  explicit TextKeeper(std::string& text) : text_(text) {}
  bool Enter(std::string_view, std::string_view) override { return true; }
  void Leave(std::string_view) override {}
  void Text(std::string_view text) override { text_ += text; }

 private:
  std::string& text_;
};

}  // namespace

std::string DecodeCharacterReferences(std::string_view utf8) {
  std::string text;
  TextKeeper keeper(text);
  WalkHtmlFragment(utf8, keeper);
  return text;
}

}  // namespace vantrel
